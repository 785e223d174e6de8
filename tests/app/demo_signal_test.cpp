// tarvel4410-config --demo as a separate process: a stop signal ends it cleanly, and the
// COM link of its simulated transmitter goes with it.
#include <csignal>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/program_environment.h"

TEST(DemoTransmitter, StopSignalsRemoveTheLinkAndEndCleanly)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        QTemporaryDir home;
        ASSERT_TRUE(QDir(home.path()).mkdir("ports"));
        const QDir ports(home.filePath("ports"));
        QProcessEnvironment environment = ProgramEnvironment(home);

        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(qEnvironmentVariable("TARVEL4410_BIN_DIR") + "/tarvel4410-config",
                      {"--demo"});
        ASSERT_TRUE(program.waitForStarted());
        // Links are counted whether or not their target is still there.
        const auto links = [&] {
            return ports.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        };
        // The link and its owner lock, which the program holds while it runs.
        const QStringList linkAndOwner{"COM1", "COM1.owner"};
        const bool linked = QTest::qWaitFor(
            [&] { return links() == linkAndOwner || program.state() == QProcess::NotRunning; },
            20000);
        ASSERT_TRUE(linked && program.state() == QProcess::Running)
            << program.readAllStandardError().toStdString();

        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signal), 0);
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        EXPECT_TRUE(links().isEmpty()) << links().join(' ').toStdString();
    }
}

// A trace FIFO nobody reads neither holds up the start nor a stop: the program says why it
// writes no trace, runs, and ends on SIGTERM.
TEST(DemoTransmitter, ATraceFifoWithoutReaderNeitherHoldsTheStartNorTheStop)
{
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkdir("ports"));
    const QString fifo = home.filePath("trace.fifo");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QProcessEnvironment environment = ProgramEnvironment(home);
    environment.insert("TARVEL4410_TRACE", fifo);

    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("TARVEL4410_BIN_DIR") + "/tarvel4410-config", {"--demo"});
    ASSERT_TRUE(program.waitForStarted());
    QString said;
    const bool told = QTest::qWaitFor(
        [&] {
            said += QString::fromUtf8(program.readAllStandardError());
            return said.contains(fifo + ": nobody reads from the FIFO");
        },
        10000);
    EXPECT_TRUE(told) << said.toStdString();
    ASSERT_EQ(program.state(), QProcess::Running);
    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(QDir(home.filePath("ports")).isEmpty());
}

// Without --demo too, and whatever the program inherited: a shell's background job starts with
// SIGINT ignored, and Ctrl+C or a stop must still end it cleanly.
TEST(StopSignals, EndTheProgramEvenWhenItInheritedThemIgnored)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        QTemporaryDir home;
        QProcessEnvironment environment = ProgramEnvironment(home);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setChildProcessModifier([] {
            std::signal(SIGINT, SIG_IGN);
            std::signal(SIGTERM, SIG_IGN);
        });
        program.start(qEnvironmentVariable("TARVEL4410_BIN_DIR") + "/tarvel4410-config");
        ASSERT_TRUE(program.waitForStarted());
        // The desktop files are written once the signals are caught.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return QFile::exists(home.filePath("data/applications/tarvel4410-config.desktop"));
            },
            10000));
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signal), 0);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }
}
