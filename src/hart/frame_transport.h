#pragma once

#include <chrono>
#include <cstdint>

namespace hart {

class Sleeper;

// What the transaction engine needs of a way to the device: it hands over one frame and
// picks answers up, each from its delimiter to its checksum. The serial transport goes
// through the modem driver library, the HART-IP one through a network session.
class FrameTransport {
public:
    virtual ~FrameTransport() = default;

    // 0 when closed; the engine closes after every answered transaction.
    virtual int Close() = 0;
    // The next request, preambles included; a transport that carries none drops them.
    virtual void SetTxFrame(const std::uint8_t* bytes, int count) = 0;
    virtual int Write() = 0;
    // Waits before the next read: the serial line as long as asked, a network transport
    // until something arrives or that time has passed.
    virtual void WaitForInput(Sleeper& sleeper, std::chrono::milliseconds longest) = 0;
    // Copies the received frame into dest (284 bytes); returns its length, 0 for none.
    virtual int Read(std::uint8_t* dest) = 0;
    virtual void FlushInput() = 0;
    // The way to the device has gone (unplugged, session lost) since it was opened; only a
    // new opening can reach the device again.
    virtual bool DeviceLost() const = 0;
    // The last Read found no complete frame, but one had begun to arrive.
    virtual bool Receiving() const = 0;
};

}  // namespace hart
