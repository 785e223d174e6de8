#include "hart/hart_link.h"

#include <algorithm>

#include "hart/answer_check.h"
#include "hart/cancel_request.h"
#include "hart/command_table.h"
#include "hart/frame_layout.h"
#include "hart/response_messages.h"
#include "resources/string_ids.h"
#include "resources/string_ids/hart.h"

namespace hart {
namespace {

using tarvel::kMessageCannotClose;
using tarvel::kMessageCannotConfigure;

}  // namespace

CHartLink::CHartLink(UserInteraction& ui, const PortSettings& portSettings, Sleeper& sleeper)
    : m_ui(ui), m_portSettings(portSettings), m_sleeper(sleeper)
{
    driver.SetTrace(&m_trace);
}

CHartLink::~CHartLink()
{
    ClosePort();
    // While the trace sink is still attached: the session's end is part of the trace.
    m_hartIp.EndSession();
}

int CHartLink::Transact(int commandIndex, std::initializer_list<FieldRef> values)
{
    return Transact(commandIndex, FieldRefs(values.begin(), values.size()));
}

void CHartLink::DecodeResponse(int commandIndex, std::initializer_list<FieldRef> destinations)
{
    FrameCodec::DecodeResponse(commandIndex, FieldRefs(destinations.begin(), destinations.size()));
}

int CHartLink::Transact(int commandIndex, FieldRefs values)
{
    std::lock_guard lock(m_transactionMutex);
    // A cancelled command sends nothing more.
    if (CancelRequested()) return RESULT_NO_ANSWER;
    const int result = TransactOpen(commandIndex, values);
    if (m_trace.on()) m_trace.record(TraceKind::Result, result, commandIndex);
    return result;
}

void CHartLink::TraceCheck(const AnswerCheck& check, std::uint8_t command) const
{
    switch (check.issue) {
    case AnswerIssue::None: break;
    case AnswerIssue::Request: m_trace.record(TraceKind::SkippedRequest); break;
    case AnswerIssue::Busy: m_trace.record(TraceKind::Busy); break;
    case AnswerIssue::CommunicationError:
        m_trace.record(TraceKind::CommunicationError, check.pendingResult);
        break;
    case AnswerIssue::Burst: m_trace.record(TraceKind::SkippedBurst); break;
    case AnswerIssue::OtherCommand: m_trace.record(TraceKind::SkippedOtherCommand, command); break;
    case AnswerIssue::BadChecksum: m_trace.record(TraceKind::BadChecksum); break;
    }
}

int CHartLink::TransactOpen(int commandIndex, FieldRefs values)
{
    if (!EnsurePortOpen()) return RESULT_NO_ANSWER;
    m_transport->FlushInput();
    // A port left open by a busy, communication-error or checksum result may have lost its
    // device since (a modem pulled out, perhaps plugged back in): only a new opening reaches
    // it, else every later transaction would fail on the dead channel.
    if (m_transport->DeviceLost()) {
        if (m_trace.on()) m_trace.record(TraceKind::DeviceLost);
        ClosePort();
        if (!EnsurePortOpen()) return RESULT_NO_ANSWER;
        m_transport->FlushInput();
    }

    txFrame.fill(0);
    pollingAddress = static_cast<std::uint8_t>(m_portSettings.pollingAddress());
    txLength = BuildRequest(commandIndex, txFrame.data(), values);
    m_transport->SetTxFrame(txFrame.data(), txLength);
    const std::uint8_t command = CommandTable().at(commandIndex).command;

    int pending = 0;
    for (int attempt = 0; attempt < retryCount; ++attempt) {
        if (m_transport->Write() == 0) {
            bool endedEarly = false;
            int polls = 0;
            while (polls < pollCount) {
                // Only reads are ever cancelled: their answer may be left unheard.
                if (CancelRequested()) {
                    endedEarly = true;
                    break;
                }
                rxFrame.fill(0);
                m_transport->WaitForInput(m_sleeper, pollDelayMs);
                ++polls;
                const int received = m_transport->Read(rxFrame.data());
                if (received == 0) {
                    // Nothing more will come over a lost session (a NAK, an error, closed).
                    if (m_transport == &m_hartIp && m_hartIp.DeviceLost()) break;
                    if (silencePolls > 0 && polls >= silencePolls && !m_transport->Receiving())
                        break;
                    continue;
                }
                const AnswerCheck check = CheckAnswerFrame(rxFrame, received, command);
                if (m_trace.on() && check.issue != AnswerIssue::None) {
                    const auto commandAt = FrameLayout::Of(rxFrame[0]).commandOffset;
                    TraceCheck(check, rxFrame[static_cast<std::size_t>(commandAt)]);
                }
                if (check.pendingResult != 0) pending = check.pendingResult;
                if (check.verdict == AnswerVerdict::Valid) {
                    rxLength = received;
                    responseCode = check.responseCode;
                    deviceStatus = check.deviceStatus;
                    if (portOpen && !keepPortOpen) ClosePort();
                    return responseCode;
                }
                if (check.verdict == AnswerVerdict::EndAttempt) {
                    endedEarly = true;
                    break;
                }
            }
            if (!endedEarly && m_trace.on()) m_trace.record(TraceKind::NoAnswer, polls);
        }
        if (CancelRequested()) break;
        if (m_trace.on())
            m_trace.record(TraceKind::RetryPause, static_cast<int>(retryDelayMs.count()));
        PauseBeforeRetry();
    }

    if (pending != 0) return pending;
    if (portOpen && !keepPortOpen) ClosePort();
    return RESULT_NO_ANSWER;
}

void CHartLink::PauseBeforeRetry()
{
    if (!CancelWatched()) {
        m_sleeper.sleepFor(retryDelayMs);
        return;
    }
    // In slices, so that a cancel ends the pause too.
    for (auto left = retryDelayMs; left.count() > 0 && !CancelRequested(); left -= pollDelayMs)
        m_sleeper.sleepFor(std::min(left, pollDelayMs));
}

int CHartLink::EnsurePortOpen()
{
    if (portOpen) return 1;
    if (const auto endpoint = m_portSettings.hartIpEndpoint()) {
        if (m_hartIp.Open(*endpoint) != 0) {
            NotifyString(m_ui, tarvel::kCannotOpenSession, MessageIcon::Error);
            return 0;
        }
        m_transport = &m_hartIp;
        portOpen = 1;
        return 1;
    }
    // A HART-IP session left from before the settings changed to a COM port ends now.
    m_hartIp.EndSession();
    m_transport = &driver;
    const int port = m_portSettings.portNumber() & 0xFF;
    if (driver.Open(port) != 0) {
        NotifyString(m_ui, tarvel::kCannotOpenPort, MessageIcon::Error);
        return 0;
    }
    if (driver.Configure() != 0) {
        // The channel is open in the driver; leaving it so would hold the port's lock and
        // make every later opening fail as busy.
        driver.Close();
        NotifyString(m_ui, kMessageCannotConfigure, MessageIcon::Error);
        return 0;
    }
    portOpen = 1;
    return 1;
}

int CHartLink::ClosePort()
{
    if (!portOpen) return 1;
    const int result = m_transport->Close();
    portOpen = 0;
    if (result != 0) {
        NotifyString(m_ui, kMessageCannotClose, MessageIcon::Error);
        return 0;
    }
    return 1;
}

void CHartLink::GetStatus(std::uint8_t* response, std::uint8_t* status) const
{
    if (response) *response = responseCode;
    if (status) *status = deviceStatus;
}

void CHartLink::ShowResponseError(int commandIndex, int result)
{
    // The answers the user chose not to wait for are no error.
    if (CancelRequested()) return;
    if (const auto messageId = ResponseMessageId(commandIndex, result))
        NotifyString(m_ui, *messageId, MessageIcon::Error);
}

}  // namespace hart
