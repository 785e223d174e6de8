#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hart/command_table.h"
#include "hart/frame_codec.h"
#include "hart/packed_ascii.h"

using namespace hart;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Build(FrameCodec& codec, int index, std::initializer_list<FieldRef> values = {})
{
    FrameBuffer buffer{};
    const int length =
        codec.BuildRequest(index, buffer.data(), FieldRefs(values.begin(), values.size()));
    return Bytes(buffer.begin(), buffer.begin() + length);
}

void Receive(FrameCodec& codec, const Bytes& answer)
{
    codec.rxFrame.fill(0);
    std::copy(answer.begin(), answer.end(), codec.rxFrame.begin());
    codec.rxLength = static_cast<int>(answer.size());
}

struct AsciiVector {
    const char* text;
    int count;
    Bytes packed;
    const char* unpacked;
};

}  // namespace

TEST(PackedAscii, VectorsPackAndUnpack)
{
    // "ABC" from the program's own documentation; the other two produced by an independent
    // HART implementation.
    const AsciiVector vectors[] = {
        {"ABC", 8, {0x04, 0x20, 0xE0, 0x82, 0x08, 0x20}, "ABC     "},
        {"TT-101", 8, {0x51, 0x4B, 0x71, 0xC3, 0x18, 0x20}, "TT-101  "},
        {"ABCDEFGHIJKLMNOP",
         16,
         {0x04, 0x20, 0xC4, 0x14, 0x61, 0xC8, 0x24, 0xA2, 0xCC, 0x34, 0xE3, 0xD0},
         "ABCDEFGHIJKLMNOP"},
    };
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.text);
        std::uint8_t out[32] = {};
        int position = 2;
        PackAscii(v.text, v.count, out, position);
        EXPECT_EQ(position, 2 + v.count * 3 / 4);
        EXPECT_EQ(Bytes(out + 2, out + position), v.packed);

        char text[33];
        int readPosition = 0;
        UnpackAscii(v.packed.data(), readPosition, v.count, text);
        EXPECT_EQ(readPosition, v.count * 3 / 4);
        EXPECT_STREQ(text, v.unpacked);
    }
}

TEST(PackedAscii, ThirtyTwoCharactersRoundTripWithPunctuation)
{
    const char* text = "0123456789 :;<=>?@[\\]^_!\"#$%&'()";
    std::uint8_t packed[24];
    int position = 0;
    PackAscii(text, 32, packed, position);
    char back[33];
    int readPosition = 0;
    UnpackAscii(packed, readPosition, 32, back);
    EXPECT_EQ(position, 24);
    EXPECT_STREQ(back, text);
}

TEST(CommandTable, NumbersAndRequestLengths)
{
    const int numbers[kCommandCount] = {0,   3,   13,  14,  15,  16,  18,  33,  34,  35,
                                        40,  42,  44,  45,  46,  48,  130, 131, 139, 140,
                                        141, 142, 145, 150, 151, 155, 162, 189, 195, 249};
    // Request data bytes per index: only the writes and the addressed reads carry data.
    const int requestLengths[kCommandCount] = {0, 0, 0, 0, 0, 0, 21, 4, 4, 9, 4,  0, 1, 4, 4,
                                               0, 5, 5, 7, 1, 3, 2,  2, 0, 1, 16, 1, 0, 4, 0};
    const int responseLengths[kCommandCount] = {12, 24, 21, 16, 17, 3,  21, 24, 4, 9,
                                                4,  0,  1,  4,  4,  5,  5,  5,  7, 3,
                                                3,  19, 2,  1,  1,  16, 1,  16, 4, 12};
    for (int i = 0; i < kCommandCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(CommandTable()[i].command, numbers[i]);
        EXPECT_EQ(RequestDataLength(CommandTable()[i].request), requestLengths[i]);
        EXPECT_EQ(RequestDataLength(CommandTable()[i].response), responseLengths[i]);
    }
}

TEST(CommandTable, UnknownFieldCodeAddsNothing)
{
    const std::uint8_t layout[] = {0, 9, 3, 200, 7};
    EXPECT_EQ(RequestDataLength(layout), 1 + 4 + 3);
}

TEST(BuildRequest, IdentificationIsShortFrameWhateverTheAddress)
{
    FrameCodec codec;
    codec.longAddress = {0x19, 0xFC, 1, 2, 3};
    // 6 preambles | 02 short delimiter | 00 poll address | F9 command 249 | 00 count | FB checksum
    EXPECT_EQ(Build(codec, CMD_IDENTIFY),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0xF9, 0x00, 0xFB}));
    EXPECT_TRUE(codec.shortFrame);
    // Command 0 goes the same way.
    EXPECT_EQ(Build(codec, CMD_READ_UNIQUE_ID),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00, 0x02}));
}

