#pragma once

#include <QString>
#include <QStringList>

// The program's command line: nothing (a new document), a file to open, "/p file" (print it
// and exit), "/pt file printer driver port" (print it on that printer and exit), "/dde"
// (accepted; the desktop opens files by naming them), and --demo anywhere; --help (or -h)
// anywhere asks for the usage alone.
struct CommandLine {
    enum class Action { New, Open, Print, PrintTo };

    Action action = Action::New;
    QString file;
    QString printer;
    bool demo = false;
    bool help = false;
    QString error;  // not empty when the arguments make no sense
};

CommandLine ParseCommandLine(const QStringList& arguments);

// What --help prints.
QString CommandLineUsage();
