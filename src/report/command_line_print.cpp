#include "report/command_line_print.h"

#include "document/page_values.h"
#include "document/vesk_doc.h"
#include "report/report_output.h"

namespace report {

int PrintFromCommandLine(document::CVeskDoc& doc, const QString& file, const QString& printer)
{
    return PrintFromCommandLine(
        doc, file, printer, [&doc] { return document::ReportLines(document::PageValuesOf(doc)); });
}

int PrintFromCommandLine(document::CVeskDoc& doc, const QString& file, const QString& printer,
                         const ShownReport& shown)
{
    doc.OnNewDocument();
    if (!doc.OnOpenDocument(file)) return 1;
    return PrintReportTo(doc, printer, shown()) ? 0 : 1;
}

}  // namespace report
