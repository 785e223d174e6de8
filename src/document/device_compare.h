#pragma once

#include <vector>

#include <QString>

#include "document/page_values.h"

namespace document {

class CVeskDoc;

// A configuration line of the report whose text differs between a file and the transmitter.
struct LineDifference {
    QString label;
    QString fileText;    // value and unit as the report prints them
    QString deviceText;  // likewise

    // "label: file value -> device value"
    QString text() const;
};

// The lines of the Basic and Advanced pages' report sections (what a file holds) whose
// printed texts differ, in report order.
std::vector<LineDifference> ConfigurationDifferences(const PageValues& file,
                                                     const PageValues& device);

// The closing line: the configurations agree, or how many lines differ.
QString ComparisonSummary(std::size_t differences);

struct DeviceComparison {
    enum class Outcome { Compared, FileNotOpened, ReadCancelled, ReadIncomplete };
    Outcome outcome = Outcome::ReadCancelled;
    std::vector<LineDifference> differences;  // only when compared
};

// Opens the file, then reads the transmitter as "read" does, both in the given document,
// whose contents they replace; the file's and the read's messages and questions as usual.
// Compared only when the file opened and the read was complete; an incomplete read is
// reported as not compared.
DeviceComparison CompareWithDevice(CVeskDoc& doc, const QString& path);

}  // namespace document
