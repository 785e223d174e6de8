#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace modem {

// Cuts HART frames out of the bytes read from the line, without any I/O of its own.
// Steps: preambles (at least two 0xFF) → delimiter → address (1 or 5 bytes) → command →
// byte count → data → checksum. A frame is delivered from its delimiter to its checksum
// byte; the checksum is not checked here, because the caller must see bad frames too.
// Master-to-slave frames (an echo of our own request, another master's) are skipped whole.
class FrameAssembler {
public:
    using Clock = std::chrono::steady_clock;
    using Frame = std::vector<std::uint8_t>;

    static constexpr std::size_t kCapacityBytes = 284;
    // HART allows a slave barely a character time (about 9 ms at 1200 baud) between the
    // bytes of a frame; this leaves room for USB adapters that deliver in bursts.
    static constexpr std::chrono::milliseconds kDefaultGap{100};
    // A burst-mode device keeps talking while nobody reads; older frames go first.
    static constexpr std::size_t kMaxQueuedFrames = 16;

    explicit FrameAssembler(std::chrono::milliseconds gap = kDefaultGap) : m_gap(gap) {}

    void setGap(std::chrono::milliseconds gap) { m_gap = gap; }
    std::chrono::milliseconds gap() const { return m_gap; }

    // Bytes that were read at `now`. Feeding no bytes says the line was found silent at
    // `now`: a partial frame is dropped once the line has been silent longer than the gap
    // since its last byte. Only such observed silence counts, because a reader that came
    // late cannot tell a pause on the line from its own delay.
    void feed(std::span<const std::uint8_t> bytes, Clock::time_point now);

    // The oldest complete frame not yet taken.
    std::optional<Frame> takeFrame();

    // Forgets the partial frame and every queued frame.
    void reset();

    bool hasPartialFrame() const { return m_step != Step::Preambles || m_preambleCount > 0; }

private:
    enum class Step { Preambles, Address, Command, ByteCount, Data, Checksum };

    void accept(std::uint8_t byte);
    void acceptPreambleOrDelimiter(std::uint8_t byte);
    void acceptByteCount(std::uint8_t count);
    void append(std::uint8_t byte) { m_frame[m_length++] = byte; }
    void deliver();
    void restartHunting();

    std::chrono::milliseconds m_gap;
    Step m_step = Step::Preambles;
    std::size_t m_preambleCount = 0;
    std::size_t m_addressBytesLeft = 0;
    std::size_t m_dataBytesLeft = 0;
    std::array<std::uint8_t, kCapacityBytes> m_frame{};
    std::size_t m_length = 0;
    Clock::time_point m_lastByteAt{};
    std::deque<Frame> m_frames;
};

}  // namespace modem
