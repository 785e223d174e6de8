// The library's C entry points. Everything else in the library stays hidden.
#pragma GCC visibility push(default)
#include "modem/hartmodem.h"
#pragma GCC visibility pop

#include <exception>

#include "modem/channel_name.h"
#include "modem/channel_table.h"
#include "serial/port_map.h"

namespace {

modem::ChannelTable& Channels()
{
    static modem::ChannelTable channels;
    return channels;
}

// Nothing may unwind through the C boundary; an allocation failure becomes an I/O error.
template <typename Body>
std::int32_t Guarded(Body body) noexcept
{
    try {
        return body();
    } catch (...) {
        return HART_ERR_IO;
    }
}

template <typename Call>
std::int32_t WithChannel(std::uint32_t handle, Call call) noexcept
{
    return Guarded([&] {
        const auto channel = Channels().find(handle);
        return channel ? call(*channel) : HART_ERR_BAD_HANDLE;
    });
}

}  // namespace

extern "C" {

// Opens "HART<n>": the device COM<n> points at in the port map, held exclusively until
// hart_close. HART_ERR_BUSY also when all channels of the process are in use.
int32_t hart_open(const char* channelName, uint16_t* handle)
{
    if (channelName == nullptr || handle == nullptr) {
        return HART_ERR_BAD_ARGUMENT;
    }
    return Guarded([&] {
        const auto comNumber = modem::ParseChannelName(channelName);
        if (!comNumber) {
            return HART_ERR_BAD_NAME;
        }
        const auto device = serial::ComDevice(*comNumber);
        if (!device) {
            return HART_ERR_NO_PORT;
        }
        std::unique_ptr<modem::ModemChannel> channel;
        if (const std::int32_t opened = modem::ModemChannel::open(*device, channel);
            opened != HART_OK) {
            return opened;
        }
        const std::uint16_t added = Channels().add(std::move(channel));
        if (added == 0) {
            return HART_ERR_BUSY;
        }
        *handle = added;
        return HART_OK;
    });
}

// See ModemChannel::configure for what the four values mean here.
int32_t hart_configure(uint32_t handle, const HartPortConfig* config)
{
    return WithChannel(handle, [&](modem::ModemChannel& channel) {
        return config != nullptr ? channel.configure(*config) : HART_ERR_BAD_ARGUMENT;
    });
}

// Event notification has no source here: answers are collected by hart_read when the
// caller polls, so there is nothing to subscribe to and no callback is ever made. Both
// accept an open channel so that a caller written for notifying drivers still works.
int32_t hart_subscribe(uint32_t handle, uint32_t /*events*/)
{
    return WithChannel(handle, [](modem::ModemChannel&) { return HART_OK; });
}

int32_t hart_register(uint32_t handle, void* /*callback*/)
{
    return WithChannel(handle, [](modem::ModemChannel&) { return HART_OK; });
}

int32_t hart_write(uint32_t handle, const HartMessage* message)
{
    return WithChannel(handle, [&](modem::ModemChannel& channel) {
        return message != nullptr ? channel.write(*message) : HART_ERR_BAD_ARGUMENT;
    });
}

// Never waits: HART_NO_FRAME when no complete answer has arrived yet (HART_RECEIVING when
// one has begun), HART_ERR_IO when the device is gone (the handle must still be closed).
int32_t hart_read(uint32_t handle, HartMessage* message)
{
    return WithChannel(handle, [&](modem::ModemChannel& channel) {
        return message != nullptr ? channel.read(*message) : HART_ERR_BAD_ARGUMENT;
    });
}

int32_t hart_close(uint32_t handle)
{
    return Guarded([&] { return Channels().remove(handle) ? HART_OK : HART_ERR_BAD_HANDLE; });
}

}  // extern "C"