// In a multidrop loop the short frame carries the polling address in the low four bits, the
// master and burst bits still clear; long frames never carry it.
TEST(BuildRequest, PollingAddressGoesIntoTheShortFrameOnly)
{
    const struct {
        std::uint8_t address;
        int command;
        Bytes frame;
    } cases[] = {
        {7, CMD_IDENTIFY, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x07, 0xF9, 0x00, 0xFC}},
        {15,
         CMD_READ_UNIQUE_ID,
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x0F, 0x00, 0x00, 0x0D}},
        {7,
         CMD_READ_RANGE,
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x82, 0x19, 0xFC, 1, 2, 3, 0x0F, 0x00, 0x68}},
    };
    for (const auto& c : cases) {
        FrameCodec codec;
        codec.longAddress = {0x19, 0xFC, 1, 2, 3};
        codec.pollingAddress = c.address;
        EXPECT_EQ(Build(codec, c.command), c.frame) << int{c.address} << " " << c.command;
    }
}

TEST(BuildRequest, LongFrameCarriesStoredAddressAndEmptyLayoutChecksum)
{
    FrameCodec codec;
    // Before any identification the address is all zero.
    // preambles | 82 | 00 00 00 00 00 | 0F command 15 | 00 count | checksum 82^0F = 8D
    EXPECT_EQ(Build(codec, CMD_READ_RANGE),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x82, 0, 0, 0, 0, 0, 0x0F, 0x00, 0x8D}));
    EXPECT_FALSE(codec.shortFrame);

    codec.longAddress = {0x19, 0xFC, 0x0A, 0x1B, 0x2C};
    const Bytes frame = Build(codec, CMD_READ_RANGE);
    ASSERT_EQ(frame.size(), 15u);
    EXPECT_EQ(Bytes(frame.begin() + 6, frame.begin() + 12),
              (Bytes{0x82, 0x19, 0xFC, 0x0A, 0x1B, 0x2C}));
    EXPECT_EQ(frame.back(), 0x82 ^ 0x19 ^ 0xFC ^ 0x0A ^ 0x1B ^ 0x2C ^ 0x0F ^ 0x00);
}

TEST(BuildRequest, FieldsEncodedMostSignificantFirst)
{
    FrameCodec codec;
    std::int32_t units = 32;
    float upper = 100.0f;   // 0x42C80000
    float lower = -200.0f;  // 0xC3480000
    const Bytes frame = Build(codec, CMD_WRITE_RANGE, {&units, &upper, &lower});
    ASSERT_EQ(frame.size(), 15u + 9u);
    // count 09 | units 20 | 42 C8 00 00 | C3 48 00 00
    EXPECT_EQ(Bytes(frame.begin() + 13, frame.end() - 1),
              (Bytes{0x09, 0x20, 0x42, 0xC8, 0x00, 0x00, 0xC3, 0x48, 0x00, 0x00}));

    std::int32_t zero24 = 0x12345678;  // only the low 24 bits travel
    std::int32_t protect = 1;
    const Bytes wp = Build(codec, CMD_WRITE_PROTECT, {&zero24, &protect});
    EXPECT_EQ(Bytes(wp.begin() + 13, wp.end() - 1), (Bytes{0x04, 0x34, 0x56, 0x78, 0x01}));

    std::int32_t big = 0x1FE;  // a byte field takes the low 8 bits
    const Bytes filter = Build(codec, CMD_WRITE_LINE_FILTER, {&big});
    EXPECT_EQ(filter[14], 0xFE);
}

TEST(BuildRequest, TagUpperCasedPaddedAndCut)
{
    FrameCodec codec;
    std::int32_t day = 1, month = 2, year = 3;
    const auto tagBytes = [&](const char* tag) {
        const Bytes frame = Build(codec, CMD_WRITE_TAG, {tag, "", &day, &month, &year});
        EXPECT_EQ(frame.size(), 15u + 21u);
        return Bytes(frame.begin() + 14, frame.begin() + 20);
    };
    EXPECT_EQ(tagBytes("tt-101"), (Bytes{0x51, 0x4B, 0x71, 0xC3, 0x18, 0x20}));
    EXPECT_EQ(tagBytes("abc"), (Bytes{0x04, 0x20, 0xE0, 0x82, 0x08, 0x20}));
    EXPECT_EQ(tagBytes("TT-101XYZQ"), tagBytes("TT-101XY"));
    const Bytes frame = Build(codec, CMD_WRITE_TAG, {"A", "", &day, &month, &year});
    EXPECT_EQ(Bytes(frame.end() - 4, frame.end() - 1), (Bytes{1, 2, 3}));
}

TEST(DecodeResponse, NothingBeforeTheFirstValidAnswer)
{
    FrameCodec codec;
    std::int32_t code = 77;
    float value = 1.5f;
    codec.rxFrame.fill(0xAB);
    codec.DecodeResponse(CMD_READ_RANGE, std::initializer_list<FieldRef>{&code, {}, {}, &value});
    EXPECT_EQ(code, 77);
    EXPECT_EQ(value, 1.5f);
}

