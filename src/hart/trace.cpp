#include "hart/trace.h"

#include "hart/link_environment.h"

namespace hart {

void TraceTap::record(TraceKind kind, int value, int commandIndex,
                      std::span<const std::uint8_t> frame, std::string text) const
{
    TraceSink* target = sink();
    if (target == nullptr) return;
    TraceEvent event{m_clock.now(),
                     kind,
                     value,
                     commandIndex,
                     std::vector<std::uint8_t>(frame.begin(), frame.end()),
                     std::move(text)};
    target->record(event);
}

}  // namespace hart
