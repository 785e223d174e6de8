#include "hart/answer_check.h"

#include "hart/frame_layout.h"
#include "hart/result_codes.h"

namespace hart {
namespace {

constexpr std::uint8_t kFrameTypeMask = 0x03;
constexpr std::uint8_t kBurstFrame = 0x01;
// Two status bytes and the checksum after the header.
constexpr int kMinimumAnswerTail = 2 + 1;

}  // namespace

AnswerCheck CheckAnswerFrame(const FrameBuffer& frame, int received, std::uint8_t command)
{
    AnswerCheck check;
    // A request on the line (our own echoed by the modem, or another master's) is no answer,
    // and its bytes where an answer keeps its status must not be read as busy or an error.
    const FrameLayout layout = FrameLayout::Of(frame[0]);
    if (layout.kind == FrameKind::Request) {
        check.issue = AnswerIssue::Request;
        return check;
    }
    const int statusOffset = layout.dataOffset;
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
    if (frame[static_cast<std::size_t>(layout.commandOffset)] != command) {
        check.issue = AnswerIssue::OtherCommand;
        return check;
    }

    // A frame too short to hold its status bytes cannot be an answer, whatever its checksum.
    const int minimum = layout.dataOffset + kMinimumAnswerTail;
    if (received < minimum || received > kFrameCapacity ||
        !ChecksumMatches(std::span(frame.data(), static_cast<std::size_t>(received)))) {
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
