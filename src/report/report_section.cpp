#include "report/report_section.h"

#include <QPainter>

namespace report {

void DrawAtCellTop(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

int PrintReportSection(QPainter& painter, const std::vector<document::ReportLine>& lines,
                       int labelX, int y, int lineStep, int valueX)
{
    for (const document::ReportLine& line : lines) {
        DrawAtCellTop(painter, labelX, y, line.label);
        DrawAtCellTop(painter, valueX, y, line.valueColumnText());
        y += lineStep;
    }
    return y;
}

}  // namespace report
