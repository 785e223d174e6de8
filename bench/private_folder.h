#pragma once

#include <filesystem>
#include <stdlib.h>
#include <string>
#include <system_error>

// A folder of the benchmark's own under the temporary directory, removed at the end, so that
// nothing it runs writes into the user's settings, desktop files or port map.
class PrivateFolder {
public:
    PrivateFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvel-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) m_path = pattern;
    }
    ~PrivateFolder()
    {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    bool ok() const { return !m_path.empty(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Points the settings, desktop files, port map and runtime folders into `home`, and Qt at
// its offscreen platform unless QT_QPA_PLATFORM names one; false when a folder could not be
// made.
inline bool UsePrivateHome(const PrivateFolder& home)
{
    if (!home.ok()) return false;
    const struct {
        const char* variable;
        const char* folder;
    } homes[] = {{"XDG_CONFIG_HOME", "config"},
                 {"XDG_DATA_HOME", "data"},
                 {"TARVEL4410_PORTS_DIR", "ports"},
                 {"XDG_RUNTIME_DIR", "runtime"}};
    for (const auto& [variable, folder] : homes) {
        const auto path = home.path() / folder;
        std::error_code error;
        std::filesystem::create_directory(path, error);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all, error);
        if (error) return false;
        setenv(variable, path.c_str(), 1);
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return true;
}
