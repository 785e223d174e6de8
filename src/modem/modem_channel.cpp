#include "modem/modem_channel.h"

#include <algorithm>
#include <cstring>

namespace modem {

namespace {

// hart_configure's gap value (milliseconds): the range that makes sense at 1200 baud,
// from two character times to a couple of seconds.
constexpr std::uint16_t kMinGapMs = 20;
constexpr std::uint16_t kMaxGapMs = 2000;
constexpr std::size_t kGapValueIndex = 1;

}  // namespace

std::int32_t ModemChannel::open(const std::filesystem::path& device,
                                std::unique_ptr<ModemChannel>& channel)
{
    auto failure = serial::DeviceOpenFailure::None;
    std::unique_ptr<SerialLine> line = SerialLine::open(device, failure);
    switch (failure) {
    case serial::DeviceOpenFailure::None:
        channel.reset(new ModemChannel(std::move(line)));
        return HART_OK;
    case serial::DeviceOpenFailure::Missing: return HART_ERR_NO_PORT;
    case serial::DeviceOpenFailure::Busy: return HART_ERR_BUSY;
    case serial::DeviceOpenFailure::Failed: break;
    }
    return HART_ERR_IO;
}

// The record's second value is the inter-character gap in milliseconds after which a
// partial answer is dropped; the program's 96 ms is about ten character times, and 0
// keeps the default. The other values have nothing to set here: HART's line settings
// are fixed (1200 baud, 8O1, set by open) and the program's frames carry their own
// preambles and addresses.
std::int32_t ModemChannel::configure(const HartPortConfig& config)
{
    const std::uint16_t gapMs = config.value[kGapValueIndex];
    if (gapMs != 0 && (gapMs < kMinGapMs || gapMs > kMaxGapMs)) {
        return HART_ERR_BAD_ARGUMENT;
    }
    std::lock_guard lock(m_mutex);
    m_assembler.setGap(gapMs == 0 ? FrameAssembler::kDefaultGap : std::chrono::milliseconds(gapMs));
    return HART_OK;
}

std::int32_t ModemChannel::write(const HartMessage& message)
{
    if (message.length == 0 || message.length > HART_FRAME_CAPACITY) {
        return HART_ERR_BAD_ARGUMENT;
    }
    std::lock_guard lock(m_mutex);
    // Whatever came before this request cannot be its answer.
    m_line->discardInput();
    m_assembler.reset();
    const bool sent = m_line->write({message.frame, message.length}) == SerialLine::Status::Ok;
    return sent ? HART_OK : HART_ERR_IO;
}

std::int32_t ModemChannel::read(HartMessage& message)
{
    std::lock_guard lock(m_mutex);
    m_received.clear();
    const SerialLine::Status status = m_line->readAvailable(m_received);
    m_assembler.feed(m_received, FrameAssembler::Clock::now());
    if (auto frame = m_assembler.takeFrame()) {
        std::memset(&message, 0, sizeof message);
        std::copy(frame->begin(), frame->end(), message.frame);
        message.length = static_cast<std::uint16_t>(frame->size());
        return HART_OK;
    }
    if (status != SerialLine::Status::Ok) return HART_ERR_IO;
    return m_assembler.hasPartialFrame() ? HART_RECEIVING : HART_NO_FRAME;
}

}  // namespace modem
