#include "modem_plug.h"

#include <thread>

#include "wire_timing.h"

ModemPlug::ModemPlug(sim::SimulatorHost& host, int comNumber) : m_host(host), m_comNumber(comNumber) {}

void ModemPlug::pullOutAt(std::size_t request, Moment moment)
{
    m_request = request;
    m_moment = moment;
}

bool ModemPlug::plugBackIn()
{
    m_request = 0;
    m_pulledOut = false;
    m_skipped = std::chrono::milliseconds(0);
    const auto endpoint = m_host.start(m_comNumber);
    return endpoint && endpoint->comNumber == m_comNumber;
}

void ModemPlug::sleepFor(std::chrono::milliseconds duration)
{
    if (m_pulledOut) {
        m_skipped += duration;
        return;
    }
    if (m_request == 0) {
        std::this_thread::sleep_for(duration);
        return;
    }
    // A real wait that ends early when the request arrives.
    if (!m_host.waitForRequests(m_request, duration)) return;
    waitForMoment();
    m_host.stop();
    m_pulledOut = true;
}

// The device logs a request when it has read it, at once on a pseudo-terminal; with wire
// timing its answer starts only after the request's line time and the turnaround.
void ModemPlug::waitForMoment()
{
    if (m_moment == Moment::BeforeAnswer) return;
    const auto requests = m_host.requests();
    if (requests.empty()) return;
    const sim::LoggedRequest& last = requests.back();
    const sim::WireTiming timing;
    const auto half = sim::WireTiming::lineTime(last.requestBytes) + timing.turnaround()
                      + sim::WireTiming::lineTime(last.answerBytes / 2);
    std::this_thread::sleep_for(half);
}
