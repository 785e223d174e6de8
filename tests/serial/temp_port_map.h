#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

// Sets an environment variable for the life of the object and restores the old state.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

// A fresh folder removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A private port map folder and UUCP lock folder for one test.
class TempPortMap {
public:
    TempPortMap();

    std::filesystem::path portsDir() const { return m_root.path() / "ports"; }
    std::filesystem::path lockDir() const { return m_root.path() / "lock"; }
    std::filesystem::path link(int comNumber) const
    {
        return portsDir() / ("COM" + std::to_string(comNumber));
    }

private:
    TempDir m_root;
    ScopedEnv m_portsEnv;
    ScopedEnv m_lockEnv;
};

// The id of a process that has just ended: a lock file naming it is stale.
pid_t DeadProcessId();
