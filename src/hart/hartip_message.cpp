#include "hart/hartip_message.h"

#include <algorithm>

namespace hart::hartip {
namespace {

bool KnownType(std::uint8_t type)
{
    return type <= static_cast<std::uint8_t>(MessageType::Error) ||
           type == static_cast<std::uint8_t>(MessageType::Nak);
}

bool KnownId(std::uint8_t id) { return id <= static_cast<std::uint8_t>(MessageId::Pdu); }

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

}  // namespace

Message ParseMessage(std::span<const std::uint8_t> bytes)
{
    Message message;
    if (bytes.size() < kHeaderLength) {
        message.fault = MessageFault::ShortHeader;
        return message;
    }
    Header& header = message.header;
    header.version = bytes[0];
    header.type = static_cast<MessageType>(bytes[1]);
    header.id = static_cast<MessageId>(bytes[2]);
    header.status = bytes[3];
    header.sequence = Word(bytes, 4);
    header.byteCount = Word(bytes, 6);
    if (header.version != kVersion)
        message.fault = MessageFault::WrongVersion;
    else if (header.byteCount != bytes.size())
        message.fault = MessageFault::WrongByteCount;
    else if (!KnownType(bytes[1]))
        message.fault = MessageFault::UnknownType;
    else if (!KnownId(bytes[2]))
        message.fault = MessageFault::UnknownId;
    else
        message.body = bytes.subspan(kHeaderLength);
    return message;
}

std::optional<std::size_t> StreamMessageLength(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kHeaderLength) return std::nullopt;
    const std::size_t count = Word(bytes, 6);
    return count < kHeaderLength ? 0 : count;
}

std::vector<std::uint8_t> Encode(MessageType type, MessageId id, std::uint8_t status,
                                 std::uint16_t sequence, std::span<const std::uint8_t> body)
{
    const auto count = static_cast<std::uint16_t>(kHeaderLength + body.size());
    std::vector<std::uint8_t> bytes(count);
    bytes[0] = kVersion;
    bytes[1] = static_cast<std::uint8_t>(type);
    bytes[2] = static_cast<std::uint8_t>(id);
    bytes[3] = status;
    bytes[4] = static_cast<std::uint8_t>(sequence >> 8);
    bytes[5] = static_cast<std::uint8_t>(sequence);
    bytes[6] = static_cast<std::uint8_t>(count >> 8);
    bytes[7] = static_cast<std::uint8_t>(count);
    std::copy(body.begin(), body.end(), bytes.begin() + kHeaderLength);
    return bytes;
}

std::vector<std::uint8_t> InitiateBody(std::uint8_t masterType, std::uint32_t inactivityMs)
{
    return {masterType, static_cast<std::uint8_t>(inactivityMs >> 24),
            static_cast<std::uint8_t>(inactivityMs >> 16),
            static_cast<std::uint8_t>(inactivityMs >> 8), static_cast<std::uint8_t>(inactivityMs)};
}

std::optional<std::uint32_t> InactivityTimer(std::span<const std::uint8_t> body)
{
    if (body.size() < kInitiateBodyLength) return std::nullopt;
    return static_cast<std::uint32_t>(body[1]) << 24 | static_cast<std::uint32_t>(body[2]) << 16 |
           static_cast<std::uint32_t>(body[3]) << 8 | body[4];
}

}  // namespace hart::hartip
