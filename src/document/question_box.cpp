#include "document/question_box.h"

#include <algorithm>

namespace document {

std::vector<Button> ButtonsOfStyle(int style)
{
    switch (style & 0x0F) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case 0x02: return {IDABORT, IDRETRY};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

int ButtonCaptionId(Button button)
{
    switch (button) {
    case IDOK: return 1337;
    case IDCANCEL: return 1335;
    case IDABORT: return 1340;
    case IDRETRY: return 1336;
    case IDYES: return 1338;
    case IDNO: return 1339;
    }
    return 0;
}

Button NegativeButton(int style)
{
    const auto buttons = ButtonsOfStyle(style);
    if (std::find(buttons.begin(), buttons.end(), IDNO) != buttons.end()) return IDNO;
    if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end()) return IDCANCEL;
    return buttons.back();
}

}  // namespace document
