#include "hart/trace_decoder.h"

#include <bit>
#include <cmath>
#include <cstdio>

#include "hart/command_table.h"
#include "hart/field_type.h"
#include "hart/frame_layout.h"
#include "hart/packed_ascii.h"
#include "hart/response_messages.h"
#include "hart/result_codes.h"
#include "hart/trace_fields.h"
#include "hart/unit_symbols.h"
#include "resources/string_ids/hart.h"
#include "resources/string_table.h"

namespace hart {
namespace {

using tarvel::kTraceBadChecksum;
using tarvel::kTraceCommunicationError;
using tarvel::kTraceCountMismatch;
using tarvel::kTraceDeviceStatus;
using tarvel::kTraceEmptyFrame;
using tarvel::kTraceFewerData;
using tarvel::kTraceFirstStatusBit;
using tarvel::kTraceNoAnswer;
using tarvel::kTraceNone;
using tarvel::kTraceNoStatusBytes;
using tarvel::kTraceNotDecoded;
using tarvel::kTraceNotSet;
using tarvel::kTraceResponseCode;
using tarvel::kTraceShorterThanHeader;
using tarvel::kTraceSucceeded;
using tarvel::kTraceUnknownCommand;
using tarvel::kTraceUnknownDelimiter;
using tarvel::LoadTextString;

struct BitName {
    std::uint8_t mask;
    int nameId;
};

// A communication error report's bits, highest first; bit 2 is reserved.
constexpr BitName kCommunicationErrorBits[] = {
    {0x40, 2174}, {0x20, 2173}, {0x10, 2172}, {0x08, 2171}, {0x02, 2170}};
constexpr std::uint32_t kNotSetBits = 0x7FA00000;

std::string Number(long long value) { return std::to_string(value); }

std::string Hex(std::uint32_t value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::string UnitSymbol(int code) { return std::string(hart::UnitSymbol(code)); }

// %g follows LC_NUMERIC, which both programs set to the user's locale.
std::string Real(std::uint32_t bits, const std::string& unit)
{
    const float value = std::bit_cast<float>(bits);
    if (bits == kNotSetBits || std::isnan(value)) return LoadTextString(kTraceNotSet);
    char text[48];
    std::snprintf(text, sizeof text, "%.7g", static_cast<double>(value));
    return unit.empty() ? std::string(text) : std::string(text) + " " + unit;
}

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes)
{
    std::uint32_t value = 0;
    for (std::uint8_t byte : bytes) value = value << 8 | byte;
    return value;
}

std::string Joined(const std::string& names, const std::string& name)
{
    return names.empty() ? name : names + ", " + name;
}

// Decodes the data bytes by the command table's layout; false when they fall short of it.
bool DecodeFields(std::span<const std::uint8_t> data, std::span<const std::uint8_t> layout,
                  std::span<const FieldName> names, std::vector<DecodedField>& fields)
{
    std::size_t position = 0;
    int units = -1;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const auto width = static_cast<std::size_t>(FieldWidth(layout[i]));
        if (position + width > data.size()) return false;
        const auto bytes = data.subspan(position, width);
        position += width;
        const FieldName name = i < names.size() ? names[i] : FieldName{0, FieldShow::Number};
        std::string value;
        if (TextLength(layout[i]) > 0) {
            char text[33] = {};
            int textPosition = 0;
            UnpackAscii(bytes.data(), textPosition, TextLength(layout[i]), text);
            value = "\"" + std::string(text) + "\"";
        } else if (layout[i] == FT_FLOAT) {
            const std::uint32_t bits = BigEndian(bytes);
            switch (name.show) {
            case FieldShow::Current: value = Real(bits, UnitSymbol(kMilliampere)); break;
            case FieldShow::Seconds: value = Real(bits, LoadTextString(807)); break;
            case FieldShow::Value:
                value = Real(bits, units >= 0 ? UnitSymbol(units) : std::string());
                break;
            default: value = Real(bits, {}); break;
            }
        } else {
            const std::uint32_t raw = BigEndian(bytes);
            if (name.show == FieldShow::Hex) {
                value = Hex(raw, static_cast<int>(2 * width));
            } else if (name.show == FieldShow::Units) {
                units = static_cast<int>(raw);
                const std::string symbol = UnitSymbol(units);
                value = symbol.empty() ? Number(raw) : symbol + " (" + Number(raw) + ")";
            } else if (layout[i] == FT_INT16) {
                value = Number(static_cast<std::int16_t>(raw));
            } else {
                value = Number(raw);
            }
        }
        // A name the layout repeats (four variables, five status bytes) gets its ordinal.
        std::string label =
            name.nameId ? LoadTextString(name.nameId) : Number(static_cast<long long>(i + 1));
        int before = 0, total = 0;
        for (std::size_t k = 0; k < names.size(); ++k) {
            if (names[k].nameId != name.nameId) continue;
            ++total;
            if (k < i) ++before;
        }
        if (total > 1) label += " [" + Number(before + 1) + "]";
        fields.push_back({std::move(label), std::move(value)});
    }
    return true;
}

int CommandIndexOf(std::uint8_t command)
{
    const auto& table = CommandTable();
    for (int i = 0; i < kCommandCount; ++i)
        if (table[static_cast<std::size_t>(i)].command == command) return i;
    return -1;
}

}  // namespace

