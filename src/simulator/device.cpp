#include "simulator/device.h"

#include <algorithm>
#include <utility>

#include "simulator/wire_format.h"

namespace sim {

namespace {

constexpr std::uint8_t kAddressFlagsMask = 0xC0;  // master bit 7, burst mode bit 6
constexpr std::uint8_t kMasterBit = 0x80;
constexpr std::uint8_t kBurstModeBit = 0x40;
constexpr std::uint8_t kChecksumSpoiler = 0x5A;
constexpr std::uint8_t kPreambleByte = 0xFF;
constexpr std::uint8_t kReadUniqueIdentifierByTag = 11;
constexpr std::uint8_t kResetConfigurationChanged = 38;
constexpr std::uint8_t kReadAdditionalStatus = 48;
constexpr std::size_t kPackedTagBytes = 6;

namespace status {
constexpr std::uint8_t kConfigurationChanged = 0x40;
constexpr std::uint8_t kColdStart = 0x20;
constexpr std::uint8_t kMoreStatusAvailable = 0x10;
}  // namespace status

// What a burst-mode device sends on its own: the process values.
constexpr std::uint8_t kBurstCommand = 3;

bool IsIdentification(std::uint8_t command) { return command == 0 || command == 249; }

int MasterOf(const Request& request) { return (request.address[0] & kMasterBit) != 0 ? 1 : 0; }

bool IsBroadcast(const Request& request)
{
    return (request.address[0] & ~kAddressFlagsMask) == 0 &&
           std::all_of(request.address.begin() + 1, request.address.end(),
                       [](std::uint8_t b) { return b == 0; });
}

// Commands that change the device and so are refused while it is write protected. Command 195
// stays open, or protection could never be switched off again.
bool IsBlockedByWriteProtection(std::uint8_t command)
{
    static constexpr std::uint8_t kBlocked[] = {6,  17, 18,  19,  34,  35,  38,  40,  44,
                                                45, 46, 130, 131, 141, 145, 151, 155, 162};
    return std::find(std::begin(kBlocked), std::end(kBlocked), command) != std::end(kBlocked);
}

// Commands that change the configuration: accepted, they set "configuration changed".
bool ChangesConfiguration(std::uint8_t command)
{
    static constexpr std::uint8_t kWrites[] = {6,   17,  18,  19,  34,  35,  44,  45, 46,
                                               130, 131, 141, 145, 151, 155, 162, 195};
    return std::find(std::begin(kWrites), std::end(kWrites), command) != std::end(kWrites);
}

}  // namespace

Device::Device(SimulatorSetup setup)
    : m_model(std::move(setup)), m_reads(m_model), m_writes(m_model), m_output(m_model),
      m_calibration(m_model)
{
}

DeviceModel& Device::model() { return m_model; }

const DeviceModel& Device::model() const { return m_model; }

DeviceState& Device::state() { return m_model.state(); }

FaultSettings& Device::faults() { return m_model.setup().faults; }

ProcessSettings& Device::process() { return m_model.setup().process; }

const RequestLog& Device::log() const { return m_log; }

void Device::clearLog() { m_log.clear(); }

std::array<std::uint8_t, 5> Device::longAddress() const
{
    const DeviceIdentity& id = m_model.state().identity;
    return {static_cast<std::uint8_t>(id.manufacturerCode & 0x7F), id.deviceType,
            static_cast<std::uint8_t>(id.deviceId >> 16),
            static_cast<std::uint8_t>(id.deviceId >> 8), static_cast<std::uint8_t>(id.deviceId)};
}

void Device::setPollAddressTaken(std::function<bool(std::uint8_t)> taken)
{
    m_writes.pollAddressTaken = std::move(taken);
}

bool Device::addressedToMe(const Request& request) const
{
    const DeviceIdentity& id = m_model.state().identity;
    if (!request.longFrame) {
        return IsIdentification(request.command) &&
               (request.address[0] & ~kAddressFlagsMask) == (id.pollAddress & ~kAddressFlagsMask);
    }
    const auto mine = longAddress();
    const bool mineExactly =
        (request.address[0] & ~kAddressFlagsMask) == (mine[0] & ~kAddressFlagsMask) &&
        std::equal(mine.begin() + 1, mine.end(), request.address.begin() + 1);
    if (request.command == kReadUniqueIdentifierByTag)
        return (mineExactly || IsBroadcast(request)) && tagMatches(request.data);
    return mineExactly;
}

bool Device::tagMatches(std::span<const std::uint8_t> data) const
{
    if (data.size() < kPackedTagBytes) return false;
    std::vector<std::uint8_t> mine;
    AppendPackedAscii(mine, m_model.state().config.tag, 8);
    return std::equal(mine.begin(), mine.end(), data.begin());
}

CommandReply Device::dispatch(std::uint8_t command, std::span<const std::uint8_t> data)
{
    if (auto reply = m_reads.handle(command, data)) return *reply;
    if (auto reply = m_writes.handle(command, data)) return *reply;
    if (auto reply = m_output.handle(command, data)) return *reply;
    if (auto reply = m_calibration.handle(command, data)) return *reply;
    return CommandReply::error(response::kNotImplemented);
}

CommandReply Device::execute(std::uint8_t command, std::span<const std::uint8_t> data)
{
    const auto& overrides = faults().responseOverrides;
    const auto override = overrides.find(command);
    const bool overridden = override != overrides.end();
    if (overridden && override->second != response::kSuccess &&
        override->second != response::kWarning)
        return CommandReply::error(override->second);
    if (state().config.writeProtect == 1 && IsBlockedByWriteProtection(command))
        return CommandReply::error(response::kWriteProtected);
    CommandReply reply;
    if (command == kResetConfigurationChanged) {
        m_configurationChanged = false;
        reply = CommandReply::success({});
    } else if (command == kReadUniqueIdentifierByTag) {
        reply = dispatch(0, {});
    } else {
        reply = dispatch(command, data);
    }
    if (overridden) reply.responseCode = override->second;
    if (reply.carriesData() && ChangesConfiguration(command)) m_configurationChanged = true;
    if (reply.carriesData() && command == kReadAdditionalStatus)
        m_additionalStatusRead = m_model.additionalStatus();
    return reply;
}

std::uint8_t Device::statusFor(const Request& request) const
{
    std::uint8_t bits = m_model.deviceStatus();
    if (m_coldStart[MasterOf(request)]) bits |= status::kColdStart;
    if (m_configurationChanged) bits |= status::kConfigurationChanged;
    if (m_model.additionalStatus() != m_additionalStatusRead) bits |= status::kMoreStatusAvailable;
    return bits;
}

AnswerFrame Device::frameFor(const Request& request, std::uint8_t command,
                             const CommandReply& reply) const
{
    const DeviceIdentity& id = m_model.state().identity;
    // The answer goes back to the master that asked.
    const std::uint8_t master = request.address[0] & kMasterBit;
    AnswerFrame frame;
    frame.longFrame = request.longFrame;
    if (request.longFrame) {
        const auto address = longAddress();
        frame.address.assign(address.begin(), address.end());
        frame.address[0] =
            static_cast<std::uint8_t>((frame.address[0] & ~kAddressFlagsMask) | master);
    } else {
        frame.address = {static_cast<std::uint8_t>((id.pollAddress & ~kAddressFlagsMask) | master)};
    }
    frame.command = command;
    frame.responseCode = reply.responseCode;
    frame.deviceStatus = statusFor(request);
    if (reply.carriesData()) frame.data = reply.data;
    return frame;
}

Device::Transmission Device::transmit(const Request& request)
{
    FaultSettings& fault = faults();
    Transmission transmission;
    auto& frames = transmission.frames;
    if (fault.burst.take()) {
        AnswerFrame burst = frameFor(request, kBurstCommand, *m_reads.handle(kBurstCommand, {}));
        burst.kind = FrameKind::Burst;
        burst.address[0] |= kBurstModeBit;
        frames.push_back(AnswerBuilder::build(burst));
    }
    if (fault.wrongCommand.take()) {
        const std::uint8_t other = request.command == 3 ? 48 : 3;
        frames.push_back(
            AnswerBuilder::build(frameFor(request, other, *m_reads.handle(other, {}))));
    }

    CommandReply reply;
    if (fault.commError.take()) {
        AnswerFrame report =
            frameFor(request, request.command, CommandReply::error(fault.commErrorCode));
        report.deviceStatus = 0;
        frames.push_back(AnswerBuilder::build(report));
        transmission.responseCode = fault.commErrorCode;
    } else {
        reply = fault.busy.take() ? CommandReply::error(response::kBusy)
                                  : execute(request.command, request.data);
        frames.push_back(AnswerBuilder::build(frameFor(request, request.command, reply)));
        transmission.responseCode = reply.responseCode;
        m_coldStart[MasterOf(request)] = false;
    }
    if (fault.badChecksum.take()) frames.back().back() ^= kChecksumSpoiler;
    if (reply.restartAfterAnswer) {
        m_model.restart();
        m_coldStart = {true, true};
    }
    return transmission;
}

std::vector<std::uint8_t> Device::answer(const Request& request)
{
    LoggedRequest entry{request.command,
                        request.data,
                        request.longFrame,
                        request.checksumOk,
                        false,
                        std::nullopt,
                        request.lineBytes,
                        0,
                        request.frame,
                        {}};
    std::vector<std::uint8_t> bytes;
    if (request.checksumOk && addressedToMe(request)) {
        entry.addressed = true;
        if (!faults().silent.take()) {
            m_model.sampleProcess();
            Transmission transmission = transmit(request);
            for (const auto& frame : transmission.frames) {
                bytes.insert(bytes.end(), frame.begin(), frame.end());
                auto delimiter = frame.begin();
                while (delimiter != frame.end() && *delimiter == kPreambleByte) ++delimiter;
                entry.answerFrames.emplace_back(delimiter, frame.end());
            }
            entry.responseCode = transmission.responseCode;
        }
    }
    entry.answerBytes = bytes.size();
    m_log.add(std::move(entry));
    return bytes;
}

}  // namespace sim
