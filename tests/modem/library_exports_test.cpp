#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "modem/hartmodem.h"

namespace {

const char* const kExports[] = {"hart_open",  "hart_configure", "hart_subscribe", "hart_register",
                                "hart_write", "hart_read",      "hart_close"};

// The names a shared object defines for others: global or weak symbols of its dynamic
// symbol table that are not merely references.
std::vector<std::string> DefinedDynamicSymbols(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> image((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    Elf64_Ehdr header{};
    if (image.size() < sizeof header) {
        return {};
    }
    std::memcpy(&header, image.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 ||
        header.e_shoff + std::size_t{header.e_shnum} * sizeof(Elf64_Shdr) > image.size()) {
        return {};
    }
    auto section = [&](std::size_t index) {
        Elf64_Shdr entry{};
        std::memcpy(&entry, image.data() + header.e_shoff + index * sizeof entry, sizeof entry);
        return entry;
    };
    std::vector<std::string> names;
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        const Elf64_Shdr symbols = section(i);
        if (symbols.sh_type != SHT_DYNSYM || symbols.sh_link >= header.e_shnum ||
            symbols.sh_offset + symbols.sh_size > image.size()) {
            continue;
        }
        const Elf64_Shdr strings = section(symbols.sh_link);
        for (std::size_t offset = 0; offset + sizeof(Elf64_Sym) <= symbols.sh_size;
             offset += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol{};
            std::memcpy(&symbol, image.data() + symbols.sh_offset + offset, sizeof symbol);
            const int binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK) ||
                symbol.st_name >= strings.sh_size ||
                strings.sh_offset + strings.sh_size > image.size()) {
                continue;
            }
            names.emplace_back(image.data() + strings.sh_offset + symbol.st_name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LibraryExportsTest, ExactlyTheSevenEntryPointsAreExported)
{
    std::vector<std::string> expected(std::begin(kExports), std::end(kExports));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(DefinedDynamicSymbols(HARTMODEM_LIBRARY), expected);
}

TEST(LibraryExportsTest, LoadsAndResolvesThroughDlopen)
{
    void* library = ::dlopen(HARTMODEM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    for (const char* name : kExports) {
        EXPECT_NE(::dlsym(library, name), nullptr) << name;
    }
    // The library's own parts, the serial code linked into it, the C++ runtime's inline code.
    const char* const internals[] = {
        "_ZN5modem14FrameAssembler5resetEv", "_ZN6serial10PortMapDirEv",
        "_ZN6serial13ProbeComPortEi",
        "_ZN5modem16ParseChannelNameESt17basic_string_viewIcSt11char_traitsIcEE"};
    for (const char* name : internals) {
        EXPECT_EQ(::dlsym(library, name), nullptr) << name;
    }

    // Through the loaded pointer the library answers like the linked one.
    const auto open = reinterpret_cast<hart_open_fn>(::dlsym(library, "hart_open"));
    const auto close = reinterpret_cast<hart_close_fn>(::dlsym(library, "hart_close"));
    ASSERT_NE(open, nullptr);
    ASSERT_NE(close, nullptr);
    std::uint16_t handle = 0;
    EXPECT_EQ(open("COM1", &handle), HART_ERR_BAD_NAME);
    EXPECT_EQ(close(0), HART_ERR_BAD_HANDLE);
    ::dlclose(library);
}

}  // namespace
