#include "app/localized_message_box.h"

#include <utility>
#include <vector>

#include <QApplication>
#include <QPushButton>

#include "document/display_text.h"
#include "document/question_box.h"
#include "resources/string_ids.h"

namespace {

using document::LoadedText;

QMessageBox::StandardButton StandardButtonOf(document::Button button)
{
    switch (button) {
    case document::IDOK: return QMessageBox::Ok;
    case document::IDCANCEL: return QMessageBox::Cancel;
    case document::IDABORT: return QMessageBox::Abort;
    case document::IDRETRY: return QMessageBox::Retry;
    case document::IDYES: return QMessageBox::Yes;
    case document::IDNO: return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

}  // namespace

QMessageBox::Icon IconOfStyle(int style)
{
    switch (style & 0xF0) {
    case document::MB_ICONERROR: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case document::MB_ICONWARNING: return QMessageBox::Warning;
    case document::MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

std::unique_ptr<QMessageBox> NewProgramMessageBox(const QString& text, QMessageBox::Icon icon)
{
    auto box = std::make_unique<QMessageBox>(icon, LoadedText(tarvel::kApplicationName), text,
                                             QMessageBox::NoButton, nullptr);
    box->setTextFormat(Qt::PlainText);
    return box;
}

QAbstractButton* ExecProgramMessageBox(QMessageBox& box)
{
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
    return box.clickedButton();
}

int LocalizedMessageBox(int stringId, int style)
{
    return LocalizedMessageBox(LoadedText(stringId), style);
}

int LocalizedMessageBox(const QString& text, int style)
{
    const auto box = NewProgramMessageBox(text, IconOfStyle(style));
    std::vector<std::pair<QAbstractButton*, document::Button>> buttons;
    for (const document::Button button : document::ButtonsOfStyle(style)) {
        QPushButton* widget = box->addButton(StandardButtonOf(button));
        widget->setText(LoadedText(document::ButtonCaptionId(button)));
        buttons.emplace_back(widget, button);
    }
    // As in the classic box, the first button is the default one unless the style says.
    const std::size_t defaultButton =
        (style & document::MB_DEFBUTTON2) != 0 && buttons.size() > 1 ? 1 : 0;
    box->setDefaultButton(qobject_cast<QPushButton*>(buttons[defaultButton].first));

    const QAbstractButton* pressed = ExecProgramMessageBox(*box);
    for (const auto& [widget, button] : buttons)
        if (widget == pressed) return button;
    return document::NegativeButton(style);
}
