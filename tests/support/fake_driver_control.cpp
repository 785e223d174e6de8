#include "support/fake_driver_control.h"

#include <cstdlib>
#include <dlfcn.h>
#include <stdexcept>

namespace {

template <typename Fn>
Fn Symbol(void* module, const char* name)
{
    auto fn = reinterpret_cast<Fn>(dlsym(module, name));
    if (fn == nullptr) throw std::runtime_error(std::string("fake driver lacks ") + name);
    return fn;
}

}  // namespace

std::string FakeDriverControl::LibraryPath(const std::string& libraryFile)
{
    const char* dir = std::getenv("TARVEL4410_BIN_DIR");
    return std::string(dir ? dir : ".") + "/" + libraryFile;
}

FakeDriverControl::FakeDriverControl(const std::string& libraryFile)
{
    const std::string path = LibraryPath(libraryFile);
    setenv("TARVEL4410_HART_DRIVER", path.c_str(), 1);
    m_module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_module == nullptr) throw std::runtime_error("cannot load " + path);
    Symbol<void (*)()>(m_module, "fake_hart_reset")();
}

FakeDriverControl::~FakeDriverControl()
{
    if (m_module) dlclose(m_module);
}

void FakeDriverControl::setResults(int open, int configure, int write, int close)
{
    Symbol<void (*)(std::int32_t, std::int32_t, std::int32_t, std::int32_t)>(
        m_module, "fake_hart_set_results")(open, configure, write, close);
}

void FakeDriverControl::scriptWrite(const std::vector<std::vector<std::uint8_t>>& replies)
{
    Symbol<void (*)()>(m_module, "fake_hart_begin_write_script")();
    for (const auto& frame : replies) addReply(frame, static_cast<std::uint16_t>(frame.size()));
}

void FakeDriverControl::addReply(const std::vector<std::uint8_t>& frame,
                                 std::uint16_t claimedLength)
{
    Symbol<void (*)(const std::uint8_t*, std::uint16_t, std::uint16_t)>(
        m_module, "fake_hart_add_reply")(frame.data(), static_cast<std::uint16_t>(frame.size()),
                                         claimedLength);
}

void FakeDriverControl::setEndlessReply(const std::vector<std::uint8_t>& frame)
{
    Symbol<void (*)(const std::uint8_t*, std::uint16_t)>(m_module, "fake_hart_set_endless_reply")(
        frame.data(), static_cast<std::uint16_t>(frame.size()));
}

FakeHartCounters FakeDriverControl::counters() const
{
    FakeHartCounters out{};
    Symbol<void (*)(FakeHartCounters*)>(m_module, "fake_hart_counters")(&out);
    return out;
}

std::vector<std::vector<std::uint8_t>> FakeDriverControl::writtenFrames() const
{
    const auto count = Symbol<std::uint32_t (*)()>(m_module, "fake_hart_written_count")();
    const auto frame = Symbol<std::uint16_t (*)(std::uint32_t, std::uint8_t*)>(
        m_module, "fake_hart_written_frame");
    std::vector<std::vector<std::uint8_t>> frames;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t buffer[HART_FRAME_CAPACITY] = {};
        const std::uint16_t length = frame(i, buffer);
        frames.emplace_back(buffer, buffer + length);
    }
    return frames;
}
