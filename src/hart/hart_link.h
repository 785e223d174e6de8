#pragma once

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <mutex>

#include "hart/field_ref.h"
#include "hart/frame_codec.h"
#include "hart/hart_driver.h"
#include "hart/hartip_transport.h"
#include "hart/link_environment.h"
#include "hart/result_codes.h"
#include "hart/trace.h"
#include "hart/user_interaction.h"

namespace hart {

struct AnswerCheck;

// The HART link of one transmitter: codec state, the way to the device (the modem port, or a
// HART-IP session when the port settings name an endpoint) and the transaction engine.
// One transaction runs at a time; a second caller waits for the first to finish.
class CHartLink : protected FrameCodec {
public:
    CHartLink(UserInteraction& ui, const PortSettings& portSettings, Sleeper& sleeper);
    virtual ~CHartLink();

    CHartLink(const CHartLink&) = delete;
    CHartLink& operator=(const CHartLink&) = delete;

    // Sends one request and waits for its answer; returns the result byte: 0 or a response
    // code from a valid answer, a pending busy/communication/checksum result, or 255.
    int Transact(int commandIndex, FieldRefs values);
    int Transact(int commandIndex, std::initializer_list<FieldRef> values = {});

    using FrameCodec::DecodeResponse;
    void DecodeResponse(int commandIndex, std::initializer_list<FieldRef> destinations);

    int EnsurePortOpen();
    int ClosePort();
    void GetStatus(std::uint8_t* response, std::uint8_t* status) const;
    void ShowResponseError(int commandIndex, int result);

    bool isPortOpen() const { return portOpen != 0; }
    const LongAddress& address() const { return longAddress; }
    const FrameBuffer& lastRequest() const { return txFrame; }
    int lastRequestLength() const { return txLength; }
    const FrameBuffer& lastAnswer() const { return rxFrame; }
    int lastAnswerLength() const { return rxLength; }

    // Holds the transaction lock across several transactions (a read group, a cycle).
    std::unique_lock<std::recursive_mutex> lockTransactions()
    {
        return std::unique_lock(m_transactionMutex);
    }
    // The same lock when it is free at once; a caller that must not wait (the GUI thread,
    // while the monitoring worker may be waiting for it to show a message) tries again later.
    std::unique_lock<std::recursive_mutex> tryLockTransactions()
    {
        return std::unique_lock(m_transactionMutex, std::try_to_lock);
    }

    UserInteraction& ui() { return m_ui; }

    // Every event of this link goes to the sink from now on; nullptr detaches. The sink
    // must outlive the attachment, the link's own closing of the port included.
    void attachTrace(TraceSink* sink) { m_trace.attach(sink); }
    TraceSink* traceSink() const { return m_trace.sink(); }

protected:
    CHARTDriver driver;
    std::uint8_t responseCode = 0;
    std::uint8_t deviceStatus = 0;
    std::int16_t pollCount = 100;
    std::chrono::milliseconds pollDelayMs{40};
    std::chrono::milliseconds retryDelayMs{1000};
    std::int16_t retryCount = 3;
    // Polls after which an attempt ends when no answer has begun to arrive; 0 waits them all.
    std::int16_t silencePolls = 0;
    // Keeps the port open between transactions (a run of them, such as a scan of the line).
    bool keepPortOpen = false;
    int portOpen = 0;

private:
    int TransactOpen(int commandIndex, FieldRefs values);
    void PauseBeforeRetry();
    void TraceCheck(const AnswerCheck& check, std::uint8_t command) const;

    UserInteraction& m_ui;
    const PortSettings& m_portSettings;
    Sleeper& m_sleeper;
    std::recursive_mutex m_transactionMutex;
    TraceTap m_trace{m_sleeper};
    HartIpTransport m_hartIp{m_trace};
    // The transport of the open port: the driver or the HART-IP session.
    FrameTransport* m_transport = &driver;
};

}  // namespace hart
