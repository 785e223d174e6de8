#include <optional>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/modal_box.h"
#include "app/vesk_pc_main_win.h"
#include "app/vesk_view.h"
#include "app/window_placement.h"
#include "controls/dialog_units.h"
#include "document/config_file.h"
#include "document/question_box.h"
#include "document/update_hint.h"
#include "document/vesk_doc.h"
#include "pages/config_page.h"
#include "support/fake_driver_control.h"
#include "support/fake_sleeper.h"
#include "support/file_bytes.h"
#include "support/gui_wait.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

namespace {

class MainWindowTest : public testing::Test {
protected:
    MainWindowTest()
    {
        setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
        doc.OnNewDocument();
        window = std::make_unique<CVeskPcMainWin>(doc);
        view = window->view();
    }

    QString WriteFile(const std::function<void(transmitter::CTransmitter&)>& edit)
    {
        ScriptedUser otherUser;
        transmitter::CTransmitter values(otherUser, ports, sleeper);
        values.sensorType = 1;
        values.sensorConnection = 3;
        values.rangeUnits = 32;
        edit(values);
        const QString path = files.filePath("w.4410");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(document::StoreConfiguration(values));
        return path;
    }

    QPushButton* Button(int id) { return FindControlAs<QPushButton>(view, id); }

    TempPortMapDir portMap;
    PtyPort port;
    FakeDriverControl fake;
    QTemporaryDir config;
    QTemporaryDir files;
    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{port.comNumber()};
    document::CVeskDoc doc{user, ports, sleeper};
    std::unique_ptr<CVeskPcMainWin> window;
    CVeskView* view = nullptr;
};

QMenu* RecentMenu(const CVeskPcMainWin& window)
{
    for (QAction* item : window.menuBar()->actions().first()->menu()->actions())
        if (item->menu() && item->text() == QString::fromUtf8("Недавние файлы"))
            return item->menu();
    return nullptr;
}

// Sends a drag of the file onto the window and, when the window takes it, the drop;
// true when the drag was taken.
bool DropFile(QWidget& window, const QString& path)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    return enter.isAccepted();
}

// How much of the form the window lets the user see, scrolling as far as it goes.
QSize ReachablePart(const QMainWindow& window)
{
    const auto* scroll = qobject_cast<const QScrollArea*>(window.centralWidget());
    if (scroll == nullptr)
        return window.centralWidget()->geometry().intersected(window.rect()).size();
    const auto extent = [](const QScrollBar* bar, int visible) {
        return visible + (bar->isVisible() ? bar->maximum() : 0);
    };
    return {extent(scroll->horizontalScrollBar(), scroll->viewport()->width()),
            extent(scroll->verticalScrollBar(), scroll->viewport()->height())};
}

QStringList Captions(const QList<QAction*>& actions)
{
    QStringList out;
    for (const QAction* action : actions)
        out << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return out;
}

// The menu item the user sees under that caption (access key and shortcut text left out).
QAction* MenuEntry(const QMenuBar& bar, const QString& caption)
{
    QList<QAction*> found;
    for (const QAction* menu : bar.actions())
        for (QAction* item : menu->menu()->actions())
            if (item->text().section('\t', 0, 0).remove('&') == caption) found << item;
    return found.size() == 1 ? found.first() : nullptr;
}

}  // namespace

