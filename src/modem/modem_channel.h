#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>

#include "modem/frame_assembler.h"
#include "modem/hartmodem.h"
#include "modem/serial_line.h"

namespace modem {

// One open HART channel: its serial line and the frames cut from what the line delivers.
// The calls return the library's result codes.
class ModemChannel {
public:
    static std::int32_t open(const std::filesystem::path& device,
                             std::unique_ptr<ModemChannel>& channel);

    std::int32_t configure(const HartPortConfig& config);
    std::int32_t write(const HartMessage& message);
    std::int32_t read(HartMessage& message);

private:
    explicit ModemChannel(std::unique_ptr<SerialLine> line) : m_line(std::move(line)) {}

    std::mutex m_mutex;
    std::unique_ptr<SerialLine> m_line;
    FrameAssembler m_assembler;
    std::vector<std::uint8_t> m_received;
};

}  // namespace modem
