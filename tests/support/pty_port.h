#pragma once

#include <filesystem>
#include <string>

// A pseudo-terminal linked as COM<n> in a private port map folder, which the test process
// uses through TARVEL4410_PORTS_DIR for its lifetime.
class PtyPort {
public:
    explicit PtyPort(int comNumber = 0);
    ~PtyPort();

    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    int comNumber() const { return m_comNumber; }
    int masterFd() const { return m_master; }
    const std::filesystem::path& slavePath() const { return m_slavePath; }
    const std::filesystem::path& portMapDir() const { return m_dir; }

private:
    std::filesystem::path m_dir;
    std::filesystem::path m_slavePath;
    int m_master = -1;
    int m_comNumber = 0;
};

// A private port map folder, set as TARVEL4410_PORTS_DIR while it lives.
class TempPortMapDir {
public:
    TempPortMapDir();
    ~TempPortMapDir();
    const std::filesystem::path& path() const { return m_dir; }

private:
    std::filesystem::path m_dir;
};