TEST_F(MainWindowTest, MenuCaptionsAndTitle)
{
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(Captions(menus),
              (QStringList{QString::fromUtf8("&Файл"), QString::fromUtf8("&Соединение"),
                           QString::fromUtf8("Справка")}));
    EXPECT_EQ(Captions(menus[1]->menu()->actions()),
              (QStringList{
                  QString::fromUtf8("&Загрузить из устройства"), "-",
                  QString::fromUtf8("&Отправить основные настройки"),
                  QString::fromUtf8("Отправить дополнительные настройки"), "-",
                  QString::fromUtf8("Настройки &порта"), QString::fromUtf8("Проверить соединение"),
                  QString::fromUtf8("Найти устройства на линии…"), "-",
                  QString::fromUtf8("График измерений…"), QString::fromUtf8("Журнал обмена…")}));
    EXPECT_EQ(window->action(kCmdFileNew)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(window->action(kCmdFileOpen)->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(window->action(kCmdFileSave)->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(window->windowTitle(),
              QString::fromUtf8("Untitled - Программа конфигурации Тарвел-4410"));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
}

// Each menu command chosen by its caption, from one opened, unchanged document with no
// transmitter on the line: what it did tells which handler ran.
TEST_F(MainWindowTest, EachMenuCommandDoesItsOwnThing)
{
    const struct {
        const char* caption;
        int command;
        QStringList effect;
    } commands[] = {
        {"Новый", kCmdFileNew, {"new document"}},
        {"Открыть...", kCmdFileOpen, {"new document", "open dialog"}},
        {"Сохранить", kCmdFileSave, {"file written"}},
        {"Сохранить как...", kCmdFileSaveAs, {"save dialog"}},
        {"Выход", kCmdAppExit, {"window closed"}},
        {"Загрузить из устройства", kCmdReadFromDevice, {"question 904"}},
        {"Отправить основные настройки", kCmdSendBasic, {"question 905"}},
        {"Отправить дополнительные настройки", kCmdSendAdvanced, {"question 906"}},
        {"Настройки порта", kCmdPortSettings, {"port dialog"}},
        {"Проверить соединение", kCmdCheckConnection, {"notice 906"}},
        {"Найти устройства на линии…", kCmdScanLine, {"scan dialog"}},
        {"Сравнить с устройством…", kCmdCompareWithDevice, {"open dialog"}},
        {"О программе...", kCmdAbout, {"about box"}},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.caption);
        const QString path = WriteFile([](auto&) {});
        CVeskPcMainWin shown(doc);
        ASSERT_TRUE(shown.OpenDocumentFile(path));
        ASSERT_FALSE(doc.IsModified());
        QFile(path).remove();    // so that a save shows
        user.questions.clear();  // no answers: every question is cancelled
        user.messages.clear();
        QStringList effect;
        shown.chooseFileToOpen = [&] {
            effect << "open dialog";
            return QString();
        };
        shown.chooseFileToSave = [&](const QString&) {
            effect << "save dialog";
            return QString();
        };
        shown.runPortDialog = [&] {
            effect << "port dialog";
            return std::optional<int>();
        };
        shown.runScanDialog = [&] { effect << "scan dialog"; };
        QObject::connect(&shown, &CVeskPcMainWin::aboutRequested, [&] { effect << "about box"; });
        shown.show();

        QAction* item = MenuEntry(*shown.menuBar(), QString::fromUtf8(c.caption));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item, shown.action(c.command));
        item->trigger();

        if (doc.GetPathName().isEmpty()) effect.prepend("new document");
        if (QFile::exists(path)) effect << "file written";
        if (!shown.isVisible()) effect << "window closed";
        for (const auto& question : user.questions)
            effect << QStringLiteral("question %1").arg(question.id);
        for (const auto& notice : user.messages)
            effect << QStringLiteral("notice %1").arg(notice.id);
        EXPECT_EQ(effect.join(", ").toStdString(), c.effect.join(", ").toStdString());
    }
}

TEST_F(MainWindowTest, SaveEnablingFollowsTheDocument)
{
    EXPECT_FALSE(window->action(kCmdFileSave)->isEnabled());
    EXPECT_FALSE(window->action(kCmdFileSaveAs)->isEnabled());
    ASSERT_TRUE(window->OpenDocumentFile(WriteFile([](auto&) {})));
    EXPECT_TRUE(window->action(kCmdFileSave)->isEnabled());
    EXPECT_EQ(window->windowTitle(),
              QString::fromUtf8("w.4410 - Программа конфигурации Тарвел-4410"));
    EXPECT_TRUE(window->OnFileNew());
    EXPECT_FALSE(window->action(kCmdFileSaveAs)->isEnabled());
}

TEST_F(MainWindowTest, ModifiedDocumentAsksBeforeNewAndCancelKeepsIt)
{
    doc.setDamping(3.0f);
    user.answers = {document::IDCANCEL};
    EXPECT_FALSE(window->OnFileNew());
    EXPECT_EQ(doc.damping(), 3.0f);
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_EQ(user.questions[0].text, "Save changes to Untitled?");

    user.answers = {document::IDNO};
    EXPECT_TRUE(window->OnFileNew());
    EXPECT_TRUE(std::isnan(doc.damping()));
}

TEST_F(MainWindowTest, SaveAsUsesTheChosenFile)
{
    doc.setDamping(2.0f);
    const QString target = files.filePath("saved.4410");
    window->chooseFileToSave = [&](const QString& proposed) {
        EXPECT_EQ(proposed, QStringLiteral("Untitled"));
        return target;
    };
    window->action(kCmdFileSave)->trigger();  // enabled by the edit
    EXPECT_EQ(doc.GetPathName(), target);
    EXPECT_FALSE(doc.IsModified());
}

// Through Qt's own dialog: the title proposed, "victim" typed while victim.4410 exists.
TEST_F(MainWindowTest, SaveAsProposesTheTitleAndAsksBeforeReplacingTheNameWithItsExtension)
{
    const QString victim = files.filePath("victim.4410");
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        SCOPED_TRACE(answer);
        QFile existing(victim);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("keep");
        existing.close();
        doc.OnNewDocument();
        doc.setDamping(2.0f);
        QString proposed;
        QString question;
        HandleNextModal<QFileDialog>([&](QFileDialog& dialog) {
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name == nullptr) {
                dialog.reject();
                return;
            }
            proposed = name->text();
            HandleNextMessageBox([&](QMessageBox& box) {
                question = box.text();
                Press(box, answer);
            });
            name->setText(files.filePath("victim"));
            QTest::keyClick(name, Qt::Key_Return);
            if (dialog.isVisible()) dialog.reject();
        });
        window->action(kCmdFileSaveAs)->trigger();
        EXPECT_EQ(proposed, QStringLiteral("Untitled"));
        EXPECT_TRUE(question.contains(QStringLiteral("victim.4410"))) << question.toStdString();
        EXPECT_EQ(FileBytes(victim) == "keep", answer == QMessageBox::No);
        EXPECT_EQ(doc.GetPathName(), answer == QMessageBox::Yes ? victim : QString());
    }
}

