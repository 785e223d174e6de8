#include "support/pty_port.h"

#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <unistd.h>

#include "serial/port_map.h"

TempPortMapDir::TempPortMapDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvel-ports-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_dir = pattern;
    setenv("TARVEL4410_PORTS_DIR", m_dir.c_str(), 1);
}

TempPortMapDir::~TempPortMapDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

PtyPort::PtyPort(int comNumber)
{
    if (const char* dir = getenv("TARVEL4410_PORTS_DIR"))
        m_dir = dir;
    else
        throw std::runtime_error("PtyPort needs a TempPortMapDir");
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        throw std::runtime_error("cannot create a pseudo-terminal");
    m_slavePath = ptsname(m_master);
    const auto linked = serial::LinkComPort(m_slavePath, comNumber);
    if (!linked) throw std::runtime_error("cannot link the pseudo-terminal");
    m_comNumber = *linked;
}

PtyPort::~PtyPort()
{
    serial::UnlinkComPort(m_comNumber, m_slavePath);
    if (m_master >= 0) close(m_master);
}
