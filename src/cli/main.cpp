#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/terminal_user.h"

namespace {

// Printing lays out text with fonts, which need Qt's GUI side; on a machine without a
// display it runs on the offscreen platform.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv, bool printing)
{
    if (!printing) return std::make_unique<QCoreApplication>(argc, argv);
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const cli::ParseResult parsed = cli::ParseOptions(args);
    if (parsed.help) {
        std::fputs(parsed.usage.c_str(), stdout);
        return cli::kExitDone;
    }
    // A reader of the trace or the record that goes away ends a write with an error, not
    // the program.
    std::signal(SIGPIPE, SIG_IGN);

    // Numbers as the user writes them: the decimal separator of their numeric locale.
    std::setlocale(LC_NUMERIC, "");
    const auto app =
        MakeApplication(argc, argv, parsed.options && parsed.options->command->needsFonts());
    std::setlocale(LC_NUMERIC, "");
    QLocale::setDefault(QLocale::system());

    if (!parsed.options) {
        std::fprintf(stderr, "tarvel4410-cli: %s\n%s", parsed.error.c_str(),
                     cli::UsageText().c_str());
        return cli::kExitUsage;
    }
    cli::TerminalUser user(parsed.options->answers, stdout, stdin, isatty(STDIN_FILENO) != 0);
    return cli::RunCommand(*parsed.options, user);
}
