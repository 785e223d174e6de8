#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tarvel {

struct StringEntry {
    int id;
    std::string_view text;  // UTF-8, line breaks and tabs as real characters
};

// Every numbered user-visible text of the program, in id order.
std::span<const StringEntry> StringTable();

// The text of a numbered string; empty when no string has that id.
std::string_view LoadText(int id);

// The same, as a string of its own to build longer texts from.
inline std::string LoadTextString(int id) { return std::string(LoadText(id)); }

}  // namespace tarvel
