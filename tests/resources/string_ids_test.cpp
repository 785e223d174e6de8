#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/string_table.h"

namespace {

namespace fs = std::filesystem;

struct NamedId {
    std::string name;
    int id;
    std::string file;
};

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<fs::path> IdHeaders()
{
    const fs::path resources = SOURCE_ROOT "/resources";
    std::vector<fs::path> headers = {resources / "string_ids.h"};
    for (const auto& entry : fs::directory_iterator(resources / "string_ids"))
        headers.push_back(entry.path());
    return headers;
}

// Every id of the headers; a line that is neither an id nor a comment, blank or the
// namespace fails the test, so that no id escapes the checks below.
std::vector<NamedId> HeaderIds()
{
    static const std::regex idLine(R"(constexpr int (k\w+) = (\d+);\s*(//.*)?)");
    static const std::regex otherLine(
        R"(\s*(//.*)?|#pragma once|namespace tarvel \{|\}  // namespace tarvel)");
    std::vector<NamedId> ids;
    for (const fs::path& header : IdHeaders()) {
        std::istringstream lines(ReadFile(header));
        for (std::string line; std::getline(lines, line);) {
            std::smatch match;
            if (std::regex_match(line, match, idLine))
                ids.push_back({match[1], std::stoi(match[2]), header.filename().string()});
            else
                EXPECT_TRUE(std::regex_match(line, otherLine)) << header << ": " << line;
        }
    }
    return ids;
}

TEST(StringIds, EveryNamedIdHasItsText)
{
    const auto ids = HeaderIds();
    ASSERT_FALSE(ids.empty());
    for (const NamedId& id : ids) EXPECT_FALSE(tarvel::LoadText(id.id).empty()) << id.name;
}

TEST(StringIds, EachNameMeansOneIdAndEachIdHasOneName)
{
    std::map<std::string, NamedId> byName;
    std::map<int, NamedId> byId;
    for (const NamedId& id : HeaderIds()) {
        const auto [name, newName] = byName.emplace(id.name, id);
        EXPECT_TRUE(newName) << id.name << " in " << id.file << " and " << name->second.file;
        const auto [sameId, newId] = byId.emplace(id.id, id);
        EXPECT_TRUE(newId) << id.id << " is " << id.name << " and " << sameId->second.name;
    }
}

// A local constant under a header's name gives the name a second meaning in that file.
TEST(StringIds, NoSourceDefinesANamedIdAgain)
{
    std::map<std::string, int> names;
    for (const NamedId& id : HeaderIds()) names.emplace(id.name, id.id);
    ASSERT_FALSE(names.empty());
    static const std::regex definition(R"(\b(k\w+)\s*(=|\{)\s*\d+)");
    for (const auto& entry : fs::recursive_directory_iterator(SOURCE_ROOT "/src")) {
        if (!entry.is_regular_file()) continue;
        const std::string text = ReadFile(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), definition), end; it != end; ++it) {
            EXPECT_FALSE(names.contains((*it)[1])) << entry.path() << ": " << it->str();
        }
    }
}

}  // namespace
