#include <QBuffer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include "report/report_font.h"
#include "report/report_geometry.h"
#include "report/report_section.h"

using report::ReportGeometry;
using report::ReportGeometryOf;

namespace {

struct GeometryCase {
    const char* name;
    QSize pixels;
    QSizeF millimetres;
    ReportGeometry expected;
};

// Worked by hand from the millimetre figures (25, 94, 15, 17, 5) and each area's pixels per
// millimetre, every product truncated.
const GeometryCase kGeometryCases[] = {
    // A4 at 72 dpi: 2.8346 px/mm; 70.87 → 70, 266.46 → 266, 42.52 → 42, 48.19 → 48, 14.17 → 14.
    {"A4 at 72 dpi", {595, 842}, {595 * 25.4 / 72, 842 * 25.4 / 72}, {70, 266, 42, 90, 14}},
    // A4 at 1200 dpi: 47.244 px/mm; 1181.1, 4440.9, 708.66, 803.15, 236.22.
    {"A4 at 1200 dpi",
     {9917, 14033},
     {9917 * 25.4 / 1200, 14033 * 25.4 / 1200},
     {1181, 4440, 708, 708 + 803, 236}},
    // Rounding would give 50, 187, 30, 30 + 34 and 10 here.
    {"1.99 px/mm", {199, 398}, {100, 200}, {49, 187, 29, 29 + 33, 9}},
    // Different scales across and down: x at 4 px/mm, y at 2.5 px/mm.
    {"4 × 2.5 px/mm", {800, 500}, {200, 200}, {100, 376, 37, 37 + 42, 12}},
};

class ReportGeometryTest : public testing::TestWithParam<GeometryCase> {};

}  // namespace

TEST_P(ReportGeometryTest, ColumnsAndLinesAreTruncatedPixels)
{
    const GeometryCase& c = GetParam();
    const ReportGeometry g = ReportGeometryOf(c.pixels, c.millimetres);
    EXPECT_EQ(g.labelX, c.expected.labelX);
    EXPECT_EQ(g.valueX, c.expected.valueX);
    EXPECT_EQ(g.titleY, c.expected.titleY);
    EXPECT_EQ(g.firstLineY, c.expected.firstLineY);
    EXPECT_EQ(g.lineStep, c.expected.lineStep);
}

INSTANTIATE_TEST_SUITE_P(Areas, ReportGeometryTest, testing::ValuesIn(kGeometryCases),
                         [](const auto& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                             return name;
                         });

TEST(ReportGeometry, AnEmptyAreaGivesNoPositionsInsteadOfDividingByZero)
{
    for (const auto& [pixels, mm] :
         {std::pair{QSize(0, 0), QSizeF(0, 0)}, std::pair{QSize(100, 100), QSizeF(0, 0)},
          std::pair{QSize(100, 100), QSizeF(50, 0)}}) {
        const ReportGeometry g = ReportGeometryOf(pixels, mm);
        EXPECT_EQ(g.lineStep, 0);
        EXPECT_EQ(g.valueX, 0);
    }
}

TEST(ReportFont, ItsCellIsASixthOfAnInchOnEveryResolution)
{
    for (const int dpi : {72, 300, 600, 1200}) {
        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&sink);
        pdf.setResolution(dpi);
        const QFont font = report::ReportFont(pdf);
        const int cell = dpi / 6;
        EXPECT_EQ(report::ReportCellHeight(pdf), cell);
        const QFontMetrics metrics(font, &pdf);
        EXPECT_LE(metrics.height(), cell) << dpi;
        // Within a couple of pixels of it: the em is not simply set to the cell.
        EXPECT_GE(metrics.height(), cell - std::max(2, cell / 50)) << dpi;
        const QFontInfo info(font);
        EXPECT_TRUE(info.fixedPitch()) << info.family().toStdString();
        EXPECT_FALSE(info.bold());
        EXPECT_FALSE(info.italic());
    }
}

TEST(ReportSection, LinesGoOneStepApartAndTheNextSectionStartsAfterTheLast)
{
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    std::vector<document::ReportLine> lines(3);
    lines[0].label = QStringLiteral("A");
    lines[1].label = QStringLiteral("B");
    lines[2].label = QStringLiteral("C");
    EXPECT_EQ(report::PrintReportSection(painter, lines, 10, 20, 30, 200), 20 + 3 * 30);
    EXPECT_EQ(report::PrintReportSection(painter, {}, 10, 110, 30, 200), 110);
}
