#pragma once

#include <vector>

#include <QString>

#include "document/report_lines.h"

class QPainter;

namespace report {

// Writes text with the top of its character cell at y, as the report's geometry counts
// (Qt itself draws at the baseline).
void DrawAtCellTop(QPainter& painter, int x, int y, const QString& text);

// A section of the report in the painter's font: each line's label at labelX and its value
// column text at valueX, the first line's cell top at y, lines lineStep apart. Returns the
// y of the line after the last one, where the next section starts.
int PrintReportSection(QPainter& painter, const std::vector<document::ReportLine>& lines,
                       int labelX, int y, int lineStep, int valueX);

}  // namespace report
