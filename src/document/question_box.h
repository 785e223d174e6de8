#pragma once

#include <vector>

namespace document {

// Buttons of a question, with the values the classic message box returns.
enum Button : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDYES = 6, IDNO = 7 };

// Question styles: button set in the low four bits, icon above.
enum QuestionStyle : int {
    MB_OKCANCEL = 0x01,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_RETRYCANCEL = 0x05,
    MB_ICONERROR = 0x10,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,  // the second button is the default one
};

constexpr int kRetryCancelError = MB_RETRYCANCEL | MB_ICONERROR;  // 21
constexpr int kYesNoWarning = MB_YESNO | MB_ICONWARNING;          // 52

// The buttons a style shows, in their order on the box.
std::vector<Button> ButtonsOfStyle(int style);

// String id of the program's Russian caption of a button ("Продолжить", "Отмена", …).
int ButtonCaptionId(Button button);

// The button a question gets when nobody can answer it: "Нет" if present, else "Отмена".
Button NegativeButton(int style);

}  // namespace document
