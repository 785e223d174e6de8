// The question box: captions, icons and answers for every style word, and the program
// caption without an owner window.
#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include "app/localized_message_box.h"
#include "app/modal_box.h"
#include "app/qt_translations.h"
#include "app/window_ids.h"
#include "document/display_text.h"

namespace {

using document::LoadedText;

struct ButtonCaption {
    QMessageBox::StandardButton button;
    const char* caption;
};

struct StyleCase {
    int style;
    QMessageBox::Icon icon;
    std::vector<ButtonCaption> buttons;  // first one is the default
};

const std::vector<StyleCase> kStyles = {
    {0x01, QMessageBox::NoIcon, {{QMessageBox::Ok, "Продолжить"}, {QMessageBox::Cancel, "Отмена"}}},
    {0x02,
     QMessageBox::NoIcon,
     {{QMessageBox::Abort, "Отмена"}, {QMessageBox::Retry, "Повторить"}}},
    {0x03,
     QMessageBox::NoIcon,
     {{QMessageBox::Yes, "Да"}, {QMessageBox::No, "Нет"}, {QMessageBox::Cancel, "Отмена"}}},
    {0x04, QMessageBox::NoIcon, {{QMessageBox::Yes, "Да"}, {QMessageBox::No, "Нет"}}},
    {0x05,
     QMessageBox::NoIcon,
     {{QMessageBox::Retry, "Повторить"}, {QMessageBox::Cancel, "Отмена"}}},
    {21,
     QMessageBox::Critical,
     {{QMessageBox::Retry, "Повторить"}, {QMessageBox::Cancel, "Отмена"}}},
    {52, QMessageBox::Warning, {{QMessageBox::Yes, "Да"}, {QMessageBox::No, "Нет"}}},
    {48, QMessageBox::Warning, {{QMessageBox::Ok, "Продолжить"}}},
    {0x24, QMessageBox::Question, {{QMessageBox::Yes, "Да"}, {QMessageBox::No, "Нет"}}},
    {0x41,
     QMessageBox::Information,
     {{QMessageBox::Ok, "Продолжить"}, {QMessageBox::Cancel, "Отмена"}}},
    // The second button the default: "Нет" is listed first here.
    {0x134, QMessageBox::Warning, {{QMessageBox::No, "Нет"}, {QMessageBox::Yes, "Да"}}},
};

int ExpectedResult(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok: return 1;
    case QMessageBox::Cancel: return 2;
    case QMessageBox::Abort: return 3;
    case QMessageBox::Retry: return 4;
    case QMessageBox::Yes: return 6;
    case QMessageBox::No: return 7;
    default: return -1;
    }
}

TEST(LocalizedMessageBoxTest, EveryStyleShowsTheProgramCaptionsIconAndDefault)
{
    for (const StyleCase& c : kStyles) {
        SCOPED_TRACE(c.style);
        BoxSnapshot shot;
        QStringList captions;
        HandleNextMessageBox([&](QMessageBox& box) {
            shot = Snapshot(box);
            for (const ButtonCaption& b : c.buttons)
                captions << (box.button(b.button) ? box.button(b.button)->text()
                                                  : QStringLiteral("<missing>"));
            Press(box, c.buttons.front().button);
        });
        LocalizedMessageBox(QStringLiteral("Вопрос"), c.style);

        ASSERT_TRUE(shot.seen);
        EXPECT_EQ(shot.icon, c.icon);
        EXPECT_EQ(shot.title, kProgramName);
        QMessageBox::StandardButtons expectedButtons;
        QStringList expectedCaptions;
        for (const ButtonCaption& b : c.buttons) {
            expectedButtons |= b.button;
            expectedCaptions << QString::fromUtf8(b.caption);
        }
        EXPECT_EQ(shot.buttons, expectedButtons) << "no button beyond the style's";
        EXPECT_EQ(captions, expectedCaptions);
        EXPECT_EQ(shot.defaultButtonText, expectedCaptions.front());
    }
}

