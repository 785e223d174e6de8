#include "report/configuration_report.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include "document/display_text.h"
#include "report/report_font.h"
#include "report/report_geometry.h"
#include "report/report_section.h"
#include "resources/string_ids/report.h"

namespace report {
namespace {

using tarvel::kReportTitle;
constexpr double kMmPerInch = 25.4;

// The printable area is the painter's whole device; its size in millimetres follows from
// the device's own pixels per inch, so pixels and millimetres describe the same rectangle.
ReportGeometry GeometryOf(const QPaintDevice& device)
{
    const QSize areaPixels(device.width(), device.height());
    const QSizeF areaMm(areaPixels.width() * kMmPerInch / device.logicalDpiX(),
                        areaPixels.height() * kMmPerInch / device.logicalDpiY());
    return ReportGeometryOf(areaPixels, areaMm);
}

}  // namespace

bool PrintConfigurationReport(QPagedPaintDevice& device,
                              const std::vector<document::ReportLine>& lines)
{
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setFont(ReportFont(device));
    const ReportGeometry geometry = GeometryOf(device);
    DrawAtCellTop(painter, geometry.labelX, geometry.titleY, document::LoadedText(kReportTitle));
    PrintReportSection(painter, lines, geometry.labelX, geometry.firstLineY, geometry.lineStep,
                       geometry.valueX);
    return painter.end();
}

}  // namespace report
