#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "serial/port_hold.h"

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

    // What Join tells the views when monitoring has ended.
    enum class EndNotice { EnableMainControls, None };

    // The start button: finds the transmitter (Retry/Cancel), then starts the worker.
    // False when the user cancelled the search. When no thread can be created, monitoring
    // still counts as on, so that the stop button ends it cleanly.
    bool Start();
    // The stop button, in two halves, so a GUI can keep serving the worker's message boxes
    // between them: RequestStop signals the worker; Join waits for it, then ends monitoring.
    // The main controls (and with them the device commands) come back only after the
    // worker has ended, so no device command can start while a cycle still runs. Owners
    // whose views are already going away join with EndNotice::None.
    void RequestStop();
    void Join(EndNotice notice = EndNotice::EnableMainControls);
    void Stop();

    bool running() const { return m_thread.joinable(); }
    // Cycles whose reads failed since the last Start.
    int failedCycles() const { return m_failedCycles; }
    // True once the worker has ended, and whenever none runs.
    bool finished() const { return m_finished; }

private:
    void Run();

    CVeskDoc& m_doc;
    std::optional<serial::PortHold> m_portHold;  // the whole of monitoring keeps the port
    CycleDone m_cycleDone;
    std::chrono::milliseconds m_period;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopRequested = false;
    std::atomic<bool> m_finished{true};
    std::atomic<int> m_failedCycles{0};
    std::thread m_thread;
};

}  // namespace document