// Monitoring holds New and Open; the recent-file list and dropped files follow them.
TEST_F(MainWindowTest, WhileTheMainControlsAreHeldNoRecentFileOrDropReplacesTheDocument)
{
    const QString first = WriteFile([](auto&) {});
    ASSERT_TRUE(window->OpenDocumentFile(first));
    QMenu* recent = RecentMenu(*window);
    ASSERT_NE(recent, nullptr);
    EXPECT_TRUE(recent->isEnabled());

    doc.EnableMainControls(false);
    EXPECT_FALSE(recent->isEnabled());
    const QString copy = files.filePath("copy.4410");
    window->chooseFileToSave = [&](const QString&) { return copy; };
    window->action(kCmdFileSaveAs)->trigger();
    ASSERT_EQ(doc.GetPathName(), copy);
    EXPECT_FALSE(recent->isEnabled());
    recent->actions().constLast()->trigger();
    EXPECT_FALSE(DropFile(*window, first));
    EXPECT_EQ(doc.GetPathName(), copy);

    doc.EnableMainControls(true);
    EXPECT_TRUE(recent->isEnabled());
    EXPECT_TRUE(DropFile(*window, first));
    EXPECT_EQ(doc.GetPathName(), first);
}

// A screen narrower or lower than the form (or both): the window stays on the screen and
// the form scrolls so that all of it can be reached.
TEST_F(MainWindowTest, OnASmallerScreenTheWholeFormCanBeScrolledTo)
{
    const QSize form = window->sizeHint();
    const QSize screens[] = {{form.width() - 100, form.height() + 200},
                             {form.width() + 200, form.height() - 100},
                             {form.width() - 100, form.height() - 100}};
    for (const QSize& screen : screens) {
        SCOPED_TRACE(testing::Message() << screen.width() << "x" << screen.height());
        CVeskPcMainWin placed(doc);
        PlaceMainWindow(placed, QRect(QPoint(0, 0), screen));
        placed.show();
        EXPECT_LE(placed.width(), screen.width());
        EXPECT_LE(placed.height(), screen.height() - 35);
        const QSize whole = placed.view()->size();
        EXPECT_TRUE(WaitUntil([&] {
            const QSize reachable = ReachablePart(placed);
            return reachable.width() >= whole.width() && reachable.height() >= whole.height();
        })) << ReachablePart(placed).width()
            << "x" << ReachablePart(placed).height();
    }
}

