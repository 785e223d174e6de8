#pragma once

#include <chrono>
#include <string>

#include "hart/trace.h"
#include "hart/trace_decoder.h"

namespace hart {

// The trace's text format, one event a line:
//   HH:MM:SS.mmm > 82 99 FC 0A 1B 2C 0D 00 99  13 Чтение тега, …   a request
//   HH:MM:SS.mmm < 86 …  …                                          an answer
//   HH:MM:SS.mmm ! порт закрыт                                      any other event
// The time runs from the start of the trace; after the bytes come two spaces and free text.

struct DescribedEvent {
    char direction = '!';  // '>', '<' or '!'
    std::string bytes;     // frames only: the hex bytes
    std::string text;      // the decoding, or the event in words
    DecodedFrame decoded;  // frames only
};

DescribedEvent DescribeEvent(const TraceEvent& event);

// "HH:MM:SS.mmm"; the hours go on past 99.
std::string TraceTime(std::chrono::steady_clock::duration sinceStart);

std::string TraceLine(std::chrono::steady_clock::duration sinceStart, const DescribedEvent& event);

// The first line: time zero and the wall-clock start in local time.
std::string TraceStartLine(std::chrono::system_clock::time_point wallStart);

}  // namespace hart
