#include "hart/frame_codec.h"

#include <bit>
#include <cstring>

#include "hart/command_table.h"
#include "hart/field_type.h"
#include "hart/frame_layout.h"
#include "hart/packed_ascii.h"

namespace hart {
namespace {

constexpr std::uint8_t kShortDelimiter = 0x02;
constexpr std::uint8_t kLongDelimiter = 0x82;
constexpr std::uint8_t kIdentityMarker = 254;
constexpr std::uint8_t kPollingAddressMask = 0x0F;
// An answer's data follow its two status bytes.
constexpr int kStatusBytes = 2;

bool IsIdentification(std::uint8_t command) { return command == 0 || command == 249; }

void PutBigEndian(std::uint8_t* dest, int& position, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        dest[position++] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetBigEndian(const std::uint8_t* source, int position, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | source[position + i];
    return value;
}

void EncodeText(const char* text, int count, std::uint8_t* dest, int& position)
{
    char upper[33] = {};
    for (int i = 0; text != nullptr && i < count && text[i] != '\0'; ++i) {
        char ch = text[i];
        upper[i] = (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
    }
    PackAscii(upper, count, dest, position);
}

}  // namespace

int FrameCodec::BuildRequest(int commandIndex, std::uint8_t* dest, FieldRefs values)
{
    const CommandEntry& entry = CommandTable().at(commandIndex);
    int position = 0;
    for (int i = 0; i < kPreambleLength; ++i) dest[position++] = kPreamble;

    const int start = position;
    shortFrame = IsIdentification(entry.command);
    if (shortFrame) {
        dest[position++] = kShortDelimiter;
        // The master and burst bits stay clear, as they always were.
        dest[position++] = pollingAddress & kPollingAddressMask;
    } else {
        dest[position++] = kLongDelimiter;
        for (std::uint8_t byte : longAddress) dest[position++] = byte;
    }
    dest[position++] = entry.command;
    dest[position++] = static_cast<std::uint8_t>(RequestDataLength(entry.request));

    for (std::size_t field = 0; field < entry.request.size(); ++field) {
        const std::uint8_t code = entry.request[field];
        const FieldRef value = field < values.size() ? values[field] : FieldRef{};
        switch (code) {
        case FT_BYTE: dest[position++] = static_cast<std::uint8_t>(value.integer()); break;
        case FT_INT16: PutBigEndian(dest, position, value.integer(), 2); break;
        case FT_INT32: PutBigEndian(dest, position, value.integer(), 4); break;
        case FT_INT24: PutBigEndian(dest, position, value.integer() & 0xFFFFFF, 3); break;
        case FT_FLOAT:
            PutBigEndian(dest, position, std::bit_cast<std::uint32_t>(value.real()), 4);
            break;
        case FT_ASCII8:
        case FT_ASCII16:
        case FT_ASCII32: EncodeText(value.text(), TextLength(code), dest, position); break;
        default: break;
        }
    }

    dest[position] =
        FrameChecksum(std::span(dest + start, static_cast<std::size_t>(position - start)));
    ++position;
    return position;
}

void FrameCodec::DecodeResponse(int commandIndex, FieldRefs destinations)
{
    if (rxLength <= 0) return;
    const CommandEntry& entry = CommandTable().at(commandIndex);
    const int received = rxLength < kFrameCapacity ? rxLength : kFrameCapacity;

    if (IsIdentification(entry.command)) {
        // The marker is the first data byte; the status bytes before it may hold any value,
        // 254 included.
        const int dataStart = FrameLayout::Of(rxFrame[0]).dataOffset + kStatusBytes;
        for (int k = dataStart; k < received; ++k) {
            // The address bytes sit at k+1, k+2 and k+9..k+11: all inside the buffer only
            // when the marker is early enough.
            if (rxFrame[k] == kIdentityMarker && k + 11 < kFrameCapacity) {
                longAddress[0] = rxFrame[k + 1] & 0x7F;
                longAddress[1] = rxFrame[k + 2];
                longAddress[2] = rxFrame[k + 9];
                longAddress[3] = rxFrame[k + 10];
                longAddress[4] = rxFrame[k + 11];
                break;
            }
        }
    }

    // Where the request's layout puts the data: the answer to a short frame is short too.
    int position =
        FrameLayout::Of(shortFrame ? kShortDelimiter : kLongDelimiter).dataOffset + kStatusBytes;
    for (std::size_t field = 0; field < entry.response.size(); ++field) {
        const std::uint8_t code = entry.response[field];
        const int width = FieldWidth(code);
        if (width == 0) continue;
        if (position + width > kFrameCapacity) break;
        const FieldRef ref = field < destinations.size() ? destinations[field] : FieldRef{};
        switch (code) {
        case FT_BYTE: ref.storeInteger(rxFrame[position]); break;
        case FT_INT16:
            ref.storeInteger(static_cast<std::uint32_t>(static_cast<std::int32_t>(
                static_cast<std::int16_t>(GetBigEndian(rxFrame.data(), position, 2)))));
            break;
        case FT_INT32:
        case FT_INT24: ref.storeInteger(GetBigEndian(rxFrame.data(), position, width)); break;
        case FT_FLOAT:
            ref.storeReal(std::bit_cast<float>(GetBigEndian(rxFrame.data(), position, 4)));
            break;
        case FT_ASCII8:
        case FT_ASCII16:
        case FT_ASCII32:
            if (char* buffer = ref.textBuffer()) {
                int textPosition = position;
                UnpackAscii(rxFrame.data(), textPosition, TextLength(code), buffer);
            }
            break;
        default: break;
        }
        position += width;
    }
}

}  // namespace hart
