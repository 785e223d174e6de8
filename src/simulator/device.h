#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "answer_builder.h"
#include "calibration_commands.h"
#include "command_reply.h"
#include "device_model.h"
#include "output_commands.h"
#include "read_commands.h"
#include "request.h"
#include "request_log.h"
#include "write_commands.h"

namespace sim {

// The simulated Тарвел-4410 as its firmware behaves on the line: takes one request frame and
// gives the bytes it puts on the line in return. No I/O; the server feeds it.
//
// It answers a long frame whose address is its own (bits 7 and 6 of the first byte, the master
// and burst bits, are ignored), and a short frame to its polling address for the
// identification commands 0 and 249 only. Frames with a bad checksum, for another address or
// a broadcast get no answer. Injected faults (FaultSettings) act in this order: silence,
// communication error report, busy, then the real answer, preceded by a burst frame and/or an
// answer to another command, its checksum spoilt when asked.
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

private:
    bool addressedToMe(const Request& request) const;
    CommandReply execute(std::uint8_t command, std::span<const std::uint8_t> data);
    CommandReply dispatch(std::uint8_t command, std::span<const std::uint8_t> data);
    AnswerFrame frameFor(const Request& request, std::uint8_t command, const CommandReply& reply) const;
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
};

}  // namespace sim
