// The HART-IP client's reading of what the network brings: any bytes as one datagram, and
// the same bytes as a TCP stream cut into messages by their headers; a PDU's body then
// through the frame layout. Beside not crashing, a message taken as good must be exactly
// what encoding its parts gives back.
#include <cstdlib>
#include <span>
#include <vector>

#include "hart/frame_layout.h"
#include "hart/hartip_message.h"

namespace {

using namespace hart;

void Require(bool condition)
{
    if (!condition) std::abort();
}

void CheckMessage(std::span<const std::uint8_t> bytes)
{
    const hartip::Message message = hartip::ParseMessage(bytes);
    if (message.fault != hartip::MessageFault::None) return;
    Require(message.header.version == hartip::kVersion);
    Require(message.header.byteCount == bytes.size());
    Require(message.body.size() + hartip::kHeaderLength == bytes.size());
    const auto again = hartip::Encode(message.header.type, message.header.id, message.header.status,
                                      message.header.sequence, message.body);
    Require(std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()));
    if (!message.body.empty()) {
        const FrameLayout layout = FrameLayout::Of(message.body[0]);
        const int length = layout.lengthOf(message.body);
        Require(length == 0 || length > layout.countOffset);
        if (IsWholeFrame(message.body))
            Require(static_cast<std::size_t>(length) == message.body.size());
    }
    if (message.header.id == hartip::MessageId::SessionInitiate)
        (void)hartip::InactivityTimer(message.body);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    CheckMessage(bytes);

    std::span<const std::uint8_t> stream = bytes;
    while (const auto length = hartip::StreamMessageLength(stream)) {
        Require(*length == 0 || *length >= hartip::kHeaderLength);
        if (*length == 0 || *length > stream.size()) break;
        const auto message = stream.first(*length);
        Require(hartip::ParseMessage(message).fault != hartip::MessageFault::WrongByteCount);
        CheckMessage(message);
        stream = stream.subspan(*length);
    }
    return 0;
}
