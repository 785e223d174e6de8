#pragma once

namespace document {

// What the views must redraw after a change of the document.
enum UpdateHint : int {
    HINT_REFRESH = 0,
    HINT_SHOW_INFO = 1,
    HINT_STATE = 2,
    HINT_ENABLE_PAGES = 3,
    HINT_DISABLE_PAGES = 4,
    HINT_ENABLE_MAIN = 5,
    HINT_DISABLE_MAIN = 6,
};

}  // namespace document
