#pragma once

#include <cstdint>
#include <string>

#include "hart/frame_transport.h"
#include "modem/hartmodem.h"

namespace hart {

class TraceTap;

// The program's binding to the HART modem driver library, loaded at run time on the first
// port opening. The library is TARVEL4410_HART_DRIVER when set, else libhartmodem.so.1
// beside the executable, else libhartmodem.so.1 from the system search path.
class CHARTDriver final : public FrameTransport {
public:
    CHARTDriver();
    ~CHARTDriver() override;  // releases nothing: the library stays loaded, the owner closes

    CHARTDriver(const CHARTDriver&) = delete;
    CHARTDriver& operator=(const CHARTDriver&) = delete;

    // 0 when the channel is open; -3 when the port is absent or busy or the library lacks
    // an export; -1 when the library cannot be loaded; else hart_open's result.
    int Open(int portNumber);
    int Configure();
    int Close() override;
    void SetTxFrame(const std::uint8_t* bytes, int count) override;
    int Write() override;
    void WaitForInput(Sleeper& sleeper, std::chrono::milliseconds longest) override;
    // Copies the received frame into dest (284 bytes); returns its length, 0 for none.
    int Read(std::uint8_t* dest) override;
    void FlushInput() override;
    // The library reported the device gone (unplugged, hung up) since the channel was opened;
    // only a new opening can reach it again.
    bool DeviceLost() const override { return m_deviceLost; }
    // The last Read found no complete frame, but one had begun to arrive.
    bool Receiving() const override { return m_receiving; }
    // Where the opening, closing, flushing and every frame written and read are recorded.
    void SetTrace(const TraceTap* trace) { m_trace = trace; }

    static constexpr int kMaxFlushReads = 12;

private:
    int OpenChannel(int portNumber);
    // 0 when all seven exports were found, else the position (1–7) of the last missing one.
    int LoadDriverLibrary();
    static std::string LibraryPath();
    // Passes a library result on, remembering when it says the device has gone.
    int NoteLoss(int status);

    std::uint16_t handle = 0;
    HartMessage txMessage{};
    HartMessage rxMessage{};
    hart_open_fn m_open = nullptr;
    hart_configure_fn m_configure = nullptr;
    hart_subscribe_fn m_subscribe = nullptr;
    hart_register_fn m_register = nullptr;
    hart_write_fn m_write = nullptr;
    hart_read_fn m_read = nullptr;
    hart_close_fn m_close = nullptr;
    void* m_module = nullptr;
    bool libraryLoaded = false;
    bool m_deviceLost = false;
    bool m_receiving = false;
    const TraceTap* m_trace = nullptr;
};

}  // namespace hart
