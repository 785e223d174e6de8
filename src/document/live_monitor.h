#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace document {

class CVeskDoc;

// Live monitoring: a worker that waits out the period (or a stop request), runs one cycle
// of reads on the document's transmitter, then tells its owner, until stopped.
class LiveMonitor {
public:
    using CycleDone = std::function<void()>;  // called on the worker after every cycle

    static constexpr std::chrono::milliseconds kPeriod{4000};

    LiveMonitor(CVeskDoc& doc, CycleDone cycleDone, std::chrono::milliseconds period = kPeriod);
    ~LiveMonitor();

    LiveMonitor(const LiveMonitor&) = delete;
    LiveMonitor& operator=(const LiveMonitor&) = delete;

    // The start button: finds the transmitter (Retry/Cancel), then starts the worker.
    // False when the user cancelled the search.
    bool Start();
    // The stop button, in two halves, so a GUI can keep serving the worker's message boxes
    // between them: RequestStop signals the worker; Join waits for it.
    void RequestStop();
    void Join();
    void Stop();

    bool running() const { return m_thread.joinable(); }
    bool finished() const { return m_finished; }

private:
    void Run();

    CVeskDoc& m_doc;
    CycleDone m_cycleDone;
    std::chrono::milliseconds m_period;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopRequested = false;
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

}  // namespace document
