#include "hart/answer_check.h"

#include "hart/hart_link.h"

namespace hart {
namespace {

constexpr std::uint8_t kLongFrameBit = 0x80;
constexpr std::uint8_t kFrameTypeMask = 0x03;
constexpr std::uint8_t kBurstFrame = 0x01;
constexpr std::uint8_t kFrameKindMask = 0x07;  // STX 2, ACK 6, BACK 1
constexpr std::uint8_t kMasterFrame = 0x02;
constexpr std::uint8_t kCommunicationErrorBit = 0x80;

// Delimiter, address, command, count, two status bytes and the checksum.
constexpr int kMinimumShortAnswer = 1 + 1 + 1 + 1 + 2 + 1;
constexpr int kMinimumLongAnswer = 1 + 5 + 1 + 1 + 2 + 1;

bool ChecksumMatches(const FrameBuffer& frame, int received)
{
    std::uint8_t checksum = 0;
    for (int i = 0; i < received - 1; ++i) checksum ^= frame[i];
    return checksum == frame[received - 1];
}

}  // namespace

AnswerCheck CheckAnswerFrame(const FrameBuffer& frame, int received, std::uint8_t command)
{
    AnswerCheck check;
    // A request on the line (our own echoed by the modem, or another master's) is no answer,
    // and its bytes where an answer keeps its status must not be read as busy or an error.
    if ((frame[0] & kFrameKindMask) == kMasterFrame) {
        check.issue = AnswerIssue::Request;
        return check;
    }
    const bool longFrame = (frame[0] & kLongFrameBit) != 0;
    const int statusOffset = longFrame ? 8 : 4;
    const std::uint8_t firstStatus = frame[statusOffset];
    if (firstStatus == RESULT_BUSY || (firstStatus & kCommunicationErrorBit) != 0) {
        check.pendingResult = firstStatus;
        check.verdict = AnswerVerdict::EndAttempt;
        check.issue =
            firstStatus == RESULT_BUSY ? AnswerIssue::Busy : AnswerIssue::CommunicationError;
        return check;
    }
    if ((frame[0] & kFrameTypeMask) == kBurstFrame) {
        check.issue = AnswerIssue::Burst;
        return check;
    }
    if (frame[longFrame ? 6 : 2] != command) {
        check.issue = AnswerIssue::OtherCommand;
        return check;
    }

    // A frame too short to hold its status bytes cannot be an answer, whatever its checksum.
    const int minimum = longFrame ? kMinimumLongAnswer : kMinimumShortAnswer;
    if (received < minimum || received > kFrameCapacity || !ChecksumMatches(frame, received)) {
        check.pendingResult = RESULT_BAD_CHECKSUM;
        check.issue = AnswerIssue::BadChecksum;
        return check;
    }

    check.verdict = AnswerVerdict::Valid;
    check.responseCode = firstStatus;
    check.deviceStatus = frame[statusOffset + 1];
    return check;
}

}  // namespace hart