TEST_F(MainWindowTest, ViewHasFourTabsAndTheFormControls)
{
    QTabWidget* tabs = view->tabs();
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), QString::fromUtf8("Основное"));
    EXPECT_EQ(tabs->tabText(1), QString::fromUtf8("Дополнительное"));
    EXPECT_EQ(tabs->tabText(2), QString::fromUtf8("Информация"));
    EXPECT_EQ(tabs->tabText(3), QString::fromUtf8("Калибровка"));
    EXPECT_EQ(Button(188)->text(), QString::fromUtf8("Открыть из файла"));
    EXPECT_EQ(Button(188)->toolTip(), QString::fromUtf8("Укажите файл для загрузки"));
    EXPECT_EQ(Button(189)->toolTip(),
              QString::fromUtf8("Чтение данных из подключенного устройства Тарвел-4410"));
    EXPECT_NE(FindControlAs<QProgressBar>(view, 1239), nullptr);
}

TEST_F(MainWindowTest, OpenButtonOnlyOnTheFirstTwoTabs)
{
    for (int tab : {0, 1, 2, 3, 1}) {
        view->tabs()->setCurrentIndex(tab);
        EXPECT_EQ(Button(188)->isEnabled(), tab < 2) << tab;
    }
}

TEST_F(MainWindowTest, MainControlsAndDeviceCommandsFollowTheHints)
{
    doc.EnableMainControls(false);
    EXPECT_FALSE(view->tabs()->tabBar()->isEnabled());
    EXPECT_FALSE(Button(189)->isEnabled());
    EXPECT_FALSE(window->action(kCmdReadFromDevice)->isEnabled());
    EXPECT_FALSE(window->action(kCmdSendBasic)->isEnabled());
    EXPECT_FALSE(window->action(kCmdFileNew)->isEnabled());
    EXPECT_FALSE(window->action(kCmdFileOpen)->isEnabled());
    EXPECT_FALSE(window->action(kCmdCompareWithDevice)->isEnabled());
    EXPECT_TRUE(window->action(kCmdTrend)->isEnabled());
    doc.EnableMainControls(true);
    EXPECT_TRUE(window->action(kCmdFileOpen)->isEnabled());
    EXPECT_TRUE(view->tabs()->tabBar()->isEnabled());
    EXPECT_TRUE(Button(189)->isEnabled());
    EXPECT_TRUE(window->action(kCmdCheckConnection)->isEnabled());
}

TEST_F(MainWindowTest, FlaggedValuesBringTheirPageForwardBasicFirst)
{
    view->tabs()->setCurrentIndex(2);
    doc.transmitter().highAlmValFailed = 1;
    doc.transmitter().dampingFailed = 1;
    doc.SetProgress(50);
    EXPECT_EQ(view->currentTab(), 0);
    EXPECT_EQ(FindControlAs<QProgressBar>(view, 1239)->value(), 50);

    doc.transmitter().dampingFailed = 0;
    doc.SetProgress(0);
    EXPECT_EQ(view->currentTab(), 1);

    // Nothing flagged: the tab stays.
    doc.transmitter().highAlmValFailed = 0;
    view->tabs()->setCurrentIndex(3);
    doc.SetProgress(0);
    EXPECT_EQ(view->currentTab(), 3);
}

TEST_F(MainWindowTest, ShowInfoSelectsTheInformationTab)
{
    doc.OnRefreshLiveValues();
    EXPECT_EQ(view->currentTab(), CVeskView::kTabInformation);
}

TEST_F(MainWindowTest, PagesDisabledDuringARead)
{
    view->OnUpdate(document::HINT_DISABLE_PAGES);
    EXPECT_FALSE(Button(188)->isEnabled());
    view->OnUpdate(document::HINT_ENABLE_PAGES);
    EXPECT_TRUE(Button(188)->isEnabled());
}

