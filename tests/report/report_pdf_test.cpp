// The report as it lands on paper: printed to PDF, read back with pdftotext -bbox, and
// measured in millimetres from the printable area's top left corner.
//
// How positions are compared: the report places each text by the top of its character
// cell; pdftotext gives a word's yMin as its baseline less the font's ascent. The baseline
// lies a whole number of device pixels below the cell top (the ascent rounded), so yMin is
// the cell top to within half a device pixel. xMin is where the text was drawn. At 1200 dpi the
// nominal millimetre figures hold to a small tolerance: each of them is truncated to a pixel (0.02
// mm), and the 5 mm step, truncated 23 times down to the 24th line, loses about 0.1 mm. At 72 dpi a
// pixel is a point, and the truncation itself is checked point for point.
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include "document/example_report.h"
#include "document/page_values.h"
#include "document/report_lines.h"
#include "report/configuration_report.h"
#include "report/pdf_words.h"
#include "report/report_document.h"
#include "report/report_output.h"
#include "report/report_title.h"

namespace {

constexpr double kColumnToleranceMm = 0.05;
constexpr double kLineToleranceMm = 0.2;
constexpr double kCellHeightMm = 25.4 / 6;
constexpr int kReportLineCount = 24;

// Where a report line is expected, in millimetres from the printable area's top.
double LineTopMm(int lineNumber) { return 15.0 + 17.0 + 5.0 * (lineNumber - 1); }

// A report page read back: the title line and the 24 report lines.
struct ReadReport {
    PdfPage page;
    QPointF areaMm;  // the printable area's top left corner on the sheet
    std::vector<PdfTextLine> lines;

    const PdfTextLine& title() const { return lines.front(); }
    const PdfTextLine& line(int number) const { return lines.at(static_cast<std::size_t>(number)); }
};

ReadReport Read(const QString& pdf)
{
    ReadReport report{ReadPdfPage(pdf), {}, {}};
    EXPECT_TRUE(report.page.error.isEmpty()) << report.page.error.toStdString();
    report.lines = report.page.lines();
    EXPECT_EQ(report.lines.size(), static_cast<std::size_t>(1 + kReportLineCount));
    if (report.lines.size() != 1 + kReportLineCount) report.lines.resize(1 + kReportLineCount);
    return report;
}

class ReportPdfTest : public testing::Test {
protected:
    // The report of a .4410 file, written by the program's own PDF output.
    ReadReport PrintFile(const std::function<void(transmitter::CTransmitter&)>& edit = {})
    {
        const QString file = files.WriteConfigurationFile(QStringLiteral("config.4410"), edit);
        files.doc.OnNewDocument();
        EXPECT_TRUE(files.doc.OnOpenDocument(file));
        pdf = files.path(QStringLiteral("report.pdf"));
        EXPECT_TRUE(report::WriteReportPdf(files.doc, pdf));
        EXPECT_TRUE(files.user.messages.empty());
        return Read(pdf);
    }

    // The report of the same file on a device of this resolution and page layout.
    ReadReport PrintOn(int dotsPerInch, const QPageLayout& layout)
    {
        const QString file = files.WriteConfigurationFile(QStringLiteral("config.4410"));
        files.doc.OnNewDocument();
        EXPECT_TRUE(files.doc.OnOpenDocument(file));
        pdf = files.path(QStringLiteral("device.pdf"));
        QPointF areaPixels;
        {
            QPdfWriter writer(pdf);
            writer.setResolution(dotsPerInch);
            writer.setPageLayout(layout);
            // Qt puts the margins on whole points, so the area starts where the layout says in
            // pixels.
            areaPixels = writer.pageLayout().paintRectPixels(dotsPerInch).topLeft();
            EXPECT_TRUE(report::PrintConfigurationReport(
                writer, document::ReportLines(document::PageValuesOf(files.doc))));
        }
        ReadReport report = Read(pdf);
        report.areaMm = areaPixels * 25.4 / dotsPerInch;
        return report;
    }

    ReportDocument files;
    QString pdf;
};

}  // namespace

TEST_F(ReportPdfTest, TitleAndLinesSitAtTheirMillimetresOnAnA4Sheet)
{
    const ReadReport report = PrintFile();
    EXPECT_NEAR(report.page.widthMm, 210.0, 0.5);
    EXPECT_NEAR(report.page.heightMm, 297.0, 0.5);

    EXPECT_EQ(report.title().textBetween(0), kTitle);
    EXPECT_NEAR(report.title().words.front().xMinMm, 25.0, kColumnToleranceMm);
    EXPECT_NEAR(report.title().topMm, 15.0, kColumnToleranceMm);

    for (int n = 1; n <= kReportLineCount; ++n) {
        const PdfTextLine& line = report.line(n);
        EXPECT_NEAR(line.topMm, LineTopMm(n), kLineToleranceMm) << "line " << n;
        EXPECT_NEAR(line.words.front().xMinMm, 25.0, kColumnToleranceMm) << "line " << n;
        const auto colon = line.firstFrom(90.0);
        ASSERT_TRUE(colon) << "line " << n;
        EXPECT_EQ(colon->text.left(1), QStringLiteral(":")) << "line " << n;
        EXPECT_NEAR(colon->xMinMm, 94.0, kColumnToleranceMm) << "line " << n;
        // Every text of the line shares the report font's cell: a sixth of an inch.
        for (const PdfWord& word : line.words)
            EXPECT_NEAR(word.yMaxMm - word.yMinMm, kCellHeightMm, 0.05) << "line " << n;
    }
    EXPECT_NEAR(report.line(kReportLineCount).topMm, 147.0, kLineToleranceMm);
}

