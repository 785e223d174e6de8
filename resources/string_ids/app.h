#pragma once

// The numbered texts of the main window and its menu.

namespace tarvel {

// Links in the About box.
constexpr int kCannotOpenHyperlink = 925;
constexpr int kUnknownHyperlinkError = 924;

// The main menu.
constexpr int kFrameTraceCaption = 2100;
constexpr int kScanLineCaption = 2600;

// The scan dialog.
constexpr int kScanStoppedText = 2620;

// The port settings dialog: a HART-IP server instead of the COM port.
constexpr int kHartIpGroupCaption = 2300;
constexpr int kUseHartIpCaption = 2301;
constexpr int kHartIpHostCaption = 2302;
constexpr int kHartIpPortCaption = 2303;
constexpr int kHartIpTcpCaption = 2304;

// The main window.
constexpr int kTraceFileNotOpened = 2114;
constexpr int kQuestionSaveIncompleteRead = 1477;  // a save after a read that failed in a group
constexpr int kCancelCaption = 1480;               // the button beside the progress bar

}  // namespace tarvel
