#include "serial/temp_port_map.h"

#include <cerrno>
#include <cstdlib>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value)
    : m_name(std::move(name))
{
    if (const char* previous = std::getenv(m_name.c_str())) {
        m_previous = previous;
    }
    if (value) {
        ::setenv(m_name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(m_name.c_str());
    }
}

ScopedEnv::~ScopedEnv()
{
    if (m_previous) {
        ::setenv(m_name.c_str(), m_previous->c_str(), 1);
    } else {
        ::unsetenv(m_name.c_str());
    }
}

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "tarvel4410-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    }
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

TempPortMap::TempPortMap()
    : m_portsEnv("TARVEL4410_PORTS_DIR", (m_root.path() / "ports").string()),
      m_lockEnv("TARVEL4410_LOCK_DIR", (m_root.path() / "lock").string())
{
    fs::create_directories(lockDir());
}

pid_t DeadProcessId()
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}
