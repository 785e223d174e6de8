#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "hart/answer_check.h"
#include "hart/hart_link.h"

using namespace hart;
using Bytes = std::vector<std::uint8_t>;

namespace {

FrameBuffer Buffer(const Bytes& frame)
{
    FrameBuffer buffer{};
    std::copy(frame.begin(), frame.end(), buffer.begin());
    return buffer;
}

// Command 15 answers, without preambles, checksum last.
// 86 | 99 FC 0A 1B 2C | 0F | 04 | 08 40 | 00 00 | xor
const Bytes kLongWarning{0x86, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 0x0F,
                         0x04, 0x08, 0x40, 0x00, 0x00, 0x9D};
// 06 | 80 | 0F | 02 | 00 10 | xor
const Bytes kShortAnswer{0x06, 0x80, 0x0F, 0x02, 0x00, 0x10, 0x9B};
// The long answer with response code 32 (busy) and 0x88 (communication error); the checksum
// does not matter for these.
const Bytes kLongBusy{0x86, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 0x0F, 0x02, 0x20, 0x00, 0x00};
const Bytes kLongCommError{0x86, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 0x0F, 0x02, 0x88, 0x00, 0x00};
// A burst frame (delimiter 0x81) of command 15 with a correct checksum.
const Bytes kBurst{0x81, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 0x0F, 0x02, 0x00, 0x00, 0xD4};

Bytes WithChecksumByte(Bytes frame, std::uint8_t checksum)
{
    frame.back() = checksum;
    return frame;
}

struct CheckCase {
    const char* name;
    Bytes frame;
    int received;
    std::uint8_t command;
    AnswerVerdict verdict;
    int pendingResult;
};

}  // namespace

TEST(AnswerCheck, VerdictAndPendingResultPerFrame)
{
    const int longLength = static_cast<int>(kLongWarning.size());
    const int shortLength = static_cast<int>(kShortAnswer.size());
    const CheckCase cases[] = {
        {"long answer", kLongWarning, longLength, 15, AnswerVerdict::Valid, 0},
        {"short answer", kShortAnswer, shortLength, 15, AnswerVerdict::Valid, 0},
        {"busy", kLongBusy, 11, 15, AnswerVerdict::EndAttempt, RESULT_BUSY},
        {"communication error", kLongCommError, 11, 15, AnswerVerdict::EndAttempt, 0x88},
        {"burst frame", kBurst, 11, 15, AnswerVerdict::Skip, 0},
        {"answer to another command", kLongWarning, longLength, 16, AnswerVerdict::Skip, 0},
        {"wrong checksum", WithChecksumByte(kLongWarning, 0x9C), longLength, 15,
         AnswerVerdict::Skip, RESULT_BAD_CHECKSUM},
        // A long frame cut before its status bytes, whose bytes happen to XOR to zero.
        {"too short",
         {0x86, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 0x0F, 0xD1},
         8,
         15,
         AnswerVerdict::Skip,
         RESULT_BAD_CHECKSUM},
        {"length beyond the buffer", kLongWarning, kFrameCapacity + 1, 15, AnswerVerdict::Skip,
         RESULT_BAD_CHECKSUM},
        {"huge length", kLongWarning, 1 << 30, 15, AnswerVerdict::Skip, RESULT_BAD_CHECKSUM},
        {"negative length", kLongWarning, -5, 15, AnswerVerdict::Skip, RESULT_BAD_CHECKSUM},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        const AnswerCheck check = CheckAnswerFrame(Buffer(c.frame), c.received, c.command);
        EXPECT_EQ(check.verdict, c.verdict);
        EXPECT_EQ(check.pendingResult, c.pendingResult);
    }
}

TEST(AnswerCheck, ValidAnswerCarriesResponseCodeAndDeviceStatus)
{
    const AnswerCheck longCheck =
        CheckAnswerFrame(Buffer(kLongWarning), static_cast<int>(kLongWarning.size()), 15);
    EXPECT_EQ(longCheck.responseCode, RESULT_WARNING);
    EXPECT_EQ(longCheck.deviceStatus, 0x40);
    const AnswerCheck shortCheck =
        CheckAnswerFrame(Buffer(kShortAnswer), static_cast<int>(kShortAnswer.size()), 15);
    EXPECT_EQ(shortCheck.responseCode, 0);
    EXPECT_EQ(shortCheck.deviceStatus, 0x10);
}
