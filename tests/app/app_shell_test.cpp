#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/desktop_integration.h"
#include "app/program_environment.h"
#include "app/recent_files.h"
#include "app/window_placement.h"

TEST(CommandLineForms, EachFormAndItsErrors)
{
    using A = CommandLine::Action;
    struct Case {
        QStringList args;
        A action;
        QString file;
        QString printer;
        bool demo;
        bool error;
    } cases[] = {
        {{}, A::New, {}, {}, false, false},
        {{"a.4410"}, A::Open, "a.4410", {}, false, false},
        {{"/p", "a.4410"}, A::Print, "a.4410", {}, false, false},
        {{"/P", "a.4410"}, A::Print, "a.4410", {}, false, false},
        {{"/pt", "a.4410", "out.pdf", "drv", "port"},
         A::PrintTo,
         "a.4410",
         "out.pdf",
         false,
         false},
        {{"/dde"}, A::New, {}, {}, false, false},
        {{"--demo"}, A::New, {}, {}, true, false},
        {{"--demo", "a.4410"}, A::Open, "a.4410", {}, true, false},
        {{"/p"}, A::Print, {}, {}, false, true},
        {{"/pt", "a.4410"}, A::PrintTo, "a.4410", {}, false, true},
        {{"a.4410", "b.4410"}, A::New, {}, {}, false, true},
        {{"--frobnicate"}, A::New, {}, {}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.error.isEmpty(), !c.error);
        if (c.error) continue;
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.file, c.file);
        EXPECT_EQ(line.printer, c.printer);
        EXPECT_EQ(line.demo, c.demo);
    }
}

TEST(WindowPlacement, FitsOrScrolls)
{
    const QRect frame(0, 0, 620, 480);
    // Room enough: unchanged.
    EXPECT_EQ(ClampedFrame(frame, QRect(0, 0, 1920, 1080)).size(), frame.size());
    // A low screen: top at 0, the screen's height less 35, 16 pixels wider for the scroll bar.
    const QRect low = ClampedFrame(frame, QRect(0, 0, 1024, 400));
    EXPECT_EQ(low.top(), 0);
    EXPECT_EQ(low.height(), 400 - 35);
    EXPECT_EQ(low.width(), 620 + 16);
    // A narrow screen: as wide as the screen, the widening counted.
    const QRect narrow = ClampedFrame(frame, QRect(0, 0, 630, 400));
    EXPECT_EQ(narrow.left(), 0);
    EXPECT_EQ(narrow.width(), 630);
}

TEST(RecentFileList, NewestFirstFourAtMost)
{
    RecentFiles recent;
    for (const char* name : {"/a.4410", "/b.4410", "/c.4410", "/d.4410", "/e.4410", "/c.4410"})
        recent.Add(name);
    EXPECT_EQ(recent.files(), (QStringList{"/c.4410", "/e.4410", "/d.4410", "/b.4410"}));
    recent.Remove("/e.4410");
    EXPECT_EQ(recent.files().size(), 3);
}

TEST(DesktopIntegrationFiles, WrittenWithThisProgramAndKeptWhenUnchanged)
{
    // With an empty PATH (an absent one means the default) no update-mime-database starts: it
    // runs detached and would write into the folder after the test has removed it.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray(""));
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });
    QTemporaryDir data;
    ASSERT_TRUE(DesktopIntegration::Refresh(data.path(), "/opt/tarvel/bin/tarvel4410-config"));
    QFile desktop(data.filePath("applications/tarvel4410-config.desktop"));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QByteArray entry = desktop.readAll();
    EXPECT_TRUE(entry.contains("Exec=\"/opt/tarvel/bin/tarvel4410-config\" %f"));
    EXPECT_TRUE(entry.contains("Exec=\"/opt/tarvel/bin/tarvel4410-config\" /p %f"));
    EXPECT_TRUE(entry.contains("MimeType=application/x-tarvel4410-configuration;"));
    QFile mime(data.filePath("mime/packages/tarvel4410-mime.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    EXPECT_TRUE(mime.readAll().contains("<glob pattern=\"*.4410\"/>"));
    EXPECT_TRUE(QFile::exists(data.filePath("icons/hicolor/scalable/apps/tarvel4410-config.svg")));
    EXPECT_TRUE(DesktopIntegration::Refresh(data.path(), "/opt/tarvel/bin/tarvel4410-config"));
}

// Without a display nobody can close a message box: printing a file that cannot be opened
// ends the program with the notice on standard error and exit status 1.
TEST(CommandLinePrintWithoutDisplay, NoticeOnStandardErrorAndExit1)
{
    QTemporaryDir home;
    const QString missing = home.filePath("missing.4410");
    QProcessEnvironment environment = ProgramEnvironment(home);
    for (const char* platform : {"offscreen", "minimal"}) {
        for (const QStringList& arguments :
             {QStringList{"/p", missing},
              QStringList{"/pt", missing, home.filePath("out.pdf"), "drv", "port"}}) {
            SCOPED_TRACE(testing::Message() << platform << " " << arguments.first().toStdString());
            environment.insert("QT_QPA_PLATFORM", platform);
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QString::fromLocal8Bit(qgetenv("TARVEL4410_BIN_DIR")) +
                              "/tarvel4410-config",
                          arguments);
            const bool ended = program.waitForFinished(15000);
            if (!ended) {
                program.kill();
                program.waitForFinished();
            }
            EXPECT_TRUE(ended);
            EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(program.exitCode(), 1);
            EXPECT_TRUE(program.readAllStandardError().contains("Failed to open document."));
        }
    }
}
