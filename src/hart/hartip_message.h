#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// HART-IP version 1 messages without a security layer: an 8-byte header, most significant
// byte first (version, message type, message id, status, sequence number, byte count of the
// whole message), then the body.
namespace hart::hartip {

constexpr std::uint16_t kDefaultPort = 5094;
constexpr std::uint8_t kVersion = 1;
constexpr std::size_t kHeaderLength = 8;
constexpr std::uint8_t kPrimaryMaster = 1;
// Session initiate: master type and the inactivity close timer in milliseconds.
constexpr std::size_t kInitiateBodyLength = 5;

enum class MessageType : std::uint8_t {
    Request = 0,
    Response = 1,
    Publish = 2,
    Error = 3,
    Nak = 15
};
enum class MessageId : std::uint8_t {
    SessionInitiate = 0,
    SessionClose = 1,
    KeepAlive = 2,
    Pdu = 3
};

struct Header {
    std::uint8_t version = kVersion;
    MessageType type = MessageType::Request;
    MessageId id = MessageId::Pdu;
    std::uint8_t status = 0;
    std::uint16_t sequence = 0;
    std::uint16_t byteCount = 0;  // header included
};

// Why received bytes are no message; each is dropped.
enum class MessageFault : std::uint8_t {
    None,
    ShortHeader,  // fewer than 8 bytes
    WrongVersion,
    WrongByteCount,  // the count disagrees with the bytes received, or is below the header
    UnknownType,
    UnknownId,
};

struct Message {
    Header header;
    std::span<const std::uint8_t> body;  // into the parsed bytes
    MessageFault fault = MessageFault::None;
};

// One whole message: a datagram, or a message cut out of a stream by StreamMessageLength.
Message ParseMessage(std::span<const std::uint8_t> bytes);

// A stream's next message length from its header; nullopt while fewer than 8 bytes are in,
// 0 when the header's count is below the header itself (the stream cannot be followed).
std::optional<std::size_t> StreamMessageLength(std::span<const std::uint8_t> bytes);

// The header (byte count filled in) and the body.
std::vector<std::uint8_t> Encode(MessageType type, MessageId id, std::uint8_t status,
                                 std::uint16_t sequence, std::span<const std::uint8_t> body = {});

std::vector<std::uint8_t> InitiateBody(std::uint8_t masterType, std::uint32_t inactivityMs);
// The inactivity close timer of a session initiate body; nullopt when the body is too short.
std::optional<std::uint32_t> InactivityTimer(std::span<const std::uint8_t> body);

}  // namespace hart::hartip
