#pragma once

#include <string>

namespace hart {

// Icons of the program's message boxes, with the values of the classic message-box styles.
enum class MessageIcon { None = 0, Error = 16, Exclamation = 48, Information = 64 };

// Everything the core needs from the person at the screen. The desktop program shows
// message boxes, the command line prints, tests script the answers.
class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    // A notice with an OK button; returns when the user has closed it.
    virtual void notify(int messageId, const std::string& text, MessageIcon icon) = 0;

    // A question; returns the button pressed (1 OK, 2 Cancel, 3 Abort, 4 Retry, 6 Yes, 7 No).
    virtual int ask(int messageId, const std::string& text, int style) = 0;

    virtual void beginWait() {}
    virtual void endWait() {}
};

// Shows a numbered string from the string table.
void NotifyString(UserInteraction& ui, int messageId, MessageIcon icon);

}  // namespace hart
