#include "app/command_line.h"

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    QStringList rest;
    for (const QString& argument : arguments) {
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))
            line.help = true;
        else if (argument == QStringLiteral("--demo"))
            line.demo = true;
        else if (argument.compare(QStringLiteral("/dde"), Qt::CaseInsensitive) != 0)
            rest << argument;
    }
    if (rest.isEmpty() || line.help) return line;

    const QString first = rest.first();
    if (first.compare(QStringLiteral("/p"), Qt::CaseInsensitive) == 0) {
        if (rest.size() != 2) line.error = QStringLiteral("/p takes one file");
        line.action = CommandLine::Action::Print;
        line.file = rest.value(1);
    } else if (first.compare(QStringLiteral("/pt"), Qt::CaseInsensitive) == 0) {
        // The driver and port of the classic form name nothing on this platform.
        if (rest.size() < 3 || rest.size() > 5)
            line.error = QStringLiteral("/pt takes a file, a printer, a driver and a port");
        line.action = CommandLine::Action::PrintTo;
        line.file = rest.value(1);
        line.printer = rest.value(2);
    } else if (first.startsWith('-') || rest.size() > 1) {
        line.error = QStringLiteral("unknown arguments: ") + rest.join(' ');
    } else {
        line.action = CommandLine::Action::Open;
        line.file = first;
    }
    return line;
}

QString CommandLineUsage()
{
    return QStringLiteral(
        "usage: tarvel4410-config [--demo] [FILE]\n"
        "       tarvel4410-config [--demo] /p FILE\n"
        "       tarvel4410-config [--demo] /pt FILE PRINTER [DRIVER [PORT]]\n"
        "       tarvel4410-config --help\n"
        "  FILE        open this .4410 file\n"
        "  /p          print FILE's report on the default printer, without a window\n"
        "  /pt         print it on PRINTER (a name ending in .pdf writes that PDF); DRIVER\n"
        "              and PORT are accepted and ignored\n"
        "  /dde        accepted and ignored\n"
        "  --demo      use a simulated transmitter for this run, without changing the\n"
        "              stored port\n"
        "  -h, --help  show this text\n");
}
