#include "modem/channel_table.h"

namespace modem {

std::optional<std::size_t> ChannelTable::SlotOf(std::uint32_t handle)
{
    if (handle == 0 || handle > kSlots) {
        return std::nullopt;
    }
    return handle - 1;
}

std::uint16_t ChannelTable::add(std::unique_ptr<ModemChannel> channel)
{
    std::lock_guard lock(m_mutex);
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        if (!m_slots[slot]) {
            m_slots[slot] = std::move(channel);
            return static_cast<std::uint16_t>(slot + 1);
        }
    }
    return 0;
}

std::shared_ptr<ModemChannel> ChannelTable::find(std::uint32_t handle) const
{
    const auto slot = SlotOf(handle);
    std::lock_guard lock(m_mutex);
    return slot ? m_slots[*slot] : nullptr;
}

bool ChannelTable::remove(std::uint32_t handle)
{
    const auto slot = SlotOf(handle);
    std::lock_guard lock(m_mutex);
    if (!slot || !m_slots[*slot]) {
        return false;
    }
    m_slots[*slot].reset();
    return true;
}

}  // namespace modem
