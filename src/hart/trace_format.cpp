#include "hart/trace_format.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "resources/string_table.h"

namespace hart {
namespace {

constexpr int kStarted = 2120;
constexpr int kPortOpened = 2121;
constexpr int kPortOpenFailed = 2122;
constexpr int kPortClosed = 2123;
constexpr int kInputFlushed = 2124;
constexpr int kWriteFailed = 2125;
constexpr int kNoAnswer = 2126;
constexpr int kBusy = 2127;
constexpr int kBadChecksum = 2128;
constexpr int kCommunicationError = 2129;
constexpr int kSkippedRequest = 2130;
constexpr int kSkippedBurst = 2131;
constexpr int kSkippedOther = 2132;
constexpr int kDeviceLost = 2133;
constexpr int kRetryPause = 2134;
constexpr int kResult = 2135;
constexpr int kPreambles = 2150;
constexpr int kDriverCode = 2153;
constexpr int kSessionOpened = 2175;
constexpr int kSessionOpenFailed = 2176;
constexpr int kSessionClosed = 2177;
constexpr int kKeepAlive = 2178;
constexpr int kSessionLost = 2179;
constexpr int kMessageDropped = 2180;
constexpr int kInactivityTimer = 2181;
constexpr int kFirstNetworkIssue = 2182;  // in the order of NetworkIssue
constexpr int kNetworkIssueCount = 15;

std::string Text(int id) { return std::string(tarvel::LoadText(id)); }

std::string Issue(const TraceEvent& e)
{
    const std::string issue = e.value >= 0 && e.value < kNetworkIssueCount
                                  ? Text(kFirstNetworkIssue + e.value)
                                  : std::to_string(e.value);
    return e.text.empty() ? issue : issue + " " + e.text;
}

std::string Words(const TraceEvent& e)
{
    const std::string value = std::to_string(e.value);
    switch (e.kind) {
    case TraceKind::PortOpened:
        return Text(kPortOpened) + " COM" + value + (e.text.empty() ? "" : ", " + e.text);
    case TraceKind::PortOpenFailed: return Text(kPortOpenFailed) + " " + value;
    case TraceKind::PortClosed:
        return Text(kPortClosed) + (e.value == 0 ? "" : ", " + Text(kDriverCode) + " " + value);
    case TraceKind::InputFlushed: return Text(kInputFlushed) + " " + value;
    case TraceKind::WriteFailed: return Text(kWriteFailed) + " " + value;
    case TraceKind::NoAnswer: return Text(kNoAnswer) + " " + value;
    case TraceKind::Busy: return Text(kBusy);
    case TraceKind::BadChecksum: return Text(kBadChecksum);
    case TraceKind::CommunicationError:
        return Text(kCommunicationError) + " " +
               CommunicationErrorNames(static_cast<std::uint8_t>(e.value));
    case TraceKind::SkippedRequest: return Text(kSkippedRequest);
    case TraceKind::SkippedBurst: return Text(kSkippedBurst);
    case TraceKind::SkippedOtherCommand: return Text(kSkippedOther) + " " + value;
    case TraceKind::DeviceLost: return Text(kDeviceLost);
    case TraceKind::RetryPause: return Text(kRetryPause) + " " + value;
    case TraceKind::Result:
        return Text(kResult) + " " + value + " " + ResultMeaning(e.commandIndex, e.value);
    case TraceKind::SessionOpened:
        return Text(kSessionOpened) + " " + e.text + ", " + Text(kInactivityTimer) + " " + value;
    case TraceKind::SessionOpenFailed: return Text(kSessionOpenFailed) + " " + Issue(e);
    case TraceKind::SessionClosed: return Text(kSessionClosed) + " " + e.text;
    case TraceKind::KeepAlive: return Text(kKeepAlive) + " " + value;
    case TraceKind::SessionLost: return Text(kSessionLost) + " " + Issue(e);
    case TraceKind::MessageDropped: return Text(kMessageDropped) + " " + Issue(e);
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
        described.text += "; " + Text(kPreambles) + " " + std::to_string(event.value);
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
    start.text = Text(kStarted) + " " + text;
    return TraceLine({}, start);
}

}  // namespace hart
