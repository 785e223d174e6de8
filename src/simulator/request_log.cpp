#include "simulator/request_log.h"

namespace sim {

void RequestLog::add(LoggedRequest entry)
{
    if (m_entries.size() == kCapacity) m_entries.pop_front();
    m_entries.push_back(std::move(entry));
    ++m_totalCount;
}

void RequestLog::clear() { m_entries.clear(); }

const std::deque<LoggedRequest>& RequestLog::entries() const { return m_entries; }

std::vector<std::uint8_t> RequestLog::commands() const
{
    std::vector<std::uint8_t> result;
    for (const LoggedRequest& entry : m_entries) {
        if (entry.addressed && entry.checksumOk) result.push_back(entry.command);
    }
    return result;
}

std::size_t RequestLog::totalCount() const { return m_totalCount; }

}  // namespace sim
