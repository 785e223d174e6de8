// The manual pages name what the programs' --help names. An option, command, question or
// environment variable added to a --help text fails here until its page describes it.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include "cli/cli_command.h"

namespace {

const char* const kPrograms[] = {"tarvel4410-config", "tarvel4410-cli", "tarvel4410-sim"};

// --name, a short -x, the desktop program's /p forms; not parts of paths or words.
const QString kOption =
    QStringLiteral(R"((?<![\w/-])(--[a-z][a-z0-9-]*|-[a-z]|/[a-z]+)(?![\w/-]))");
const QString kLongOption = QStringLiteral(R"((?<![\w/-])(--[a-z][a-z0-9-]*))");
const QString kEnvironment = QStringLiteral(R"(\b((?:TARVEL4410|XDG)_[A-Z_]+)\b)");

// Without a display, as on a build machine: the usage needs none.
QString Help(const QString& program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("TARVEL4410_BIN_DIR") + '/' + program, {"--help"});
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PagePath(const QString& program)
{
    return QStringLiteral(TARVEL4410_PACKAGING_DIR "/man/") + program + QStringLiteral(".1");
}

// The page's text without roff's escaped hyphens and font changes.
QString PageText(const QString& program)
{
    QFile file(PagePath(program));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    text.remove(QRegularExpression(QStringLiteral(R"(\\f[BIRP])")));
    return text;
}

QSet<QString> Matches(const QString& text, const QString& pattern)
{
    QSet<QString> found;
    const QRegularExpression expression(pattern, QRegularExpression::MultilineOption);
    for (const auto& match : expression.globalMatch(text)) found << match.captured(1);
    return found;
}

// The lines of a --help section ("commands:", "questions:") up to the next heading.
QString HelpSection(const QString& help, const QString& heading)
{
    const qsizetype start = help.indexOf('\n' + heading + ":\n");
    if (start < 0) return {};
    const QString rest = help.mid(start + heading.size() + 3);
    const auto end =
        QRegularExpression(QStringLiteral("^\\S"), QRegularExpression::MultilineOption).match(rest);
    return end.hasMatch() ? rest.left(end.capturedStart()) : rest;
}

}  // namespace

TEST(ManualPages, NameEveryOptionAndVariableOfTheHelpAndNoOther)
{
    for (const QString program : kPrograms) {
        SCOPED_TRACE(program.toStdString());
        const QString help = Help(program);
        const QString page = PageText(program);
        ASSERT_FALSE(help.isEmpty());
        const QSet<QString> pageWords = Matches(page, kOption) + Matches(page, kEnvironment);
        for (const QString& word : Matches(help, kOption) + Matches(help, kEnvironment))
            EXPECT_TRUE(pageWords.contains(word))
                << program.toStdString() << " --help names " << word.toStdString() << ", "
                << PagePath(program).toStdString() << " does not";
        // The examples may show the other programs' options too.
        const QString described = page.left(page.indexOf(QStringLiteral("\n.SH EXAMPLES")));
        const QSet<QString> helpOptions = Matches(help, kLongOption);
        for (const QString& option : Matches(described, kLongOption))
            EXPECT_TRUE(helpOptions.contains(option))
                << PagePath(program).toStdString() << " names " << option.toStdString() << ", "
                << program.toStdString() << " --help does not";
    }
}

TEST(ManualPages, DescribeEveryCommandAndQuestionOfTheCommandLine)
{
    const QString help = Help(QStringLiteral("tarvel4410-cli"));
    const QString page = PageText(QStringLiteral("tarvel4410-cli"));
    const qsizetype commands = page.indexOf(QStringLiteral("\n.SH COMMANDS\n"));
    ASSERT_GE(commands, 0);
    const QString section = page.mid(commands, page.indexOf("\n.SH ", commands + 1) - commands);
    const QSet<QString> described =
        Matches(section, QStringLiteral(R"(^\.TP\n\.B[IR]? ([a-z-]+))"));
    QSet<QString> commandNames;
    for (const auto& command : cli::MakeCommands())
        commandNames << QString::fromStdString(command->name());
    EXPECT_EQ(described, commandNames);
    const QSet<QString> questions =
        Matches(HelpSection(help, QStringLiteral("questions")), QStringLiteral(R"(^  (\d+) )"));
    EXPECT_FALSE(questions.isEmpty());
    for (const QString& id : questions)
        EXPECT_TRUE(Matches(page, QStringLiteral(R"(\b(\d+)\b)")).contains(id))
            << "question " << id.toStdString() << " of --help is not in the page";
}

TEST(DebianChangelog, NewestEntryIsTheProgramsVersion)
{
    QFile changelog(QStringLiteral(TARVEL4410_PACKAGING_DIR "/debian/changelog"));
    ASSERT_TRUE(changelog.open(QIODevice::ReadOnly));
    const QByteArray first = changelog.readLine();
    EXPECT_TRUE(first.startsWith("tarvel4410 (" PROJECT_VERSION ") ")) << first.toStdString();
}