std::string HexBytes(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t byte : bytes) {
        if (!text.empty()) text += ' ';
        text += Hex(byte, 2);
    }
    return text;
}

std::string DeviceStatusNames(std::uint8_t status)
{
    std::string names;
    for (int bit = 7; bit >= 0; --bit)
        if ((status & (1u << bit)) != 0)
            names = Joined(names, LoadTextString(kTraceFirstStatusBit + bit));
    return names;
}

std::string CommunicationErrorNames(std::uint8_t status)
{
    std::string names;
    for (const BitName& bit : kCommunicationErrorBits)
        if ((status & bit.mask) != 0) names = Joined(names, LoadTextString(bit.nameId));
    return names;
}

std::string ResultMeaning(int commandIndex, int result)
{
    if (result == 0) return LoadTextString(kTraceSucceeded);
    if (result == RESULT_NO_ANSWER) return LoadTextString(kTraceNoAnswer);
    if ((result & kCommunicationErrorBit) != 0)
        return LoadTextString(kTraceCommunicationError) + " " +
               CommunicationErrorNames(static_cast<std::uint8_t>(result));
    if (commandIndex >= 0 && commandIndex < kCommandCount) {
        if (const auto id = ResponseMessageId(commandIndex, result)) {
            const std::string text = LoadTextString(*id);
            // Messages of several lines keep their first.
            return text.substr(0, text.find('\n'));
        }
    }
    return LoadTextString(1024);
}

DecodedFrame DecodeFrame(std::span<const std::uint8_t> frame)
{
    DecodedFrame decoded;
    auto fail = [&decoded](int reasonId) {
        decoded.problem = LoadTextString(reasonId);
        return decoded;
    };
    if (frame.empty()) return fail(kTraceEmptyFrame);
    const FrameLayout layout = FrameLayout::Of(frame[0]);
    if (layout.kind == FrameKind::Unknown) return fail(kTraceUnknownDelimiter);
    decoded.request = layout.kind == FrameKind::Request;
    const auto header = static_cast<std::size_t>(layout.dataOffset);
    if (frame.size() < header + 1) return fail(kTraceShorterThanHeader);

    decoded.command = frame[static_cast<std::size_t>(layout.commandOffset)];
    const int index = CommandIndexOf(static_cast<std::uint8_t>(decoded.command));
    decoded.commandName = Number(decoded.command);
    if (index >= 0) decoded.commandName += " " + LoadTextString(CommandNamesOf(index).nameId);

    const std::size_t count = frame[static_cast<std::size_t>(layout.countOffset)];
    if (static_cast<std::size_t>(layout.lengthOf(frame)) != frame.size())
        return fail(kTraceCountMismatch);
    if (!ChecksumMatches(frame)) return fail(kTraceBadChecksum);
    if (index < 0) return fail(kTraceUnknownCommand);

    const CommandEntry& entry = CommandTable()[static_cast<std::size_t>(index)];
    const CommandNames& names = CommandNamesOf(index);
    auto data = frame.subspan(header, count);
    if (decoded.request) {
        if (!DecodeFields(data, entry.request, names.request, decoded.fields))
            return fail(kTraceFewerData);
        return decoded;
    }

    if (data.size() < 2) return fail(kTraceNoStatusBytes);
    const std::uint8_t code = data[0];
    const std::uint8_t status = data[1];
    if ((code & kCommunicationErrorBit) != 0) {
        decoded.status =
            LoadTextString(kTraceCommunicationError) + " " + CommunicationErrorNames(code);
        decoded.shortStatus = decoded.status;
        return decoded;
    }
    const std::string statusNames = DeviceStatusNames(status);
    decoded.shortStatus = Number(code) + " " + ResultMeaning(index, code) +
                          (statusNames.empty() ? "" : ", " + statusNames);
    decoded.status = LoadTextString(kTraceResponseCode) + " " + Number(code) + " (" +
                     ResultMeaning(index, code) + "), " + LoadTextString(kTraceDeviceStatus) + " " +
                     Hex(status, 2) + " (" +
                     (statusNames.empty() ? LoadTextString(kTraceNone) : statusNames) + ")";
    // A refusal or a busy answer carries no data; that is no fault of the frame.
    if (!DecodeFields(data.subspan(2), entry.response, names.response, decoded.fields) &&
        Succeeded(code))
        decoded.problem = LoadTextString(kTraceFewerData);
    return decoded;
}

std::string DecodedLine(const DecodedFrame& decoded)
{
    std::string line = decoded.commandName;
    if (!decoded.status.empty()) line += (line.empty() ? "" : "; ") + decoded.status;
    for (std::size_t i = 0; i < decoded.fields.size(); ++i)
        line += (i == 0 ? "; " : ", ") + decoded.fields[i].name + " " + decoded.fields[i].value;
    if (!decoded.problem.empty())
        line +=
            (line.empty() ? "" : "; ") + LoadTextString(kTraceNotDecoded) + " " + decoded.problem;
    return line;
}

}  // namespace hart
