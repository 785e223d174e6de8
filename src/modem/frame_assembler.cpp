#include "modem/frame_assembler.h"

namespace modem {

namespace {

constexpr std::uint8_t kPreamble = 0xFF;
constexpr std::size_t kMinPreambles = 2;
constexpr std::uint8_t kLongAddressBit = 0x80;
constexpr std::size_t kShortAddressBytes = 1;
constexpr std::size_t kLongAddressBytes = 5;
constexpr std::uint8_t kFrameTypeMask = 0x07;
constexpr std::uint8_t kMasterToSlave = 0x02;

bool IsDelimiter(std::uint8_t byte)
{
    switch (byte) {
    case 0x01:  // burst frame, short address
    case 0x02:  // master to slave, short address
    case 0x06:  // slave to master, short address
    case 0x81:  // the same three with a long address
    case 0x82:
    case 0x86: return true;
    default: return false;
    }
}

}  // namespace

void FrameAssembler::feed(std::span<const std::uint8_t> bytes, Clock::time_point now)
{
    if (bytes.empty()) {
        if (hasPartialFrame() && now - m_lastByteAt > m_gap) {
            restartHunting();
        }
        return;
    }
    for (const std::uint8_t byte : bytes) {
        accept(byte);
    }
    m_lastByteAt = now;
}

std::optional<FrameAssembler::Frame> FrameAssembler::takeFrame()
{
    if (m_frames.empty()) {
        return std::nullopt;
    }
    Frame frame = std::move(m_frames.front());
    m_frames.pop_front();
    return frame;
}

void FrameAssembler::reset()
{
    restartHunting();
    m_frames.clear();
}

void FrameAssembler::accept(std::uint8_t byte)
{
    switch (m_step) {
    case Step::Preambles: acceptPreambleOrDelimiter(byte); return;
    case Step::Address:
        append(byte);
        if (--m_addressBytesLeft == 0) {
            m_step = Step::Command;
        }
        return;
    case Step::Command:
        append(byte);
        m_step = Step::ByteCount;
        return;
    case Step::ByteCount: acceptByteCount(byte); return;
    case Step::Data:
        append(byte);
        if (--m_dataBytesLeft == 0) {
            m_step = Step::Checksum;
        }
        return;
    case Step::Checksum:
        append(byte);
        deliver();
        return;
    }
}

void FrameAssembler::acceptPreambleOrDelimiter(std::uint8_t byte)
{
    if (byte == kPreamble) {
        ++m_preambleCount;
        return;
    }
    const bool enoughPreambles = m_preambleCount >= kMinPreambles;
    m_preambleCount = 0;
    if (!enoughPreambles || !IsDelimiter(byte)) {
        return;
    }
    m_length = 0;
    append(byte);
    m_addressBytesLeft = (byte & kLongAddressBit) != 0 ? kLongAddressBytes : kShortAddressBytes;
    m_step = Step::Address;
}

// Delimiter, long address, command, count, the largest count's data and the checksum: no
// count byte can announce a frame the buffer cannot hold.
static_assert(1 + kLongAddressBytes + 1 + 1 + 255 + 1 <= FrameAssembler::kCapacityBytes);

void FrameAssembler::acceptByteCount(std::uint8_t count)
{
    append(count);
    m_dataBytesLeft = count;
    m_step = count == 0 ? Step::Checksum : Step::Data;
}

void FrameAssembler::deliver()
{
    // A request is read to its end only to be skipped whole: it is our own echoed by the
    // modem or another master's, never the answer the caller waits for.
    if ((m_frame[0] & kFrameTypeMask) == kMasterToSlave) {
        restartHunting();
        return;
    }
    if (m_frames.size() == kMaxQueuedFrames) {
        m_frames.pop_front();
    }
    m_frames.emplace_back(m_frame.begin(), m_frame.begin() + static_cast<std::ptrdiff_t>(m_length));
    restartHunting();
}

void FrameAssembler::restartHunting()
{
    m_step = Step::Preambles;
    m_preambleCount = 0;
    m_length = 0;
}

}  // namespace modem
