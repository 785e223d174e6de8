#pragma once

#include <linux/capability.h>

// Root passes every permission check on files through two capabilities, so a folder or a
// file without write or read permission stops nobody when the tests run as root. While this
// lives, the calling thread has neither in its effective set and meets file modes as any
// user does; they stay permitted, and the destructor raises them again.
class FileModesEnforced {
public:
    FileModesEnforced();
    ~FileModesEnforced();
    FileModesEnforced(const FileModesEnforced&) = delete;
    FileModesEnforced& operator=(const FileModesEnforced&) = delete;

private:
    __user_cap_data_struct m_saved[_LINUX_CAPABILITY_U32S_3]{};
    bool m_changed = false;
};
