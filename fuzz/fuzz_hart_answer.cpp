// The engine's side of a received frame: the answer check of a transaction, then decoding
// into the caller's variables, over any receive buffer and any claimed length.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "hart/answer_check.h"
#include "hart/command_table.h"
#include "hart/field_type.h"
#include "hart/frame_codec.h"

namespace {

using namespace hart;

std::uint8_t Xor(const FrameBuffer& frame, int count)
{
    std::uint8_t sum = 0;
    for (int i = 0; i < count; ++i) sum ^= frame[static_cast<std::size_t>(i)];
    return sum;
}

// A valid answer is one whole frame of the buffer whose checksum holds.
void CheckVerdict(const FrameBuffer& frame, int received, std::uint8_t command,
                  const AnswerCheck& check)
{
    if (check.verdict != AnswerVerdict::Valid) return;
    const bool longFrame = (frame[0] & 0x80) != 0;
    const int statusOffset = longFrame ? 8 : 4;
    const bool sound = received > statusOffset + 1 && received <= kFrameCapacity &&
                       Xor(frame, received) == 0 &&
                       frame[static_cast<std::size_t>(longFrame ? 6 : 2)] == command &&
                       check.responseCode == frame[static_cast<std::size_t>(statusOffset)];
    if (!sound) std::abort();
}

// How an input is laid out: a header, then the receive buffer's bytes (zero after them).
struct Header {
    static constexpr std::size_t kBytes = 9;

    explicit Header(const std::uint8_t* data)
        : commandIndex(data[0] % kCommandCount),
          received(static_cast<std::int16_t>(data[1] | data[2] << 8)),
          shortFrame((data[3] & 0x01) != 0), byteFieldsAsBytes((data[3] & 0x02) != 0),
          omittedFromEnd(data[4]),
          emptyMask(static_cast<std::uint32_t>(data[5] | data[6] << 8 | data[7] << 16) |
                    std::uint32_t{data[8]} << 24)
    {
    }

    int commandIndex;
    // The driver binding clamps the length to the buffer; the check must not rely on it.
    int received;
    bool shortFrame;
    bool byteFieldsAsBytes;
    std::size_t omittedFromEnd;  // destinations left out at the end of the list
    std::uint32_t emptyMask;     // bit n: destination n is an empty reference
};

// Destinations of the kinds the program passes: each one its own allocation of exactly the
// field's size, so a write past it is caught.
class Destinations {
public:
    Destinations(const CommandEntry& entry, const Header& header)
    {
        const std::size_t fields = entry.response.size();
        const std::size_t count = fields - std::min(header.omittedFromEnd, fields);
        for (std::size_t field = 0; field < count; ++field) {
            const std::uint8_t code = entry.response[field];
            if (field < 32 && (header.emptyMask >> field & 1) != 0) {
                m_refs.push_back(FieldRef{});
                continue;
            }
            switch (code) {
            case FT_BYTE:
                m_refs.push_back(header.byteFieldsAsBytes ? FieldRef{Own<std::uint8_t>(1)}
                                                          : FieldRef{Own<std::int32_t>(1)});
                break;
            case FT_FLOAT: m_refs.push_back(FieldRef{Own<float>(1)}); break;
            case FT_ASCII8:
            case FT_ASCII16:
            case FT_ASCII32: {
                char* text = Own<char>(static_cast<std::size_t>(TextLength(code)) + 1);
                m_texts.push_back({text, TextLength(code)});
                m_refs.push_back(FieldRef{text});
                break;
            }
            default: m_refs.push_back(FieldRef{Own<std::int32_t>(1)}); break;
            }
        }
    }

    FieldRefs refs() const { return m_refs; }

    // Every decoded text ends within its buffer.
    void CheckTexts() const
    {
        for (const auto& [text, length] : m_texts)
            if (std::memchr(text, '\0', static_cast<std::size_t>(length) + 1) == nullptr)
                std::abort();
    }

private:
    template <typename T>
    T* Own(std::size_t count)
    {
        auto storage = std::make_unique<std::uint8_t[]>(count * sizeof(T));
        T* value = reinterpret_cast<T*>(storage.get());
        m_storage.push_back(std::move(storage));
        return value;
    }

    std::vector<std::unique_ptr<std::uint8_t[]>> m_storage;
    std::vector<FieldRef> m_refs;
    std::vector<std::pair<char*, int>> m_texts;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < Header::kBytes) return 0;
    const Header header(data);
    const CommandEntry& entry = CommandTable()[static_cast<std::size_t>(header.commandIndex)];

    FrameCodec codec;
    codec.shortFrame = header.shortFrame;
    const std::size_t frameBytes = std::min<std::size_t>(size - Header::kBytes, kFrameCapacity);
    std::copy_n(data + Header::kBytes, frameBytes, codec.rxFrame.begin());

    const AnswerCheck check = CheckAnswerFrame(codec.rxFrame, header.received, entry.command);
    CheckVerdict(codec.rxFrame, header.received, entry.command, check);

    // Decoding is reached only after a valid answer, but must hold for any length.
    Destinations destinations(entry, header);
    codec.rxLength = header.received;
    codec.DecodeResponse(header.commandIndex, destinations.refs());
    destinations.CheckTexts();
    return 0;
}
