#include "faults/modem_plug.h"

#include <algorithm>
#include <thread>

#include "simulator/wire_timing.h"

ModemPlug::ModemPlug(sim::SimulatorHost& host, int comNumber) : m_host(host), m_comNumber(comNumber)
{
}

void ModemPlug::pullOutAt(std::size_t request, Moment moment)
{
    m_request = request;
    m_moment = moment;
}

bool ModemPlug::plugBackIn()
{
    m_request = 0;
    m_due.reset();
    m_pulledOut = false;
    const auto endpoint = m_host.start(m_comNumber);
    return endpoint && endpoint->comNumber == m_comNumber;
}

void ModemPlug::sleepFor(std::chrono::milliseconds duration)
{
    if (m_pulledOut) return;
    if (m_request != 0 && !m_due) {
        // A real wait, cut short when the request arrives.
        if (!m_host.waitForRequests(m_request, duration)) return;
        m_due = Clock::now() + delayToMoment();
    }
    if (!m_due) {
        std::this_thread::sleep_for(duration);
        return;
    }
    std::this_thread::sleep_until(std::min(Clock::now() + duration, *m_due));
    if (Clock::now() < *m_due) return;
    m_host.stop();
    m_pulledOut = true;
}

// The device logs a request when it has read it, at once on a pseudo-terminal; with wire
// timing its answer starts only after the request's line time and the turnaround.
ModemPlug::Clock::duration ModemPlug::delayToMoment() const
{
    const auto requests = m_host.requests();
    if (m_moment == Moment::BeforeAnswer || requests.empty()) return Clock::duration::zero();
    const sim::LoggedRequest& last = requests.back();
    const sim::WireTiming timing;
    return std::chrono::duration_cast<Clock::duration>(
        sim::WireTiming::lineTime(last.requestBytes) + timing.turnaround() +
        sim::WireTiming::lineTime(last.answerBytes / 2));
}
