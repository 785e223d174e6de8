// tarvel4410-cli's bash completion, run by bash on the words typed so far, against the built
// program's --help.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli/cli_command.h"

namespace {

// As bash calls a completion function: the line up to the cursor; the replies one a line.
constexpr const char* kDriver = R"(
source "$1" || exit 3
COMP_LINE=$2
COMP_POINT=${#COMP_LINE}
_tarvel4410_cli
printf '%s\n' "${COMPREPLY[@]}"
)";

QStringList Complete(const QString& typed, const QString& folder, const QString& portMap)
{
    const QString program = qEnvironmentVariable("TARVEL4410_BIN_DIR") + "/tarvel4410-cli";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TARVEL4410_PORTS_DIR", portMap);
    QProcess bash;
    bash.setProcessEnvironment(environment);
    bash.setWorkingDirectory(folder);
    bash.start("bash",
               {"-c", kDriver, "bash", TARVEL4410_PACKAGING_DIR "/bash-completion/tarvel4410-cli",
                program + ' ' + typed});
    EXPECT_TRUE(bash.waitForFinished(30000));
    EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
    QStringList replies = QString::fromUtf8(bash.readAllStandardOutput()).split('\n');
    replies.removeAll(QString());
    replies.sort();
    return replies;
}

}  // namespace

TEST(BashCompletion, OffersWhatTheProgramTakesAtEachWord)
{
    QTemporaryDir folder;
    QTemporaryDir portMap;
    for (const char* file : {"a.4410", "notes.txt"}) {
        QFile made(folder.filePath(file));
        ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir("sub"));
    for (const char* port : {"COM3", "COM12"})
        ASSERT_TRUE(QFile::link("/dev/null", portMap.filePath(port)));
    QFile owner(portMap.filePath("COM3.owner"));
    ASSERT_TRUE(owner.open(QIODevice::WriteOnly));

    QStringList commands;
    for (const auto& command : cli::MakeCommands())
        commands << QString::fromStdString(command->name());
    commands.sort();
    const struct {
        const char* typed;
        QStringList replies;
    } cases[] = {
        {"", commands},
        {"se", {"send-advanced", "send-basic"}},
        {"--", {"--address", "--answer", "--hart-ip", "--help", "--port", "--tcp"}},
        {"--address 7 sc", {"scan"}},
        {"--port ", {"12", "3"}},
        {"--hart-ip ", {}},
        {"--hart-ip gw:5094 --tcp re", {"read"}},
        {"--answer 9", {"905=", "906="}},
        {"--answer 905=", {"cancel", "no", "ok", "retry", "yes"}},
        {"--answer 906=r", {"retry"}},
        {"--port 3 send-basic --", {"--trace", "--validate"}},
        {"--port 3 read ", {"a.4410", "sub"}},
        {"--trace t.trace read ", {"a.4410", "sub"}},
        {"show ", {"a.4410", "sub"}},
        {"print a.4410 --pdf ", {"a.4410", "notes.txt", "sub"}},
        {"monitor --cycles ", {}},
        {"fixed-current o", {"off"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Complete(c.typed, folder.path(), portMap.path()), c.replies) << c.typed;
}