TEST(LocalizedMessageBoxTest, ReturnsTheStandardValueOfThePressedButton)
{
    for (const StyleCase& c : kStyles) {
        for (const ButtonCaption& b : c.buttons) {
            SCOPED_TRACE(testing::Message() << "style " << c.style << " button " << b.caption);
            HandleNextMessageBox([&](QMessageBox& box) { Press(box, b.button); });
            EXPECT_EQ(LocalizedMessageBox(QStringLiteral("Вопрос"), c.style),
                      ExpectedResult(b.button));
        }
    }
}

TEST(LocalizedMessageBoxTest, NumberedTextIsLoadedFromTheStringTable)
{
    BoxSnapshot shot;
    HandleNextMessageBox([&](QMessageBox& box) {
        shot = Snapshot(box);
        Press(box, QMessageBox::Cancel);
    });
    EXPECT_EQ(LocalizedMessageBox(906, 21), 2);
    EXPECT_EQ(shot.text, LoadedText(906));
    EXPECT_FALSE(shot.text.isEmpty());
}

TEST(LocalizedMessageBoxTest, ModalWithoutOwnerAndProgramCaptionWhileADialogIsActive)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Другое окно"));
    dialog.show();
    dialog.activateWindow();

    BoxSnapshot shot;
    HandleNextMessageBox([&](QMessageBox& box) {
        shot = Snapshot(box);
        Press(box, QMessageBox::Yes);
    });
    EXPECT_EQ(LocalizedMessageBox(QStringLiteral("Вопрос"), 4), 6);
    EXPECT_FALSE(shot.hasOwner);
    EXPECT_TRUE(shot.modal);
    EXPECT_EQ(shot.title, kProgramName);
}

TEST(LocalizedMessageBoxTest, TextIsShownAsWrittenNotAsMarkup)
{
    const QString text = QStringLiteral("Ток < 3,8 мА\nи <b>выше</b> 20,5 мА?");
    BoxSnapshot shot;
    HandleNextMessageBox([&](QMessageBox& box) {
        shot = Snapshot(box);
        Press(box, QMessageBox::No);
    });
    EXPECT_EQ(LocalizedMessageBox(text, 4), 7);
    EXPECT_EQ(shot.text, text);
    EXPECT_EQ(shot.format, Qt::PlainText);
}

TEST(LocalizedMessageBoxTest, ArrowOverTheBoxAndTheWaitCursorBackAfterIt)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    BoxSnapshot shot;
    HandleNextMessageBox([&](QMessageBox& box) {
        shot = Snapshot(box);
        Press(box, QMessageBox::Retry);
    });
    EXPECT_EQ(LocalizedMessageBox(QStringLiteral("Повторить?"), 5), 4);
    EXPECT_EQ(shot.cursorShape, Qt::ArrowCursor);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(LocalizedMessageBoxTest, WithoutWaitCursorNoCursorIsLeftBehind)
{
    HandleNextMessageBox([](QMessageBox& box) { Press(box, QMessageBox::Ok); });
    EXPECT_EQ(LocalizedMessageBox(QStringLiteral("Продолжить?"), 1), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace

// Qt's own buttons and file dialog speak the program's language once its translations are in.
TEST(QtTranslationsTest, StandardButtonsAndTheFileDialogAreRussian)
{
    const auto translator = InstallQtTranslations();
    ASSERT_NE(translator, nullptr) << "Qt's translations (qt6-translations-l10n) are missing";
    QDialogButtonBox box;
    const struct {
        QDialogButtonBox::StandardButton button;
        const char* caption;
    } buttons[] = {{QDialogButtonBox::Cancel, "Отмена"},
                   {QDialogButtonBox::Save, "Сохранить"},
                   {QDialogButtonBox::Open, "Открыть"}};
    for (const auto& b : buttons)
        EXPECT_EQ(box.addButton(b.button)->text().remove('&'), QString::fromUtf8(b.caption));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const auto* name = dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text().remove('&'), QString::fromUtf8("Имя файла:"));
}
