#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "simulator/answer_builder.h"
#include "simulator/calibration_commands.h"
#include "simulator/command_reply.h"
#include "simulator/device_model.h"
#include "simulator/output_commands.h"
#include "simulator/read_commands.h"
#include "simulator/request.h"
#include "simulator/request_log.h"
#include "simulator/write_commands.h"

namespace sim {

// The simulated Тарвел-4410 as its firmware behaves on the line: takes one request frame and
// gives the bytes it puts on the line in return. No I/O; the server feeds it.
//
// It answers a long frame whose address is its own (bits 7 and 6 of the first byte, the master
// and burst bits, are ignored), command 11 also at the broadcast address (all five bytes 0)
// when its tag matches, and a short frame to its polling address for the identification
// commands 0 and 249 only. Frames with a bad checksum or for another address get no answer.
// Every answer carries the master bit of its request. Injected faults (FaultSettings) act in
// this order: silence, communication error report, busy, then the real answer, preceded by a
// burst frame and/or an answer to another command, its checksum spoilt when asked.
class Device {
public:
    explicit Device(SimulatorSetup setup = {});
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The bytes to put on the line, preambles included; empty for no answer.
    std::vector<std::uint8_t> answer(const Request& request);

    DeviceModel& model();
    const DeviceModel& model() const;
    DeviceState& state();
    FaultSettings& faults();
    ProcessSettings& process();
    const RequestLog& log() const;
    void clearLog();

    // Address as the configuration program stores it: manufacturer code with bit 7 clear,
    // device type, device id.
    std::array<std::uint8_t, 5> longAddress() const;
    // On a line with other devices: tells whether one of them has a polling address.
    void setPollAddressTaken(std::function<bool(std::uint8_t)> taken);

private:
    bool addressedToMe(const Request& request) const;
    bool tagMatches(std::span<const std::uint8_t> data) const;
    CommandReply execute(std::uint8_t command, std::span<const std::uint8_t> data);
    CommandReply dispatch(std::uint8_t command, std::span<const std::uint8_t> data);
    AnswerFrame frameFor(const Request& request, std::uint8_t command,
                         const CommandReply& reply) const;
    std::uint8_t statusFor(const Request& request) const;
    struct Transmission {
        std::vector<std::vector<std::uint8_t>> frames;
        std::uint8_t responseCode = 0;  // of the real answer, the last frame
    };
    Transmission transmit(const Request& request);

    DeviceModel m_model;
    ReadCommands m_reads;
    WriteCommands m_writes;
    OutputCommands m_output;
    CalibrationCommands m_calibration;
    RequestLog m_log;

    // Status kept for the masters: cold start until the first answer to each (index 1 the
    // primary master, 0 the secondary), configuration changed from an accepted write until
    // command 38, and the command 48 bytes as last read, for "more status available".
    std::array<bool, 2> m_coldStart{true, true};
    bool m_configurationChanged = false;
    std::array<std::uint8_t, 5> m_additionalStatusRead{};
};

}  // namespace sim
