#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/vesk_pc_main_win.h"
#include "diagnostics/trace_log.h"
#include "diagnostics/trace_window.h"
#include "document/vesk_doc.h"
#include "support/answer_frames.h"
#include "support/fake_driver_control.h"
#include "support/fake_sleeper.h"
#include "support/gui_wait.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

namespace {

using diagnostics::TraceModel;

QPushButton* ButtonNamed(QWidget* window, const char* caption)
{
    for (auto* button : window->findChildren<QPushButton*>())
        if (button->text() == QString::fromUtf8(caption)) return button;
    return nullptr;
}

}  // namespace

// Hours of monitoring: events come from another thread, the newest 10,000 stay.
TEST(TraceLog, KeepsTheNewestTenThousandEventsFromAnotherThread)
{
    diagnostics::TraceLog log(std::chrono::steady_clock::time_point{});
    constexpr int kEvents = TraceModel::kCapacity + 50;
    std::thread monitor([&log] {
        for (int i = 0; i < kEvents; ++i)
            log.record(hart::TraceEvent{std::chrono::steady_clock::time_point{} +
                                            std::chrono::milliseconds(i),
                                        hart::TraceKind::NoAnswer,
                                        i,
                                        -1,
                                        {},
                                        {}});
    });
    monitor.join();
    const TraceModel& model = log.model();
    ASSERT_TRUE(WaitUntil([&] {
        return model.rowCount() > 0 &&
               model.row(model.rowCount() - 1).meaning.endsWith(QString(" %1").arg(kEvents - 1));
    }));
    EXPECT_EQ(model.rowCount(), TraceModel::kCapacity);
    EXPECT_TRUE(model.row(0).meaning.endsWith(" 50")) << model.row(0).meaning.toStdString();
    EXPECT_EQ(model.row(0).time, "00:00:00.050");
}

class TraceWindowTest : public testing::Test {
protected:
    TraceWindowTest()
    {
        setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
        doc.OnNewDocument();
        window = std::make_unique<CVeskPcMainWin>(doc);
    }

    // "Проверить соединение" against the scripted identification answer.
    void Check()
    {
        fake.scriptWrite({answers::IdentityAnswer()});
        window->action(kCmdCheckConnection)->trigger();
    }

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
};

TEST_F(TraceWindowTest, MenuOpensTheWindowThatShowsDecodesPausesClearsAndSaves)
{
    // Traffic before the window first opens is in it too.
    Check();
    window->action(kCmdFrameTrace)->trigger();
    diagnostics::TraceWindow* traceWindow = window->traceWindow();
    ASSERT_NE(traceWindow, nullptr);
    EXPECT_TRUE(traceWindow->isVisible());
    EXPECT_FALSE(traceWindow->isModal());
    auto* table = traceWindow->findChild<QTableView*>();
    const auto* model = table->model();
    ASSERT_TRUE(WaitUntil([&] { return model->rowCount() >= 6; })) << model->rowCount();
    const int perCheck = model->rowCount();

    // The answer, selected, shows its fields in the detail pane.
    int answer = -1;
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, TraceModel::kDirection).data().toString() == "<") answer = r;
    ASSERT_GE(answer, 0);
    EXPECT_TRUE(model->index(answer, TraceModel::kCommand).data().toString().startsWith("249 "));
    table->selectRow(answer);
    const QString details = traceWindow->findChild<QPlainTextEdit*>()->toPlainText();
    EXPECT_TRUE(details.contains(QString::fromUtf8("изготовитель: 153"))) << details.toStdString();

    // Paused, the table stands still; resumed, it catches up.
    QPushButton* pause = ButtonNamed(traceWindow, "Пауза");
    ASSERT_NE(pause, nullptr);
    QTest::mouseClick(pause, Qt::LeftButton);
    Check();
    QCoreApplication::processEvents();
    EXPECT_EQ(model->rowCount(), perCheck);
    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_EQ(model->rowCount(), 2 * perCheck);

    // Saved as text: the start line, then every row in the trace's format.
    const QString path = files.filePath("session.trace");
    traceWindow->chooseFileToSave = [&path] { return path; };
    QTest::mouseClick(ButtonNamed(traceWindow, "Сохранить как текст…"), Qt::LeftButton);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(saved.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2 * perCheck + 1);
    EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8("00:00:00.000 ! журнал начат ")));
    EXPECT_TRUE(lines.filter(" > 02 00 F9 00 FB  249 ").size() == 2)
        << lines.join('\n').toStdString();

    // A file that cannot be written is reported and nothing claims success.
    traceWindow->chooseFileToSave = [this] { return files.filePath("no/such/folder/t.trace"); };
    QTest::mouseClick(ButtonNamed(traceWindow, "Сохранить как текст…"), Qt::LeftButton);
    ASSERT_FALSE(user.messages.empty());
    EXPECT_EQ(user.messages.back().id, 2113);

    // A device or a FIFO in the file's place is refused with the reason and left as it is.
    const QString device = files.filePath("null");
    const QString fifo = files.filePath("fifo");
    ASSERT_EQ(::mknod(device.toLocal8Bit().constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const auto& [target, reason] : {std::pair{device, "it is a device, not a file"},
                                         std::pair{fifo, "it is a FIFO, not a file"}}) {
        traceWindow->chooseFileToSave = [target = target] { return target; };
        QTest::mouseClick(ButtonNamed(traceWindow, "Сохранить как текст…"), Qt::LeftButton);
        EXPECT_EQ(user.messages.back().id, 2113);
        EXPECT_NE(user.messages.back().text.find(target.toStdString() + ": " + reason),
                  std::string::npos)
            << user.messages.back().text;
        EXPECT_FALSE(QFileInfo(target).isFile());
    }
    EXPECT_TRUE(QFileInfo(device).exists());

    QTest::mouseClick(ButtonNamed(traceWindow, "Очистить"), Qt::LeftButton);
    EXPECT_EQ(model->rowCount(), 0);
}

