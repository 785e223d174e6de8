#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "document/report_lines.h"

namespace document {
class CVeskDoc;
}

namespace report {

// "/p file" and "/pt file printer ...": opens the file into the document and prints its
// report, on the named printer or, when printer is empty, the default one; a printer name
// ending in ".pdf" writes that PDF file. No window is involved; every message goes through
// the document's user interaction. Returns the program's exit code: 0 printed, 1 not.
int PrintFromCommandLine(document::CVeskDoc& doc, const QString& file, const QString& printer);
// The same, printing the lines the pages show once the file is open.
using ShownReport = std::function<std::vector<document::ReportLine>()>;
int PrintFromCommandLine(document::CVeskDoc& doc, const QString& file, const QString& printer,
                         const ShownReport& shown);

}  // namespace report
