#include "simulator/fault_settings.h"

namespace sim {

FaultCount FaultCount::times(int count)
{
    FaultCount fault;
    fault.m_remaining = count > 0 ? count : 0;
    return fault;
}

FaultCount FaultCount::always()
{
    FaultCount fault;
    fault.m_always = true;
    return fault;
}

bool FaultCount::active() const { return m_always || m_remaining > 0; }

bool FaultCount::take()
{
    if (m_always) return true;
    if (m_remaining <= 0) return false;
    --m_remaining;
    return true;
}

int FaultCount::remaining() const { return m_remaining; }

bool FaultCount::isAlways() const { return m_always; }

}  // namespace sim
