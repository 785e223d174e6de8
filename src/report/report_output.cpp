#include "report/report_output.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "document/display_text.h"
#include "document/framework_messages.h"
#include "document/page_values.h"
#include "document/report_lines.h"
#include "document/vesk_doc.h"
#include "document/whole_file.h"
#include "report/configuration_report.h"
#include "report/report_messages.h"
#include "resources/string_ids.h"

namespace report {
namespace {

constexpr int kPdfDotsPerInch = 1200;

std::vector<document::ReportLine> LinesOf(const document::CVeskDoc& doc)
{
    return document::ReportLines(document::PageValuesOf(doc));
}

// The print job's name: the document's file name, as a print queue lists it.
QString JobName(const document::CVeskDoc& doc) { return QFileInfo(doc.GetPathName()).fileName(); }

bool Fail(document::CVeskDoc& doc, const QString& message)
{
    doc.ui().notify(document::kNoStringId, message.toStdString(), hart::MessageIcon::Exclamation);
    return false;
}

}  // namespace

bool WriteReportPdf(document::CVeskDoc& doc, const QString& path)
{
    return WriteReportPdf(doc, path, LinesOf(doc));
}

bool WriteReportPdf(document::CVeskDoc& doc, const QString& path,
                    const std::vector<document::ReportLine>& lines)
{
    // The report is laid out in memory first, then replaces the file whole.
    QByteArray bytes;
    QBuffer report(&bytes);
    report.open(QIODevice::WriteOnly);
    bool printed = false;
    {
        QPdfWriter pdf(&report);
        pdf.setResolution(kPdfDotsPerInch);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        pdf.setTitle(JobName(doc));
        pdf.setCreator(document::LoadedText(tarvel::kApplicationName));
        printed = PrintConfigurationReport(pdf, lines);
    }
    const QString error = printed ? document::WriteWholeFile(path, bytes)
                                  : QStringLiteral("the report could not be laid out");
    if (error.isEmpty()) return true;
    return Fail(doc, QString::fromUtf8(kFailedToWritePdf).arg(path, error));
}

bool PrintReportTo(document::CVeskDoc& doc, const QString& printerName)
{
    return PrintReportTo(doc, printerName, LinesOf(doc));
}

bool PrintReportTo(document::CVeskDoc& doc, const QString& printerName,
                   const std::vector<document::ReportLine>& lines)
{
    if (printerName.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return WriteReportPdf(doc, printerName, lines);

    const QPrinterInfo info = printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                    : QPrinterInfo::printerInfo(printerName);
    if (info.isNull()) {
        return Fail(doc, printerName.isEmpty()
                             ? QString::fromUtf8(kNoDefaultPrinter)
                             : QString::fromUtf8(kPrinterNotFound).arg(printerName));
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(JobName(doc));
    printer.setCreator(document::LoadedText(tarvel::kApplicationName));
    if (!PrintConfigurationReport(printer, lines))
        return Fail(doc, QString::fromUtf8(kFailedToPrint).arg(info.printerName()));
    return true;
}

}  // namespace report
