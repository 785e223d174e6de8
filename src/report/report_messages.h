#pragma once

namespace report {

// Messages of printing itself; like the document framework's, they have no number in the
// string table. %1 is the printer or the file, %2 the system's reason.
inline constexpr const char* kPrinterNotFound = "No printer named \"%1\" is available.";
inline constexpr const char* kNoDefaultPrinter = "No default printer is available.";
inline constexpr const char* kFailedToPrint = "Failed to print the report on \"%1\".";
inline constexpr const char* kFailedToWritePdf = "Failed to write the report to \"%1\": %2";

}  // namespace report
