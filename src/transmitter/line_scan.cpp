#include "transmitter/line_scan.h"

#include <chrono>

#include "hart/command_table.h"
#include "hart/hart_link.h"
#include "transmitter/identity.h"
#include "transmitter/tag_text.h"

namespace transmitter {
namespace {

using namespace std::chrono_literals;
using hart::FieldRef;

// 1200 baud, 11 bits a character (start, 8 data, odd parity, stop); the request is on the
// line for as long as its bytes take.
constexpr std::chrono::microseconds kCharacterTime{11'000'000 / 1200};
// HART's slave time-out: a device begins its answer within 28 character times of the end of
// the request, so a line silent that long after it has no device at that address.
constexpr int kSlaveTimeOutCharacters = 28;
// Once an answer has begun: room for the longest frame, however many preambles it carries.
constexpr int kLongestAnswerCharacters = 300;
// Fine enough that an answer is taken up soon after its last byte.
constexpr std::chrono::milliseconds kScanPollDelay{10};
// A device that answered but not with its identity (busy, a garbled frame) is asked again.
constexpr int kAttemptsWhenAnswered = 3;

// The port's modem or HART-IP server with one polling address of the scan's choosing.
class AddressedPort final : public hart::PortSettings {
public:
    explicit AddressedPort(const hart::PortSettings& port) : m_port(port) {}
    int portNumber() const override { return m_port.portNumber(); }
    std::optional<hart::HartIpEndpoint> hartIpEndpoint() const override
    {
        return m_port.hartIpEndpoint();
    }
    int pollingAddress() const override { return m_address; }
    void setAddress(int address) { m_address = address; }

private:
    const hart::PortSettings& m_port;
    int m_address = 0;
};

std::int16_t PollsWithin(std::chrono::microseconds wait)
{
    return static_cast<std::int16_t>((wait + kScanPollDelay - 1us) / kScanPollDelay);
}

// A link that asks once, keeps the port open for the whole scan, and gives up on an address
// as soon as HART's slave time-out has passed without the beginning of an answer.
class ScanLink final : public hart::CHartLink {
public:
    ScanLink(hart::UserInteraction& ui, const AddressedPort& port, hart::Sleeper& sleeper)
        : CHartLink(ui, port, sleeper)
    {
        retryCount = 1;
        retryDelayMs = 0ms;
        pollDelayMs = kScanPollDelay;
        keepPortOpen = true;
    }

    int AskOnce(int commandIndex)
    {
        hart::FrameBuffer scratch{};
        const int requestBytes = BuildRequest(commandIndex, scratch.data(), {});
        silencePolls = PollsWithin(kCharacterTime * (requestBytes + kSlaveTimeOutCharacters));
        pollCount = PollsWithin(
            kCharacterTime * (requestBytes + kSlaveTimeOutCharacters + kLongestAnswerCharacters));
        return Transact(commandIndex);
    }

    FoundDevice Identity(int address)
    {
        FoundDevice device;
        device.pollingAddress = address;
        device.identified = true;
        DecodeResponse(hart::CMD_READ_UNIQUE_ID,
                       {FieldRef{}, &device.manufacturerCode, &device.deviceType, FieldRef{},
                        FieldRef{}, FieldRef{}, FieldRef{}, FieldRef{}, FieldRef{},
                        &device.deviceId});
        return device;
    }

    void ReadTag(FoundDevice& device)
    {
        if (!hart::Succeeded(AskOnce(hart::CMD_READ_TAG))) return;
        NarrowTag narrow{};
        DecodeResponse(hart::CMD_READ_TAG, {narrow.data()});
        device.tag = narrow.data();
        device.tag.erase(device.tag.find_last_not_of(' ') + 1);
        device.tagRead = true;
    }
};

}  // namespace

bool FoundDevice::configurable() const
{
    return identified && IsTarvel4410(manufacturerCode, deviceType);
}

ScanResult ScanLine(hart::UserInteraction& ui, const hart::PortSettings& port,
                    hart::Sleeper& sleeper, const ScanControl& control)
{
    AddressedPort addressed(port);
    ScanLink link(ui, addressed, sleeper);
    link.attachTrace(control.trace);
    ScanResult result;
    const auto progress = [&control](int asked) {
        if (control.progress) control.progress(asked, kScanAddressCount);
    };
    progress(0);
    result.portOpened = link.EnsurePortOpen() != 0;
    if (!result.portOpened) return result;

    for (int address = 0; address < kScanAddressCount; ++address) {
        if (control.cancel && control.cancel->load()) {
            result.cancelled = true;
            break;
        }
        addressed.setAddress(address);
        int answer = hart::RESULT_NO_ANSWER;
        for (int attempt = 0; attempt < kAttemptsWhenAnswered; ++attempt) {
            answer = link.AskOnce(hart::CMD_READ_UNIQUE_ID);
            if (answer == hart::RESULT_NO_ANSWER || hart::Succeeded(answer)) break;
        }
        if (hart::Succeeded(answer)) {
            FoundDevice device = link.Identity(address);
            link.ReadTag(device);
            result.devices.push_back(std::move(device));
        } else if (answer != hart::RESULT_NO_ANSWER) {
            FoundDevice device;
            device.pollingAddress = address;
            result.devices.push_back(device);
        }
        progress(address + 1);
    }
    link.ClosePort();
    link.attachTrace(nullptr);
    return result;
}

}  // namespace transmitter
