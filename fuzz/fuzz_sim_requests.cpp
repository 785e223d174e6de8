// The simulated transmitter over any bytes on its line: the request parser, and the device
// answering every request it completes. A control byte can switch on faults and let the
// requests reach the command handlers whatever their address and checksum.
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

#include "answer_line_check.h"
#include "simulator/device.h"
#include "simulator/request_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::uint8_t control = input.ConsumeIntegral<std::uint8_t>();
    const bool reachHandlers = (control & 0x01) != 0;

    sim::Device device;
    sim::FaultSettings& faults = device.faults();
    if (control & 0x02) faults.burst = sim::FaultCount::always();
    if (control & 0x04) faults.wrongCommand = sim::FaultCount::times(2);
    if (control & 0x08) faults.badChecksum = sim::FaultCount::times(1);
    if (control & 0x10) faults.busy = sim::FaultCount::times(1);
    if (control & 0x20) faults.commError = sim::FaultCount::times(1);
    if (control & 0x40) faults.sensorFailure = sim::SensorFailure::Open;
    if (control & 0x80) faults.sensorFailure = sim::SensorFailure::Short;
    const bool checksumMayBeSpoilt = (control & 0x08) != 0;

    sim::RequestParser parser;
    const std::vector<std::uint8_t> line = input.ConsumeRemainingBytes<std::uint8_t>();
    for (const std::uint8_t byte : line) {
        std::optional<sim::Request> request = parser.push(byte);
        if (!request) continue;
        if (reachHandlers) {
            request->checksumOk = true;
            const auto address = device.longAddress();
            if (request->longFrame)
                std::copy(address.begin(), address.end(), request->address.begin());
            else
                request->address[0] = device.state().identity.pollAddress;
        }
        CheckAnswerLine(device.answer(*request), checksumMayBeSpoilt);
    }
    return 0;
}