TEST(DecodeResponse, SkippedFieldsStillConsumeTheirBytes)
{
    FrameCodec codec;
    codec.shortFrame = false;
    // 86 | address | 0F | count 17 | rc 00 | status 00 | alarm 01 | tf 00 | units 20 |
    // URV 42C80000 | LRV 00000000 | damping 3F800000 | wp 01 | pld FA | checksum
    Receive(codec, {0x86, 0x99, 0xFC, 1, 2, 3, 0x0F, 17,   0,    0, 0x01, 0x00, 0x20, 0x42,
                    0xC8, 0,    0,    0, 0, 0, 0,    0x3F, 0x80, 0, 0,    0x01, 0xFA, 0x00});
    std::int32_t alarm = -1, units = -1, protect = -1;
    float upper = 0, damping = 0;
    codec.DecodeResponse(CMD_READ_RANGE, std::initializer_list<FieldRef>{
                                             &alarm, {}, &units, &upper, {}, &damping, &protect});
    EXPECT_EQ(alarm, 1);
    EXPECT_EQ(units, 32);
    EXPECT_EQ(upper, 100.0f);
    EXPECT_EQ(damping, 1.0f);
    EXPECT_EQ(protect, 1);
}

TEST(DecodeResponse, TextKeepsTrailingSpacesAndInt24)
{
    FrameCodec codec;
    codec.shortFrame = false;
    Bytes answer = {0x86, 0x99, 0xFC, 1,    2,    3,    13,   23,
                    0,    0,    0x51, 0x4B, 0x71, 0xC3, 0x18, 0x20};  // "TT-101  "
    for (int i = 0; i < 12; ++i) answer.push_back(0x82);              // descriptor
    answer.insert(answer.end(), {9, 12, 125, 0});  // day, month, year, checksum (unchecked here)
    Receive(codec, answer);
    char tag[9];
    std::uint8_t day = 0, month = 0, year = 0;
    codec.DecodeResponse(CMD_READ_TAG,
                         std::initializer_list<FieldRef>{tag, {}, &day, &month, &year});
    EXPECT_STREQ(tag, "TT-101  ");
    EXPECT_EQ(day, 9);
    EXPECT_EQ(month, 12);
    EXPECT_EQ(year, 125);

    Receive(codec, {0x86, 0x99, 0xFC, 1, 2, 3, 16, 5, 0, 0, 0xFE, 0xDC, 0xBA, 0});
    std::int32_t number = 0;
    codec.DecodeResponse(CMD_READ_ASSEMBLY_NUMBER, std::initializer_list<FieldRef>{&number});
    EXPECT_EQ(number, 0xFEDCBA);
}

TEST(DecodeResponse, IdentificationCapturesLongAddressWithMasterBitCleared)
{
    FrameCodec codec;
    codec.shortFrame = true;
    // 06 | 80 | F9 | 0E | rc 00 | st 00 | FE | mfr E9 (bits 7 and 6 set) | type FC | 05 05 02 03 21
    // | flags 00 | id 0A 1B 2C
    Receive(codec, {0x06, 0x80, 0xF9, 0x0E, 0, 0, 0xFE, 0xE9, 0xFC, 5, 5, 2, 3, 0x21, 0, 0x0A, 0x1B,
                    0x2C, 0});
    std::int32_t manufacturer = 0, id = 0;
    codec.DecodeResponse(CMD_IDENTIFY, std::initializer_list<FieldRef>{
                                           {}, &manufacturer, {}, {}, {}, {}, {}, {}, {}, &id});
    EXPECT_EQ(codec.longAddress, (LongAddress{0x69, 0xFC, 0x0A, 0x1B, 0x2C}));
    EXPECT_EQ(manufacturer, 0xE9);
    EXPECT_EQ(id, 0x0A1B2C);
}

TEST(DecodeResponse, IdentificationWithoutMarkerKeepsAddress)
{
    FrameCodec codec;
    codec.longAddress = {1, 2, 3, 4, 5};
    codec.shortFrame = true;
    Receive(codec, {0x06, 0x80, 0xF9, 0x04, 0, 0, 0x11, 0x22, 0x33});
    codec.DecodeResponse(CMD_IDENTIFY, std::initializer_list<FieldRef>{});
    EXPECT_EQ(codec.longAddress, (LongAddress{1, 2, 3, 4, 5}));
}

TEST(DecodeResponse, FloatBitsSurviveUnchanged)
{
    FrameCodec codec;
    codec.shortFrame = false;
    // Four floats of command 189, one of them HART's not-a-number 7FA00000.
    Receive(codec, {0x86, 0,    0, 0, 0,    0,    189, 18, 0,    0,    0x41, 0xA8, 0, 0,
                    0x40, 0x60, 0, 0, 0x7F, 0xA0, 0,   0,  0x40, 0x6C, 0xCC, 0xCD, 0});
    float levels[4];
    codec.DecodeResponse(
        CMD_READ_ALARM_LEVELS,
        std::initializer_list<FieldRef>{&levels[0], &levels[1], &levels[2], &levels[3]});
    EXPECT_EQ(levels[0], 21.0f);
    EXPECT_EQ(levels[1], 3.5f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(levels[2]), 0x7FA00000u);
    EXPECT_EQ(levels[3], 3.7f);
}
