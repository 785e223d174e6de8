#pragma once

#include <vector>

#include "document/report_lines.h"

class QPagedPaintDevice;

namespace report {

// Prints the one-page configuration report on the device: the title, then the lines (the
// Basic, Advanced and Information sections, one after another), placed in millimetres
// from the top left corner of the printable area. False when the device could not be
// painted on.
bool PrintConfigurationReport(QPagedPaintDevice& device,
                              const std::vector<document::ReportLine>& lines);

}  // namespace report
