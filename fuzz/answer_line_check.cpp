#include "answer_line_check.h"

#include <cstdlib>

void CheckAnswerLine(const std::vector<std::uint8_t>& line, bool checksumMayBeSpoilt)
{
    std::size_t at = 0;
    while (at < line.size()) {
        std::size_t preambles = 0;
        while (at < line.size() && line[at] == 0xFF) {
            ++preambles;
            ++at;
        }
        if (preambles < 2 || at >= line.size()) std::abort();
        const std::size_t start = at;
        const std::uint8_t delimiter = line[at];
        if ((delimiter & 0x7F) != 0x06 && (delimiter & 0x7F) != 0x01) std::abort();
        const std::size_t countAt = at + 1 + ((delimiter & 0x80) != 0 ? 5 : 1) + 1;
        if (countAt >= line.size()) std::abort();
        const std::size_t end = countAt + 1 + line[countAt] + 1;
        if (end > line.size() || line[countAt] < 2) std::abort();
        std::uint8_t sum = 0;
        for (std::size_t i = start; i < end; ++i) sum ^= line[i];
        if (sum != 0 && !checksumMayBeSpoilt) std::abort();
        at = end;
    }
}
