#pragma once

namespace tarvel {

// The numbered strings that more than one area of the program shows; the others are named in
// the header of their area under string_ids/. Each name means one string everywhere.
constexpr int kMilliampereUnit = 806;       // "мА"
constexpr int kSecondUnit = 807;            // "с"
constexpr int kQuestionOutputChange = 905;  // before the loop current is changed
constexpr int kMessageNotFound = 906;       // no transmitter answered
constexpr int kCannotOpenPort = 908;        // the COM port could not be opened
constexpr int kCannotOpenSession = 926;     // no HART-IP session with the endpoint
constexpr int kNoFixedCurrent = 1326;       // the fixed current field is empty
constexpr int kApplicationName = 57344;     // the caption of every message box

}  // namespace tarvel
