#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace hart {

class Sleeper;

// What happened on the link, in the order the engine and the driver binding see it.
enum class TraceKind : std::uint8_t {
    PortOpened,      // value: COM number; text: the device
    PortOpenFailed,  // value: the driver's result
    PortClosed,      // value: the driver's result
    InputFlushed,    // value: frames thrown away
    Request,         // frame: delimiter to checksum; value: preamble count
    WriteFailed,     // value: the driver's result
    Answer,          // frame: as the driver delivered it
    NoAnswer,        // value: polls made
    Busy,
    BadChecksum,
    CommunicationError,  // value: the first status byte
    SkippedRequest,      // our own request echoed, or another master's
    SkippedBurst,
    SkippedOtherCommand,  // value: the command answered
    DeviceLost,
    RetryPause,  // value: milliseconds
    Result,      // value: the transaction's result
    // HART-IP: the session and what the network brought that was not an answer.
    SessionOpened,      // value: the inactivity close timer in ms; text: the endpoint
    SessionOpenFailed,  // value: a NetworkIssue; text: the server's status, if any, and the
                        // endpoint
    SessionClosed,      // text: the endpoint
    KeepAlive,          // value: the sequence number
    SessionLost,        // value: a NetworkIssue; text: a status where the server gave one
    MessageDropped,     // value: a NetworkIssue; text: a status or a length where known
};

// Why a HART-IP session failed or a message was dropped.
enum class NetworkIssue : int {
    ShortHeader,
    WrongVersion,
    WrongByteCount,
    UnknownMessage,
    OtherAddress,   // from another host or port than the session's
    OtherSequence,  // an answer to an earlier message
    Nak,
    ErrorMessage,
    ConnectionClosed,
    NoAnswer,
    HostNotFound,
    NotConnected,
    Refused,     // the server turned the session initiate down
    TooLong,     // a frame longer than a HART frame can be
    Unexpected,  // a message no request of ours asked for
};

struct TraceEvent {
    std::chrono::steady_clock::time_point time;
    TraceKind kind = TraceKind::Result;
    int value = 0;
    int commandIndex = -1;  // the transaction's command, where the event belongs to one
    std::vector<std::uint8_t> frame;
    std::string text;
};

// Receives a link's events, possibly on the monitoring thread: it must not block for long.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void record(const TraceEvent& event) = 0;
};

// A link's connection to its sink. With none attached, recording costs one pointer test.
class TraceTap {
public:
    explicit TraceTap(const Sleeper& clock) : m_clock(clock) {}

    // The sink outlives the attachment; attach nullptr to detach.
    void attach(TraceSink* sink) { m_sink.store(sink, std::memory_order_release); }
    TraceSink* sink() const { return m_sink.load(std::memory_order_acquire); }
    bool on() const { return sink() != nullptr; }

    void record(TraceKind kind, int value = 0, int commandIndex = -1,
                std::span<const std::uint8_t> frame = {}, std::string text = {}) const;

private:
    const Sleeper& m_clock;
    std::atomic<TraceSink*> m_sink{nullptr};
};

}  // namespace hart
