#include "document/live_monitor.h"

#include <system_error>

#include "document/vesk_doc.h"

namespace document {

LiveMonitor::LiveMonitor(CVeskDoc& doc, CycleDone cycleDone, std::chrono::milliseconds period)
    : m_doc(doc), m_cycleDone(std::move(cycleDone)), m_period(period)
{
}

LiveMonitor::~LiveMonitor() { Stop(); }

bool LiveMonitor::Start()
{
    if (running()) return true;
    m_portHold.emplace(m_doc.HoldPort());
    const bool found = m_doc.FindTransmitter(false);
    m_doc.RestoreCursor();
    if (!found) {
        m_portHold.reset();
        return false;
    }
    m_doc.m_bMonitoring = 1;
    m_doc.EnableMainControls(false);
    m_stopRequested = false;
    m_finished = false;
    m_failedCycles = 0;
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // Monitoring stays on without a worker; stopping ends it.
        m_finished = true;
    }
    return true;
}

void LiveMonitor::Run()
{
    for (bool first = true;; first = false) {
        {
            std::unique_lock lock(m_mutex);
            if (m_wake.wait_for(lock, m_period, [this] { return m_stopRequested; })) break;
        }
        if (!m_doc.ReadMonitoringValues(first)) ++m_failedCycles;
        if (m_cycleDone) m_cycleDone();
    }
    m_finished = true;
}

void LiveMonitor::RequestStop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopRequested = true;
    }
    m_wake.notify_all();
}

void LiveMonitor::Join(EndNotice notice)
{
    if (m_thread.joinable()) m_thread.join();
    m_portHold.reset();
    if (!m_doc.m_bMonitoring) return;
    m_doc.m_bMonitoring = 0;
    if (notice == EndNotice::EnableMainControls) m_doc.EnableMainControls(true);
}

void LiveMonitor::Stop()
{
    RequestStop();
    Join();
}

}  // namespace document
