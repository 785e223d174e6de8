#include "faults/file_modes_enforced.h"

#include <algorithm>
#include <iterator>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

__user_cap_header_struct ThisThread() { return {_LINUX_CAPABILITY_VERSION_3, 0}; }

bool Get(__user_cap_data_struct* data)
{
    __user_cap_header_struct header = ThisThread();
    return syscall(SYS_capget, &header, data) == 0;
}

bool Set(const __user_cap_data_struct* data)
{
    __user_cap_header_struct header = ThisThread();
    return syscall(SYS_capset, &header, data) == 0;
}

void Clear(__user_cap_data_struct* data, int capability)
{
    data[CAP_TO_INDEX(capability)].effective &= ~CAP_TO_MASK(capability);
}

}  // namespace

FileModesEnforced::FileModesEnforced()
{
    if (!Get(m_saved)) return;
    __user_cap_data_struct reduced[_LINUX_CAPABILITY_U32S_3];
    std::copy(std::begin(m_saved), std::end(m_saved), std::begin(reduced));
    Clear(reduced, CAP_DAC_OVERRIDE);
    Clear(reduced, CAP_DAC_READ_SEARCH);
    m_changed = Set(reduced);
}

FileModesEnforced::~FileModesEnforced()
{
    if (m_changed) Set(m_saved);
}
