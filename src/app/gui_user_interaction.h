#pragma once

#include <QObject>

#include "hart/user_interaction.h"

// The person at the screen for the desktop program: notices in the program's message box
// with an OK button, questions in LocalizedMessageBox, the wait cursor as the override
// cursor. Create it on the GUI thread. A notice or question from another thread (live
// monitoring) is shown on the GUI thread and that thread waits until the box is closed.
class GuiUserInteraction final : public QObject, public hart::UserInteraction {
    Q_OBJECT

public:
    explicit GuiUserInteraction(QObject* parent = nullptr);

    void notify(int messageId, const std::string& text, hart::MessageIcon icon) override;
    int ask(int messageId, const std::string& text, int style) override;
    void beginWait() override;
    void endWait() override;
};
