#include <unistd.h>

#include <QCoreApplication>
#include <QLocale>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "cli_options.h"
#include "terminal_user.h"

int main(int argc, char* argv[])
{
    // Numbers as the user writes them: the decimal separator of their numeric locale.
    std::setlocale(LC_NUMERIC, "");
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "");
    QLocale::setDefault(QLocale::system());

    const std::vector<std::string> args(argv + 1, argv + argc);
    const cli::ParseResult parsed = cli::ParseOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "tarvel4410-cli: %s\n%s", parsed.error.c_str(), cli::UsageText().c_str());
        return cli::kExitUsage;
    }
    cli::TerminalUser user(parsed.options->answers, stdout, stdin, isatty(STDIN_FILENO) != 0);
    return cli::RunCommand(*parsed.options, user);
}
