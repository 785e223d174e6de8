#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

#include "hart/link_environment.h"
#include "simulator/simulator_host.h"

// The test's hand on the modem, and the engine's clock. Its waits are real while the modem
// is plugged in, so answers arrive, and the engine polls, as they would; it pulls the modem
// out (stops the simulated transmitter's host, which closes the pseudo-terminal and removes
// the COM link) at a chosen moment of one request's answer, at the end of the engine's wait
// that reaches it; after that every wait takes no time, so the 15-second no-answer path
// costs nothing. Plugged back in, it serves the same COM number.
class ModemPlug final : public hart::Sleeper {
public:
    enum class Moment {
        BeforeAnswer,  // as soon as the request has arrived, before any answer byte
        MidAnswer,     // when half of the answer's bytes are on the line
    };

    ModemPlug(sim::SimulatorHost& host, int comNumber);

    // Pulls the modem out at the given moment of the answer to the device's request number
    // `request`, counted from 1 since the host first started.
    void pullOutAt(std::size_t request, Moment moment);
    // False when the host could not serve the same COM number again.
    bool plugBackIn();
    bool pulledOut() const { return m_pulledOut; }

    void sleepFor(std::chrono::milliseconds duration) override;

private:
    using Clock = std::chrono::steady_clock;

    // From the request's arrival to the chosen moment.
    Clock::duration delayToMoment() const;

    sim::SimulatorHost& m_host;
    int m_comNumber;
    std::size_t m_request = 0;
    Moment m_moment = Moment::BeforeAnswer;
    std::optional<Clock::time_point> m_due;
    bool m_pulledOut = false;
};