TEST_F(ReportPdfTest, FileWithEveryValueSetPrintsItsValuesAndUnits)
{
    const ReadReport report = PrintFile();
    QStringList printed;
    for (int n = 1; n <= kReportLineCount; ++n)
        printed << report.line(n).textBetween(0, 90.0) + QStringLiteral(" | ") +
                       report.line(n).textBetween(90.0);

    QStringList expected;
    const QStringList configured = ExampleConfigurationReport();
    for (int n = 0; n < configured.size(); ++n) {
        // Label and value column as the pages show them; the tag's padding is not visible.
        const QString line = n == 0 ? QString::fromUtf8("Тег датчика: TT-101") : configured[n];
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        expected << line.left(colon) + QStringLiteral(" | ") + line.mid(colon).simplified();
    }
    // Nothing live in a file: the Information lines have their labels and ": " only.
    for (const char* label :
         {"Температура сенсора", "Аналоговый выход", "Температура датчика", "Неисправность сенсора",
          "Неисправность датчика", "Версия программы", "Версия аппаратной части",
          "Конечный номер сборки", "Дата сборки трансмиттера"})
        expected << QString::fromUtf8(label) + QStringLiteral(" | :");
    EXPECT_EQ(printed, expected);
}

TEST_F(ReportPdfTest, UnsetTwentyMilliampPointPrintsTheColonAndNoUnit)
{
    const ReadReport report = PrintFile(
        [](transmitter::CTransmitter& v) { v.upperRangeValue = transmitter::kNotSetFloat; });
    EXPECT_EQ(report.line(4).textBetween(90.0), QString::fromUtf8(": 0.00 °C"));
    EXPECT_EQ(report.line(5).textBetween(0, 90.0), QString::fromUtf8("Точка 20 мА"));
    const PdfTextLine& unset = report.line(5);
    ASSERT_EQ(unset.words.size(), 4u);  // "Точка", "20", "мА", ":"
    EXPECT_EQ(unset.words.back().text, QStringLiteral(":"));
    EXPECT_NEAR(unset.words.back().xMinMm, 94.0, kColumnToleranceMm);
}

TEST_F(ReportPdfTest, TheFontIsOneRegularFixedPitchFace)
{
    const ReadReport report = PrintFile();
    const QStringList fonts = PdfFontNames(pdf);
    ASSERT_EQ(fonts.size(), 1) << fonts.join(' ').toStdString();
    for (const char* style : {"Bold", "Italic", "Oblique"})
        EXPECT_FALSE(fonts[0].contains(QLatin1String(style))) << style;

    // Fixed pitch: every character of every word is as wide as every other.
    const PdfWord& sample = report.title().words.front();
    const double advanceMm = (sample.xMaxMm - sample.xMinMm) / sample.text.size();
    for (const PdfTextLine& line : report.lines)
        for (const PdfWord& word : line.words)
            EXPECT_NEAR((word.xMaxMm - word.xMinMm) / word.text.size(), advanceMm, 0.01)
                << word.text.toStdString();
}

TEST_F(ReportPdfTest, PositionsCountFromThePrintableAreaNotTheSheet)
{
    const ReadReport report =
        PrintOn(600, QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait,
                                 QMarginsF(12, 8, 10, 10), QPageLayout::Millimeter));
    const double left = report.areaMm.x();
    const double top = report.areaMm.y();
    ASSERT_NEAR(left, 12.0, 0.5);
    ASSERT_NEAR(top, 8.0, 0.5);
    EXPECT_NEAR(report.title().words.front().xMinMm, left + 25.0, kColumnToleranceMm);
    EXPECT_NEAR(report.title().topMm, top + 15.0, kColumnToleranceMm);
    EXPECT_NEAR(report.line(1).topMm, top + 32.0, kLineToleranceMm);
    EXPECT_NEAR(report.line(kReportLineCount).topMm, top + 147.0, kLineToleranceMm);
    const auto colon = report.line(kReportLineCount).firstFrom(left + 90.0);
    ASSERT_TRUE(colon);
    EXPECT_NEAR(colon->xMinMm, left + 94.0, kColumnToleranceMm);
}

TEST_F(ReportPdfTest, EveryPositionIsTruncatedToAWholeDevicePixel)
{
    // At 72 dpi a device pixel is a PDF point: 25 mm is 70.87 px, drawn at 70; 94 mm at 266;
    // the title's top 15 mm at 42; the first line 17 mm (48.19 px) below it; steps of 14 px.
    const ReadReport report =
        PrintOn(72, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                                QPageLayout::Millimeter));
    const auto points = [](double mm) { return mm / kMmPerPoint; };
    constexpr double kExact = 0.01;
    // The cell top is the baseline less the ascent rounded to a pixel: within half a pixel.
    constexpr double kCellTop = 0.5;

    EXPECT_NEAR(points(report.title().words.front().xMinMm), 70, kExact);
    EXPECT_NEAR(points(report.title().topMm), 42, kCellTop);
    EXPECT_NEAR(points(report.line(1).topMm - report.title().topMm), 48, kExact);
    for (int n = 1; n <= kReportLineCount; ++n) {
        EXPECT_NEAR(points(report.line(n).words.front().xMinMm), 70, kExact) << "line " << n;
        const auto colon = report.line(n).firstFrom(90.0);
        ASSERT_TRUE(colon) << "line " << n;
        EXPECT_NEAR(points(colon->xMinMm), 266, kExact) << "line " << n;
        if (n > 1) {
            EXPECT_NEAR(points(report.line(n).topMm - report.line(n - 1).topMm), 14, kExact)
                << "line " << n;
        }
    }
    EXPECT_NEAR(points(report.line(kReportLineCount).topMm), 42 + 48 + 23 * 14, kCellTop);
}
