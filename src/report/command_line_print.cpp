#include "command_line_print.h"

#include "report_output.h"
#include "vesk_doc.h"

namespace report {

int PrintFromCommandLine(document::CVeskDoc& doc, const QString& file, const QString& printer)
{
    doc.OnNewDocument();
    if (!doc.OnOpenDocument(file)) return 1;
    return PrintReportTo(doc, printer) ? 0 : 1;
}

}  // namespace report