// The report prints the texts the pages show when it is printed: a value from the file
// whole, a value as the user typed it.
TEST_F(MainWindowTest, ReportPrintsWhatThePagesShow)
{
    ASSERT_TRUE(window->OpenDocumentFile(WriteFile([](auto& v) {
        v.lowerRangeValue = -1234.5f;
        v.upperRangeValue = 100.0f;
    })));
    auto* upper = FindControlAs<QLineEdit>(view->page(0), 134);
    upper->selectAll();
    QTest::keyClicks(upper, "12.5");
    const QStringList report = document::ReportText(view->ReportLines());
    ASSERT_EQ(report.size(), 24);
    EXPECT_EQ(report[3], QString::fromUtf8("Точка 4 мА: -1234.50 °C"));
    EXPECT_EQ(report[4], QString::fromUtf8("Точка 20 мА: 12.5 °C"));
}

// Each tip of the view and its four pages, as hovering shows it.
TEST_F(MainWindowTest, TooltipsWrapAtAHundredPixels)
{
    window->show();
    const auto shownTip = []() -> QLabel* {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->inherits("QTipLabel") && top->isVisible()) return static_cast<QLabel*>(top);
        return nullptr;
    };
    int tips = 0;
    int wrapped = 0;
    for (int tab = 0; tab < CVeskView::kTabCount; ++tab) {
        view->tabs()->setCurrentIndex(tab);
        QList<QWidget*> controls = view->page(tab)->findChildren<QWidget*>();
        if (tab == 0) controls << Button(188) << Button(189);
        for (QWidget* control : controls) {
            if (control->toolTip().isEmpty()) continue;
            const QPoint centre = control->rect().center();
            QHelpEvent hover(QEvent::ToolTip, centre, control->mapToGlobal(centre));
            QApplication::sendEvent(control, &hover);
            QLabel* tip = shownTip();
            ASSERT_NE(tip, nullptr) << control->toolTip().toStdString();
            ++tips;
            // The text's width; the label's margins and the pixel the tip adds come on top.
            // Only a word wider than the width itself may widen the tip.
            const int textWidth = tip->contentsRect().width() - 2 * tip->margin() - 1;
            int widestWord = 0;
            for (const QString& word : control->toolTip().split(u' '))
                widestWord = std::max(widestWord, tip->fontMetrics().horizontalAdvance(word));
            EXPECT_LE(textWidth, std::max(100, widestWord) + 2) << control->toolTip().toStdString();
            if (tip->height() > 2 * tip->fontMetrics().height()) ++wrapped;
            QToolTip::hideText();
        }
    }
    EXPECT_GE(tips, 40);
    EXPECT_GT(wrapped, tips / 2);  // most tips are longer than 100 pixels
}

// With TARVEL4410_SCREENSHOT_DIR set, each tab is saved as a picture for a look at the
// layout; the test itself checks only that nothing spills out of the form.
TEST_F(MainWindowTest, PagesFitInsideTheirTab)
{
    ASSERT_TRUE(window->OpenDocumentFile(WriteFile([](auto& v) {
        v.lowerRangeValue = 0.0f;
        v.upperRangeValue = 100.0f;
        v.damping = 1.0f;
    })));
    window->show();
    const QByteArray dir = qgetenv("TARVEL4410_SCREENSHOT_DIR");
    for (int tab = 0; tab < CVeskView::kTabCount; ++tab) {
        view->tabs()->setCurrentIndex(tab);
        QWidget* page = view->page(tab);
        for (QWidget* child : page->findChildren<QWidget*>()) {
            if (!child->isVisibleTo(page) || child->parentWidget() != page) continue;
            EXPECT_TRUE(QRect(QPoint(0, 0), page->size()).contains(child->geometry()))
                << "tab " << tab << ": " << child->metaObject()->className() << " id "
                << ControlId(child);
        }
        if (!dir.isEmpty())
            window->grab().save(QString::fromLocal8Bit(dir) +
                                QStringLiteral("/tab%1.png").arg(tab));
    }
}
