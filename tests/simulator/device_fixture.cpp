#include "simulator/device_fixture.h"

#include "simulator/request_parser.h"

namespace simtest {

sim::SimulatorSetup DeviceTest::Quiet()
{
    sim::SimulatorSetup setup;
    setup.process.noise = 0.0f;
    return setup;
}

sim::SimulatorSetup& DeviceTest::setup() { return m_device ? m_device->model().setup() : m_setup; }

sim::Device& DeviceTest::device()
{
    if (!m_device) m_device = std::make_unique<sim::Device>(m_setup);
    return *m_device;
}

Bytes DeviceTest::raw(const Bytes& requestBytes)
{
    sim::RequestParser parser;
    Bytes out;
    for (std::uint8_t byte : requestBytes) {
        if (auto request = parser.push(byte)) {
            const Bytes answer = device().answer(*request);
            out.insert(out.end(), answer.begin(), answer.end());
        }
    }
    return out;
}

Answer DeviceTest::exchange(const Bytes& requestBytes)
{
    const auto answers = SplitAnswers(raw(requestBytes));
    EXPECT_EQ(answers.size(), 1u);
    return answers.empty() ? Answer{} : answers.back();
}

Answer DeviceTest::command(std::uint8_t number, const Bytes& data)
{
    return exchange(LongRequest(number, data));
}

}  // namespace simtest
