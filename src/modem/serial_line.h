#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "serial/device_lock.h"
#include "serial/unique_fd.h"

namespace modem {

// One serial device set up for HART (1200 baud, 8 data bits, odd parity, 1 stop bit, raw)
// and held exclusively. Never blocks on reading; writing keys the modem's carrier with RTS
// where the device has modem lines.
class SerialLine {
public:
    enum class Status { Ok, Failed };

    // Writing a whole frame takes 2.6 s at most at 1200 baud; this bounds a stuck line.
    static constexpr std::chrono::milliseconds kWriteTimeout{5000};

    // Fails as Failed also when the device is no terminal or refuses the HART settings.
    static std::unique_ptr<SerialLine> open(const std::filesystem::path& device,
                                            serial::DeviceOpenFailure& failure);
    ~SerialLine();
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // Drops what arrived and was not read yet.
    void discardInput();
    // RTS on, every byte out and drained, RTS off.
    Status write(std::span<const std::uint8_t> bytes);
    // Appends what has arrived; Failed when the device is gone or hung up.
    Status readAvailable(std::vector<std::uint8_t>& into);

    bool hasModemLines() const { return m_hasModemLines; }

private:
    explicit SerialLine(serial::UniqueFd fd) : m_fd(std::move(fd)) {}

    bool applyHartSettings();
    Status setRts(bool on);
    Status writeAll(std::span<const std::uint8_t> bytes);

    serial::UniqueFd m_fd;
    bool m_hasModemLines = true;
};

}  // namespace modem
