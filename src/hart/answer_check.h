#pragma once

#include <cstdint>

#include "hart/frame_codec.h"

namespace hart {

// What one received frame means to a transaction waiting for the answer to a command.
enum class AnswerVerdict {
    Valid,  // the answer: its response code and device status are set
    Skip,   // not the answer (a request, burst frame, another command, bad checksum): keep polling
    EndAttempt,  // the device reported busy or a communication error: send again
};

// Why a frame is not the valid answer, for the trace.
enum class AnswerIssue {
    None,
    Request,  // a master's frame: our own echoed, or another master's
    Busy,
    CommunicationError,
    Burst,
    OtherCommand,
    BadChecksum,
};

struct AnswerCheck {
    AnswerVerdict verdict = AnswerVerdict::Skip;
    AnswerIssue issue = AnswerIssue::None;
    // The result the transaction returns when no valid answer follows; 0 leaves it as it was.
    int pendingResult = 0;
    std::uint8_t responseCode = 0;
    std::uint8_t deviceStatus = 0;
};

// Checks a frame as the driver delivered it: from its delimiter, `received` bytes long.
// Any buffer contents and any length are safe; a length the buffer cannot hold is a bad
// frame, never a read past its end.
AnswerCheck CheckAnswerFrame(const FrameBuffer& frame, int received, std::uint8_t command);

}  // namespace hart
