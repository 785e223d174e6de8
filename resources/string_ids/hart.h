#pragma once

// The numbered texts of the HART link, its frame trace and the unit symbols.

namespace tarvel {

// Answers the response code table does not name.
constexpr int kCommunicationFailure = 1025;
constexpr int kUndefinedResponse = 1024;

// The COM port.
constexpr int kMessageCannotClose = 907;
constexpr int kMessageCannotConfigure = 909;

// The first unit symbol, °C; the others follow it in the order of their unit codes.
constexpr int kFirstUnitSymbolString = 800;

// The frame trace: the words of its events.
constexpr int kTraceStarted = 2120;
constexpr int kTracePortOpened = 2121;
constexpr int kTracePortOpenFailed = 2122;
constexpr int kTracePortClosed = 2123;
constexpr int kTraceInputFlushed = 2124;
constexpr int kTraceWriteFailed = 2125;
constexpr int kTraceNoAnswerAfterPolls = 2126;
constexpr int kTraceBusy = 2127;
constexpr int kTraceBadChecksum = 2128;
constexpr int kTraceCommunicationError = 2129;
constexpr int kTraceSkippedRequest = 2130;
constexpr int kTraceSkippedBurst = 2131;
constexpr int kTraceSkippedOtherCommand = 2132;
constexpr int kTraceDeviceLost = 2133;
constexpr int kTraceRetryPause = 2134;
constexpr int kTraceResult = 2135;
constexpr int kTracePreambles = 2150;
constexpr int kTraceDriverCode = 2153;

// The frame trace: the HART-IP session.
constexpr int kTraceSessionOpened = 2175;
constexpr int kTraceSessionOpenFailed = 2176;
constexpr int kTraceSessionClosed = 2177;
constexpr int kTraceKeepAlive = 2178;
constexpr int kTraceSessionLost = 2179;
constexpr int kTraceMessageDropped = 2180;
constexpr int kTraceInactivityTimer = 2181;
constexpr int kTraceFirstNetworkIssue = 2182;  // in the order of NetworkIssue

// The frame trace: the decoding of frames.
constexpr int kTraceSucceeded = 2137;
constexpr int kTraceNoAnswer = 2136;
constexpr int kTraceResponseCode = 2140;
constexpr int kTraceDeviceStatus = 2141;
constexpr int kTraceNotDecoded = 2142;
constexpr int kTraceEmptyFrame = 2143;
constexpr int kTraceUnknownDelimiter = 2144;
constexpr int kTraceShorterThanHeader = 2145;
constexpr int kTraceCountMismatch = 2146;
constexpr int kTraceUnknownCommand = 2147;
constexpr int kTraceNoStatusBytes = 2148;
constexpr int kTraceFewerData = 2149;
constexpr int kTraceNotSet = 2151;
constexpr int kTraceNone = 2152;
constexpr int kTraceFirstStatusBit = 2160;  // bit 0 first

}  // namespace tarvel
