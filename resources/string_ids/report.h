#pragma once

// The numbered texts of the printed report.

namespace tarvel {

// The printed report.
constexpr int kReportTitle = 1101;

}  // namespace tarvel
