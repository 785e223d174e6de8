#include "simulator/hart_test_frames.h"

#include <cstring>

namespace simtest {

namespace {

Bytes Frame(std::uint8_t delimiter, const Bytes& address, std::uint8_t command, const Bytes& data)
{
    Bytes frame(6, 0xFF);
    Bytes body{delimiter};
    body.insert(body.end(), address.begin(), address.end());
    body.push_back(command);
    body.push_back(static_cast<std::uint8_t>(data.size()));
    body.insert(body.end(), data.begin(), data.end());
    std::uint8_t checksum = 0;
    for (std::uint8_t b : body) checksum ^= b;
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(checksum);
    return frame;
}

}  // namespace

Bytes ShortRequest(std::uint8_t command, std::uint8_t pollAddress, const Bytes& data)
{
    return Frame(0x02, {pollAddress}, command, data);
}

Bytes LongRequest(std::uint8_t command, const Bytes& data,
                  const std::array<std::uint8_t, 5>& address)
{
    return Frame(0x82, Bytes(address.begin(), address.end()), command, data);
}

std::vector<Answer> SplitAnswers(const Bytes& bytes)
{
    std::vector<Answer> answers;
    std::size_t i = 0;
    while (i < bytes.size()) {
        Answer answer;
        while (i < bytes.size() && bytes[i] == 0xFF) {
            ++answer.preambles;
            ++i;
        }
        const std::size_t start = i;
        if (i >= bytes.size()) break;
        answer.delimiter = bytes[i++];
        const std::size_t addressLength = (answer.delimiter & 0x80) ? 5 : 1;
        if (i + addressLength + 2 > bytes.size()) break;
        answer.address.assign(bytes.begin() + static_cast<long>(i),
                              bytes.begin() + static_cast<long>(i + addressLength));
        i += addressLength;
        answer.command = bytes[i++];
        answer.byteCount = bytes[i++];
        if (answer.byteCount < 2 || i + answer.byteCount + 1 > bytes.size()) break;
        answer.responseCode = bytes[i];
        answer.deviceStatus = bytes[i + 1];
        answer.data.assign(bytes.begin() + static_cast<long>(i + 2),
                           bytes.begin() + static_cast<long>(i + answer.byteCount));
        i += answer.byteCount;
        std::uint8_t checksum = 0;
        for (std::size_t k = start; k < i; ++k) checksum ^= bytes[k];
        answer.checksumOk = checksum == bytes[i++];
        answers.push_back(answer);
    }
    return answers;
}

Bytes Float(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return {static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
            static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::uint32_t UnsignedAt(const Bytes& bytes, std::size_t offset, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < count; ++k)
        value = (value << 8) | (offset + k < bytes.size() ? bytes[offset + k] : 0);
    return value;
}

std::uint32_t BitsAt(const Bytes& bytes, std::size_t offset)
{
    return UnsignedAt(bytes, offset, 4);
}

float FloatAt(const Bytes& bytes, std::size_t offset)
{
    const std::uint32_t bits = BitsAt(bytes, offset);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

Bytes Pack(const std::string& text, std::size_t charCount)
{
    Bytes out;
    for (std::size_t i = 0; i < charCount; i += 4) {
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = i + k < text.size() ? text[i + k] : ' ';
            group = (group << 6) | (static_cast<unsigned char>(c) & 0x3F);
        }
        out.push_back(static_cast<std::uint8_t>(group >> 16));
        out.push_back(static_cast<std::uint8_t>(group >> 8));
        out.push_back(static_cast<std::uint8_t>(group));
    }
    return out;
}

std::string Unpack(const Bytes& bytes, std::size_t offset, std::size_t charCount)
{
    std::string text;
    for (std::size_t i = 0; i < charCount; i += 4) {
        const std::uint32_t group = UnsignedAt(bytes, offset + i / 4 * 3, 3);
        for (int shift = 18; shift >= 0; shift -= 6) {
            const auto code = static_cast<char>((group >> shift) & 0x3F);
            text.push_back(code < 32 ? static_cast<char>(code + 64) : code);
        }
    }
    return text;
}

}  // namespace simtest