// For a support request: the session's trace also goes to the file the environment names.
TEST(TraceFileOfTheSession, EnvironmentNamesTheFileTheDesktopSessionWritesItsTraceTo)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("session.trace");
    setenv(diagnostics::kTraceFileVariable, path.toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit().constData(), 1);
    TempPortMapDir portMap;
    PtyPort port;
    FakeDriverControl fake;
    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{port.comNumber()};
    document::CVeskDoc doc{user, ports, sleeper};
    doc.OnNewDocument();
    {
        CVeskPcMainWin window(doc);
        unsetenv(diagnostics::kTraceFileVariable);
        fake.scriptWrite({answers::IdentityAnswer()});
        window.action(kCmdCheckConnection)->trigger();
        // Written as it happens, before the window or the session ends.
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(text.startsWith(QString::fromUtf8("00:00:00.000 ! журнал начат ")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(" > 02 00 F9 00 FB  249 ")) << text.toStdString();
        EXPECT_TRUE(text.contains(" < 06 80 F9 ")) << text.toStdString();
    }
    for (const auto& message : user.messages) EXPECT_NE(message.id, 2114);  // trace file not opened
}

// The session starts whatever the variable names, and says once what went wrong with it: a
// FIFO nobody reads when the window opens, a write refused later (a full disk).
TEST(TraceFileOfTheSession, AFileThatCannotTakeTheTraceIsSaidOnce)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath("session.fifo");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString file = folder.filePath("session.trace");
    setenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit().constData(), 1);
    TempPortMapDir portMap;
    PtyPort port;
    FakeDriverControl fake;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{port.comNumber()};
    struct Case {
        QString path;
        int id;
        const char* reason;
    };
    for (const Case& c :
         {Case{fifo, 2114, "nobody reads from the FIFO"}, Case{file, 2113, "File too large"}}) {
        SCOPED_TRACE(c.reason);
        ScriptedUser user;
        document::CVeskDoc doc{user, ports, sleeper};
        doc.OnNewDocument();
        setenv(diagnostics::kTraceFileVariable, c.path.toLocal8Bit().constData(), 1);
        CVeskPcMainWin window(doc);
        unsetenv(diagnostics::kTraceFileVariable);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit full = previous;
        full.rlim_cur = static_cast<rlim_t>(QFileInfo(file).size());
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
        const auto said = [&] {
            return std::count_if(user.messages.begin(), user.messages.end(),
                                 [&](const auto& message) { return message.id == c.id; });
        };
        const TraceModel& model = window.traceLog().model();
        for (int check = 0; check < 2; ++check) {
            const int rows = model.rowCount();
            fake.scriptWrite({answers::IdentityAnswer()});
            window.action(kCmdCheckConnection)->trigger();
            // The failure is looked at where the check's events reach the window's model.
            EXPECT_TRUE(QTest::qWaitFor([&] { return model.rowCount() > rows; }, 5000));
        }
        setrlimit(RLIMIT_FSIZE, &previous);
        EXPECT_EQ(said(), 1);
        const auto message = std::find_if(user.messages.begin(), user.messages.end(),
                                          [&](const auto& m) { return m.id == c.id; });
        ASSERT_NE(message, user.messages.end());
        EXPECT_NE(message->text.find(c.path.toStdString() + ": " + c.reason), std::string::npos)
            << message->text;
    }
}
