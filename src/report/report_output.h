#pragma once

#include <vector>

#include <QString>

#include "document/report_lines.h"

namespace document {
class CVeskDoc;
}

namespace report {

// Writes the document's report to a PDF file: an A4 page whose printable area is the whole
// sheet. The file is replaced only when the whole report was written. A failure is told
// through the document's user interaction.
bool WriteReportPdf(document::CVeskDoc& doc, const QString& path);
// The same with the lines as the pages show them.
bool WriteReportPdf(document::CVeskDoc& doc, const QString& path,
                    const std::vector<document::ReportLine>& lines);

// Prints the document's report on the named printer, or on the default printer when the
// name is empty; a name ending in ".pdf" is a file the report is written to instead.
bool PrintReportTo(document::CVeskDoc& doc, const QString& printerName);
// The same with the lines as the pages show them.
bool PrintReportTo(document::CVeskDoc& doc, const QString& printerName,
                   const std::vector<document::ReportLine>& lines);

}  // namespace report
