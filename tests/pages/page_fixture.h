#pragma once

#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

#include "document/page_values.h"
#include "document/report_lines.h"
#include "document/vesk_doc.h"
#include "support/fake_driver_control.h"
#include "support/fake_sleeper.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

// The number format of one test; the C locale comes back afterwards. Declare it before the
// page: the level lists are formatted when the page is built.
class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(QLocale::c()); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;
};

inline QLocale EnglishNumbers() { return QLocale(QLocale::English, QLocale::UnitedStates); }
inline QLocale RussianNumbers() { return QLocale(QLocale::Russian, QLocale::Russia); }

// A new, cleared document over the fake driver library: no transmitter answers, and the
// library's counters tell whether a send reached the line.
struct DocumentBench {
    DocumentBench() { doc.OnNewDocument(); }

    bool lineUntouched() const { return fake.counters().opens == 0 && fake.counters().writes == 0; }
    std::vector<int> questionIds() const
    {
        std::vector<int> ids;
        for (const auto& q : user.questions) ids.push_back(q.id);
        return ids;
    }

    TempPortMapDir portMap;
    PtyPort port;
    FakeDriverControl fake;
    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{port.comNumber()};
    document::CVeskDoc doc{user, ports, sleeper};
};

// The user's choice of an entry: what a list does on a click in its drop-down.
inline void Choose(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// Types a text key by key; letters outside ASCII (a Cyrillic Ж) arrive as their own keys.
inline void Type(QWidget* widget, const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(widget, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, static_cast<Qt::Key>(ch.toUpper().unicode()),
                                QString(ch), {});
    }
}

// Replaces a field's text by typing over it; an empty text deletes it.
inline void Retype(QLineEdit* field, const QString& text)
{
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Backspace);
    else
        Type(field, text);
}

// Shows a page as the active window, so focus changes happen as on screen.
inline bool ShowActive(QWidget& page)
{
    page.show();
    QApplication::setActiveWindow(&page);
    page.activateWindow();
    return QTest::qWaitForWindowActive(&page);
}

// A page's print section against the report's own lines for the document's values, from
// line `first` on: the same labels, value texts, units and flags.
inline void ExpectSectionOfTheReport(const std::vector<document::ReportLine>& printed,
                                     const document::CVeskDoc& doc, std::size_t first,
                                     std::size_t count, const char* name)
{
    const std::vector<document::ReportLine> report =
        document::ReportLines(document::PageValuesOf(doc));
    ASSERT_EQ(printed.size(), count) << name;
    ASSERT_LE(first + count, report.size()) << name;
    for (std::size_t i = 0; i < count; ++i) {
        const document::ReportLine& expected = report[first + i];
        EXPECT_EQ(printed[i].labelId, expected.labelId) << name;
        EXPECT_EQ(printed[i].label + printed[i].valueColumnText(),
                  expected.label + expected.valueColumnText())
            << name << " line " << first + i + 1;
        EXPECT_EQ(printed[i].failed, expected.failed) << name << " line " << first + i + 1;
    }
}

// A page over its own new document, filled from it as the view fills its pages.
template <typename Page>
struct PageOnDocument {
    PageOnDocument()
    {
        page.SetDocument(&bench.doc);
        page.RefreshFromDocument();
    }
    DocumentBench bench;
    Page page;
};

// After the send button: a refused check (message) has shown its one error, asked nothing
// and left the line untouched; a passing one (message 0) has run the document's send, whose
// first question was `sendQuestion`.
inline void ExpectSendOutcome(const DocumentBench& bench, int message, int sendQuestion,
                              const std::string& name)
{
    if (message == 0) {
        EXPECT_TRUE(bench.user.messages.empty()) << name;
        ASSERT_FALSE(bench.user.questions.empty()) << name;
        EXPECT_EQ(bench.user.questions.front().id, sendQuestion) << name;
        return;
    }
    ASSERT_EQ(bench.user.messages.size(), 1u) << name;
    EXPECT_EQ(bench.user.messages[0].id, message) << name;
    EXPECT_EQ(bench.user.messages[0].icon, hart::MessageIcon::Error) << name;
    EXPECT_TRUE(bench.user.questions.empty()) << name;
    EXPECT_TRUE(bench.lineUntouched()) << name;
}
