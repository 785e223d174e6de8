#pragma once

#include <QSize>
#include <QSizeF>

namespace report {

// Where the report's texts go, in device pixels from the printable area's top left corner.
struct ReportGeometry {
    int labelX = 0;
    int valueX = 0;
    int titleY = 0;
    int firstLineY = 0;
    int lineStep = 0;
};

constexpr double kLabelColumnMm = 25.0;
constexpr double kValueColumnMm = 94.0;
constexpr double kTitleTopMm = 15.0;
constexpr double kFirstLineBelowTitleMm = 17.0;
constexpr double kLineStepMm = 5.0;

// The positions for a printable area of areaPixels that measures areaMm: each millimetre
// figure times the area's pixels per millimetre, truncated to a whole pixel, so the report
// keeps its place on the paper whatever the printer's resolution.
ReportGeometry ReportGeometryOf(QSize areaPixels, QSizeF areaMm);

}  // namespace report
