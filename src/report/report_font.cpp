#include "report/report_font.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPaintDevice>

namespace report {
namespace {

constexpr int kCellsPerInch = 6;

}  // namespace

int ReportCellHeight(const QPaintDevice& device) { return device.logicalDpiY() / kCellsPerInch; }

QFont ReportFont(const QPaintDevice& device)
{
    // Named so the report looks the same on every machine; the hints pick another fixed,
    // upright, regular face where it is missing.
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
    font.setFixedPitch(true);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setKerning(false);

    const int cell = ReportCellHeight(device);
    // Qt sizes a font by its em, smaller than the cell: scale it down once, then make sure
    // rounding did not leave the cell a pixel too tall.
    font.setPixelSize(cell);
    const int fullHeight = QFontMetrics(font, &device).height();
    int pixelSize = std::max(fullHeight > 0 ? cell * cell / fullHeight : cell, 1);
    font.setPixelSize(pixelSize);
    while (pixelSize > 1 && QFontMetrics(font, &device).height() > cell)
        font.setPixelSize(--pixelSize);
    return font;
}

}  // namespace report
