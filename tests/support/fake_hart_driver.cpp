// A scripted stand-in for libhartmodem.so.1, loaded through the same dlopen path as the
// real library. Each hart_write starts the next scripted reply list; hart_read hands out
// its entries one by one and reports "no frame" once the list is used up.
#include "support/fake_hart_driver.h"

#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct Reply {
    std::vector<std::uint8_t> frame;
    std::uint16_t length;
};

struct State {
    std::mutex mutex;
    std::deque<std::vector<Reply>> repliesPerWrite;
    std::vector<Reply> current;
    std::size_t next = 0;
    bool endless = false;
    Reply endlessReply;
    std::int32_t openResult = 0;
    std::int32_t configureResult = 0;
    std::int32_t writeResult = 0;
    std::int32_t closeResult = 0;
    FakeHartCounters counters{};
    std::vector<std::vector<std::uint8_t>> written;  // every frame handed to hart_write
};

State& state()
{
    static State s;
    return s;
}

}  // namespace

extern "C" {

FAKE_EXPORT void fake_hart_reset()
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.repliesPerWrite.clear();
    s.current.clear();
    s.next = 0;
    s.endless = false;
    s.openResult = s.configureResult = s.writeResult = s.closeResult = 0;
    s.counters = FakeHartCounters{};
    s.written.clear();
}

FAKE_EXPORT void fake_hart_set_results(std::int32_t open, std::int32_t configure,
                                       std::int32_t write, std::int32_t close)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.openResult = open;
    s.configureResult = configure;
    s.writeResult = write;
    s.closeResult = close;
}

FAKE_EXPORT void fake_hart_begin_write_script()
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.repliesPerWrite.emplace_back();
}

FAKE_EXPORT void fake_hart_add_reply(const std::uint8_t* frame, std::uint16_t count,
                                     std::uint16_t claimedLength)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.repliesPerWrite.empty()) s.repliesPerWrite.emplace_back();
    s.repliesPerWrite.back().push_back(
        Reply{std::vector<std::uint8_t>(frame, frame + count), claimedLength});
}

FAKE_EXPORT void fake_hart_set_endless_reply(const std::uint8_t* frame, std::uint16_t count)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.endless = true;
    s.endlessReply = Reply{std::vector<std::uint8_t>(frame, frame + count), count};
}

FAKE_EXPORT void fake_hart_counters(FakeHartCounters* out)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    *out = s.counters;
}

FAKE_EXPORT std::uint32_t fake_hart_written_count()
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    return static_cast<std::uint32_t>(s.written.size());
}

// Copies written frame `index` into out (HART_FRAME_CAPACITY bytes); returns its length.
FAKE_EXPORT std::uint16_t fake_hart_written_frame(std::uint32_t index, std::uint8_t* out)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (index >= s.written.size()) return 0;
    const auto& frame = s.written[index];
    std::memcpy(out, frame.data(), frame.size());
    return static_cast<std::uint16_t>(frame.size());
}

FAKE_EXPORT std::int32_t hart_open(const char* channelName, std::uint16_t* handle)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    ++s.counters.opens;
    std::strncpy(s.counters.lastChannel, channelName, sizeof s.counters.lastChannel - 1);
    *handle = 7;
    return s.openResult;
}

FAKE_EXPORT std::int32_t hart_configure(std::uint32_t handle, const HartPortConfig* config)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    ++s.counters.configures;
    s.counters.lastHandle = handle;
    std::memcpy(s.counters.lastConfig, config->value, sizeof s.counters.lastConfig);
    return s.configureResult;
}

FAKE_EXPORT std::int32_t hart_subscribe(std::uint32_t, std::uint32_t) { return 0; }
FAKE_EXPORT std::int32_t hart_register(std::uint32_t, void*) { return 0; }

FAKE_EXPORT std::int32_t hart_write(std::uint32_t handle, const HartMessage* message)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    ++s.counters.writes;
    s.counters.lastHandle = handle;
    s.counters.lastWriteLength = message->length;
    std::memcpy(s.counters.lastWrite, message->frame, sizeof s.counters.lastWrite);
    const std::size_t length = std::min<std::size_t>(message->length, HART_FRAME_CAPACITY);
    s.written.emplace_back(message->frame, message->frame + length);
    s.current.clear();
    s.next = 0;
    if (!s.repliesPerWrite.empty()) {
        s.current = std::move(s.repliesPerWrite.front());
        s.repliesPerWrite.pop_front();
    }
    return s.writeResult;
}

FAKE_EXPORT std::int32_t hart_read(std::uint32_t, HartMessage* message)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    ++s.counters.reads;
    const Reply* reply = nullptr;
    if (s.endless)
        reply = &s.endlessReply;
    else if (s.next < s.current.size())
        reply = &s.current[s.next++];
    if (reply == nullptr || reply->frame.empty()) {
        message->length = 0xBEEF;  // a stale length must not count when nothing was read
        return HART_NO_FRAME;
    }
    std::memcpy(message->frame, reply->frame.data(),
                std::min<std::size_t>(reply->frame.size(), HART_FRAME_CAPACITY));
    message->length = reply->length;
    return HART_OK;
}

#ifndef FAKE_WITHOUT_CLOSE
FAKE_EXPORT std::int32_t hart_close(std::uint32_t)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    ++s.counters.closes;
    return s.closeResult;
}
#endif

}  // extern "C"
