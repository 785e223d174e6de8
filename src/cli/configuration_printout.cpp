#include "cli/configuration_printout.h"

#include "cli/terminal_user.h"
#include "document/report_lines.h"
#include "document/vesk_doc.h"

namespace cli {
namespace {

// The Information section closes the report.
constexpr std::size_t kInformationLines = 9;

void Print(const QStringList& lines, TerminalUser& user)
{
    for (const QString& line : lines) user.printLine(line.toStdString());
}

}  // namespace

void PrintConfiguration(const document::CVeskDoc& doc, TerminalUser& user)
{
    Print(document::ReportText(document::ReportLines(document::PageValuesOf(doc))), user);
}

void PrintFailedValues(const document::CVeskDoc& doc, TerminalUser& user)
{
    for (const document::ReportLine& line : document::ReportLines(document::PageValuesOf(doc)))
        if (line.failed) user.printLine("! " + line.label.toStdString());
}

void PrintInformation(const document::CVeskDoc& doc, TerminalUser& user)
{
    std::vector<document::ReportLine> lines = document::ReportLines(document::PageValuesOf(doc));
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(kInformationLines));
    for (auto& line : lines) line.failed = false;
    Print(document::ReportText(lines), user);
}

}  // namespace cli
