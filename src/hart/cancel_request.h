#pragma once

#include <atomic>

namespace hart {

// The cancel button of the device command that runs on this thread. The link reads it while
// it waits for an answer and between attempts, the document between transactions; a command
// that may not be cut (a send, a calibration step) never has it set.
class CancelScope {
public:
    explicit CancelScope(const std::atomic<bool>& requested);
    ~CancelScope();

    CancelScope(const CancelScope&) = delete;
    CancelScope& operator=(const CancelScope&) = delete;

private:
    const std::atomic<bool>* m_outer;
};

// True once the user has cancelled the command running on this thread.
bool CancelRequested();
// True while a command that can be cancelled runs on this thread.
bool CancelWatched();

}  // namespace hart
