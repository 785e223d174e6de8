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
