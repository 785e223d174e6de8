#include "hart/hart_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <unistd.h>

#include "hart/frame_codec.h"
#include "hart/link_environment.h"
#include "hart/trace.h"
#include "serial/port_map.h"
#include "serial/port_probe.h"

namespace hart {
namespace {

constexpr const char* kLibraryName = "libhartmodem.so.1";
constexpr const char* kLibraryEnvironment = "TARVEL4410_HART_DRIVER";
constexpr std::uint16_t kConfigValues[4] = {0, 96, 4, 6};
constexpr int kNameBufferSize = 50;

bool Tracing(const TraceTap* trace) { return trace != nullptr && trace->on(); }

template <typename Fn>
bool Resolve(void* module, const char* name, Fn& target)
{
    target = reinterpret_cast<Fn>(dlsym(module, name));
    return target != nullptr;
}

}  // namespace

CHARTDriver::CHARTDriver() = default;
CHARTDriver::~CHARTDriver() = default;

std::string CHARTDriver::LibraryPath()
{
    if (const char* path = std::getenv(kLibraryEnvironment); path && *path) return path;
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto beside = executable.parent_path() / kLibraryName;
        if (std::filesystem::exists(beside, error)) return beside.string();
    }
    return kLibraryName;
}

int CHARTDriver::LoadDriverLibrary()
{
    m_open = nullptr;
    m_configure = nullptr;
    m_subscribe = nullptr;
    m_register = nullptr;
    m_write = nullptr;
    m_read = nullptr;
    m_close = nullptr;
    m_module = dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_module == nullptr) return 0;  // no exports known: Open reports -1

    int lastMissing = 0;
    if (!Resolve(m_module, "hart_open", m_open)) lastMissing = 1;
    if (!Resolve(m_module, "hart_configure", m_configure)) lastMissing = 2;
    if (!Resolve(m_module, "hart_subscribe", m_subscribe)) lastMissing = 3;
    if (!Resolve(m_module, "hart_register", m_register)) lastMissing = 4;
    if (!Resolve(m_module, "hart_write", m_write)) lastMissing = 5;
    if (!Resolve(m_module, "hart_read", m_read)) lastMissing = 6;
    if (!Resolve(m_module, "hart_close", m_close)) lastMissing = 7;
    return lastMissing;
}

int CHARTDriver::Open(int portNumber)
{
    const int result = OpenChannel(portNumber);
    if (Tracing(m_trace)) {
        if (result == 0) {
            const auto device = serial::ComDevice(portNumber);
            m_trace->record(TraceKind::PortOpened, portNumber, -1, {},
                            device ? device->string() : std::string());
        } else {
            m_trace->record(TraceKind::PortOpenFailed, result);
        }
    }
    return result;
}

int CHARTDriver::OpenChannel(int portNumber)
{
    char channelName[kNameBufferSize];
    std::snprintf(channelName, sizeof channelName, "HART%d", portNumber);

    // Checked on every opening: the port may have been unplugged or taken meanwhile.
    if (serial::ProbeComPortForOpening(portNumber) != serial::PortState::Free) return -3;

    if (!libraryLoaded) {
        if (LoadDriverLibrary() != 0) return -3;
        if (m_open == nullptr) return -1;
        libraryLoaded = true;
    }
    m_deviceLost = false;
    return m_open(channelName, &handle);
}

int CHARTDriver::Configure()
{
    if (m_configure == nullptr) return -1;
    HartPortConfig config{};
    std::copy(std::begin(kConfigValues), std::end(kConfigValues), config.value);
    return m_configure(handle, &config);
}

int CHARTDriver::Close()
{
    const int result = m_close == nullptr ? -1 : m_close(handle);
    if (Tracing(m_trace)) m_trace->record(TraceKind::PortClosed, result);
    return result;
}

void CHARTDriver::SetTxFrame(const std::uint8_t* bytes, int count)
{
    std::memset(txMessage.frame, 0, sizeof txMessage.frame);
    count = std::clamp(count, 0, HART_FRAME_CAPACITY);
    std::memcpy(txMessage.frame, bytes, static_cast<std::size_t>(count));
    txMessage.length = static_cast<std::uint16_t>(count);
}

int CHARTDriver::Write()
{
    const int result = m_write == nullptr ? -1 : NoteLoss(m_write(handle, &txMessage));
    if (Tracing(m_trace)) {
        int preambles = 0;
        while (preambles < txMessage.length && txMessage.frame[preambles] == kPreamble) ++preambles;
        if (result == 0)
            m_trace->record(TraceKind::Request, preambles, -1,
                            {txMessage.frame + preambles, txMessage.frame + txMessage.length});
        else
            m_trace->record(TraceKind::WriteFailed, result);
    }
    return result;
}

void CHARTDriver::WaitForInput(Sleeper& sleeper, std::chrono::milliseconds longest)
{
    sleeper.sleepFor(longest);
}

int CHARTDriver::Read(std::uint8_t* dest)
{
    std::memset(rxMessage.frame, 0, sizeof rxMessage.frame);
    if (m_read == nullptr) return 0;
    const int status = NoteLoss(m_read(handle, &rxMessage));
    m_receiving = status == HART_RECEIVING;
    std::memcpy(dest, rxMessage.frame, sizeof rxMessage.frame);
    if (status != 0) return 0;
    // A driver may claim more bytes than the buffer holds; never let that length escape.
    const int length = std::min<int>(rxMessage.length, HART_FRAME_CAPACITY);
    if (length > 0 && Tracing(m_trace))
        m_trace->record(TraceKind::Answer, 0, -1, {rxMessage.frame, rxMessage.frame + length});
    return length;
}

int CHARTDriver::NoteLoss(int status)
{
    if (status == HART_ERR_IO) m_deviceLost = true;
    return status;
}

void CHARTDriver::FlushInput()
{
    if (m_read == nullptr) return;
    int dropped = 0;
    for (; dropped < kMaxFlushReads; ++dropped) {
        if (NoteLoss(m_read(handle, &rxMessage)) != 0) break;
    }
    if (Tracing(m_trace)) m_trace->record(TraceKind::InputFlushed, dropped);
}

}  // namespace hart
