#pragma once

#include <span>
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

}  // namespace tarvel
