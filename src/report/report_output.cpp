#include "report/report_output.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include "document/display_text.h"
#include "document/framework_messages.h"
#include "document/page_values.h"
#include "document/report_lines.h"
#include "document/vesk_doc.h"
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

// As many writes as the file takes, so that a full disk ends in a failed write with its
// reason rather than in a short count without one.
bool WriteAll(QIODevice& file, const QByteArray& bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0) return false;
        written += count;
    }
    return true;
}

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
    QSaveFile file(path);
    const auto failed = [&] {
        // The reason first: cancelling replaces it with its own.
        const QString message = QString::fromUtf8(kFailedToWritePdf).arg(path, file.errorString());
        file.cancelWriting();
        return Fail(doc, message);
    };
    // Unbuffered: a buffered write that fails only in commit()'s final flush goes unnoticed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failed();
    // The report is laid out in memory first, so every write to the file can be checked.
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
    if (!printed || !WriteAll(file, bytes)) return failed();
    return file.commit() || failed();
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
