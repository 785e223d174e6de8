#pragma once

#include <memory>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP end the program's event loops instead of the process, so that
// what it holds is released on the way out (--demo's COM link among it), whatever the signals'
// dispositions it inherited (a shell's background job ignores SIGINT). Where no event loop
// runs, a second signal ends the program at once, and so does the grace time running out.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // A stop signal has arrived: the program ends without entering another event loop.
    bool requested() const { return m_requested; }

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_requested = false;
};
