#include "report/report_geometry.h"

namespace report {
namespace {

int Pixels(double millimetres, double pixelsPerMm)
{
    return static_cast<int>(millimetres * pixelsPerMm);
}

}  // namespace

ReportGeometry ReportGeometryOf(QSize areaPixels, QSizeF areaMm)
{
    if (areaMm.isEmpty() || areaPixels.isEmpty()) return {};
    const double sx = areaPixels.width() / areaMm.width();
    const double sy = areaPixels.height() / areaMm.height();
    ReportGeometry geometry;
    geometry.labelX = Pixels(kLabelColumnMm, sx);
    geometry.valueX = Pixels(kValueColumnMm, sx);
    geometry.titleY = Pixels(kTitleTopMm, sy);
    geometry.firstLineY = geometry.titleY + Pixels(kFirstLineBelowTitleMm, sy);
    geometry.lineStep = Pixels(kLineStepMm, sy);
    return geometry;
}

}  // namespace report
