#include "app/gui_user_interaction.h"

#include <QApplication>

#include "app/localized_message_box.h"
#include "document/gui_thread_call.h"

GuiUserInteraction::GuiUserInteraction(QObject* parent) : QObject(parent) {}

void GuiUserInteraction::notify(int, const std::string& text, hart::MessageIcon icon)
{
    const auto show = [&text, icon] {
        const auto box =
            NewProgramMessageBox(QString::fromStdString(text), IconOfStyle(static_cast<int>(icon)));
        box->setStandardButtons(QMessageBox::Ok);
        ExecProgramMessageBox(*box);
    };
    RunOnThreadOfAndWait(this, show);
}

int GuiUserInteraction::ask(int, const std::string& text, int style)
{
    int answer = 0;
    const auto show = [&text, style, &answer] {
        answer = LocalizedMessageBox(QString::fromStdString(text), style);
    };
    RunOnThreadOfAndWait(this, show);
    return answer;
}

// From another thread the cursor calls are queued, not waited for: they keep their order,
// so they stay balanced, and the worker never waits on the GUI thread just for a cursor.
void GuiUserInteraction::beginWait()
{
    RunOnThreadOf(this, [] { QApplication::setOverrideCursor(Qt::WaitCursor); });
}

void GuiUserInteraction::endWait()
{
    RunOnThreadOf(this, [] { QApplication::restoreOverrideCursor(); });
}
