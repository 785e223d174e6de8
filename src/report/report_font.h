#pragma once

#include <QFont>

class QPaintDevice;

namespace report {

// The report's font on a device: plain, fixed pitch, its character cell (ascent plus
// descent) one sixth of an inch, the 12-point cell of a line printer.
QFont ReportFont(const QPaintDevice& device);

// The cell height in the device's pixels: one sixth of its vertical pixels per inch, truncated.
int ReportCellHeight(const QPaintDevice& device);

}  // namespace report
