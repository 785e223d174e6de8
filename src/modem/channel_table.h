#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "modem/modem_channel.h"

namespace modem {

// The open channels of the process. A handle is a slot's index + 1, so 0 is never valid.
// A channel looked up stays alive for its caller even when another thread closes it.
class ChannelTable {
public:
    static constexpr std::size_t kSlots = 16;

    // The handle, or 0 when every slot is taken.
    std::uint16_t add(std::unique_ptr<ModemChannel> channel);
    std::shared_ptr<ModemChannel> find(std::uint32_t handle) const;
    // False for a handle that is not open.
    bool remove(std::uint32_t handle);

private:
    static std::optional<std::size_t> SlotOf(std::uint32_t handle);

    mutable std::mutex m_mutex;
    std::array<std::shared_ptr<ModemChannel>, kSlots> m_slots;
};

}  // namespace modem
