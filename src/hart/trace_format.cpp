#include "hart/trace_format.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "resources/string_ids/hart.h"
#include "resources/string_table.h"

namespace hart {
namespace {

using tarvel::kTraceBadChecksum;
using tarvel::kTraceBusy;
using tarvel::kTraceCommunicationError;
using tarvel::kTraceDeviceLost;
using tarvel::kTraceDriverCode;
using tarvel::kTraceFirstNetworkIssue;
using tarvel::kTraceInactivityTimer;
using tarvel::kTraceInputFlushed;
using tarvel::kTraceKeepAlive;
using tarvel::kTraceMessageDropped;
using tarvel::kTraceNoAnswerAfterPolls;
using tarvel::kTracePortClosed;
using tarvel::kTracePortOpened;
using tarvel::kTracePortOpenFailed;
using tarvel::kTracePreambles;
using tarvel::kTraceResult;
using tarvel::kTraceRetryPause;
using tarvel::kTraceSessionClosed;
using tarvel::kTraceSessionLost;
using tarvel::kTraceSessionOpened;
using tarvel::kTraceSessionOpenFailed;
using tarvel::kTraceSkippedBurst;
using tarvel::kTraceSkippedOtherCommand;
using tarvel::kTraceSkippedRequest;
using tarvel::kTraceStarted;
using tarvel::kTraceWriteFailed;
using tarvel::LoadTextString;

// The network issues named in the trace, in the order of NetworkIssue.
constexpr int kNetworkIssueCount = 15;

std::string Issue(const TraceEvent& e)
{
    const std::string issue = e.value >= 0 && e.value < kNetworkIssueCount
                                  ? LoadTextString(kTraceFirstNetworkIssue + e.value)
                                  : std::to_string(e.value);
    return e.text.empty() ? issue : issue + " " + e.text;
}

std::string Words(const TraceEvent& e)
{
    const std::string value = std::to_string(e.value);
    switch (e.kind) {
    case TraceKind::PortOpened:
        return LoadTextString(kTracePortOpened) + " COM" + value +
               (e.text.empty() ? "" : ", " + e.text);
    case TraceKind::PortOpenFailed: return LoadTextString(kTracePortOpenFailed) + " " + value;
    case TraceKind::PortClosed:
        return LoadTextString(kTracePortClosed) +
               (e.value == 0 ? "" : ", " + LoadTextString(kTraceDriverCode) + " " + value);
    case TraceKind::InputFlushed: return LoadTextString(kTraceInputFlushed) + " " + value;
    case TraceKind::WriteFailed: return LoadTextString(kTraceWriteFailed) + " " + value;
    case TraceKind::NoAnswer: return LoadTextString(kTraceNoAnswerAfterPolls) + " " + value;
    case TraceKind::Busy: return LoadTextString(kTraceBusy);
    case TraceKind::BadChecksum: return LoadTextString(kTraceBadChecksum);
    case TraceKind::CommunicationError:
        return LoadTextString(kTraceCommunicationError) + " " +
               CommunicationErrorNames(static_cast<std::uint8_t>(e.value));
    case TraceKind::SkippedRequest: return LoadTextString(kTraceSkippedRequest);
    case TraceKind::SkippedBurst: return LoadTextString(kTraceSkippedBurst);
    case TraceKind::SkippedOtherCommand:
        return LoadTextString(kTraceSkippedOtherCommand) + " " + value;
    case TraceKind::DeviceLost: return LoadTextString(kTraceDeviceLost);
    case TraceKind::RetryPause: return LoadTextString(kTraceRetryPause) + " " + value;
    case TraceKind::Result:
        return LoadTextString(kTraceResult) + " " + value + " " +
               ResultMeaning(e.commandIndex, e.value);
    case TraceKind::SessionOpened:
        return LoadTextString(kTraceSessionOpened) + " " + e.text + ", " +
               LoadTextString(kTraceInactivityTimer) + " " + value;
    case TraceKind::SessionOpenFailed:
        return LoadTextString(kTraceSessionOpenFailed) + " " + Issue(e);
    case TraceKind::SessionClosed: return LoadTextString(kTraceSessionClosed) + " " + e.text;
    case TraceKind::KeepAlive: return LoadTextString(kTraceKeepAlive) + " " + value;
    case TraceKind::SessionLost: return LoadTextString(kTraceSessionLost) + " " + Issue(e);
    case TraceKind::MessageDropped: return LoadTextString(kTraceMessageDropped) + " " + Issue(e);
    case TraceKind::Request:
    case TraceKind::Answer: break;
    }
    return {};
}

}  // namespace

DescribedEvent DescribeEvent(const TraceEvent& event)
{
    DescribedEvent described;
    if (event.kind != TraceKind::Request && event.kind != TraceKind::Answer) {
        described.text = Words(event);
        return described;
    }
    described.direction = event.kind == TraceKind::Request ? '>' : '<';
    described.bytes = HexBytes(event.frame);
    described.decoded = DecodeFrame(event.frame);
    described.text = DecodedLine(described.decoded);
    if (event.kind == TraceKind::Request)
        described.text +=
            "; " + LoadTextString(kTracePreambles) + " " + std::to_string(event.value);
    return described;
}

std::string TraceTime(std::chrono::steady_clock::duration sinceStart)
{
    using namespace std::chrono;
    const long long ms = std::max<long long>(0, duration_cast<milliseconds>(sinceStart).count());
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", ms / 3600000, ms / 60000 % 60,
                  ms / 1000 % 60, ms % 1000);
    return text;
}

std::string TraceLine(std::chrono::steady_clock::duration sinceStart, const DescribedEvent& event)
{
    std::string line = TraceTime(sinceStart) + " " + event.direction + " ";
    if (event.direction != '!') line += event.bytes + "  ";
    return line + event.text;
}

std::string TraceStartLine(std::chrono::system_clock::time_point wallStart)
{
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(wallStart);
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[64];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    char zone[16];
    std::strftime(zone, sizeof zone, "%z", &local);
    const auto ms = duration_cast<milliseconds>(wallStart.time_since_epoch()).count() % 1000;
    char text[128];
    std::snprintf(text, sizeof text, "%s.%03lld %s", stamp, static_cast<long long>(ms), zone);
    DescribedEvent start;
    start.text = LoadTextString(kTraceStarted) + " " + text;
    return TraceLine({}, start);
}

}  // namespace hart
