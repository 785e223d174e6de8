#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "document/page_values.h"

namespace document {

// How a report line prints its unit after the value.
enum class ReportUnit {
    None,          // no unit
    WhenValueSet,  // the unit follows a value; an empty value prints no unit
    Always,        // the unit label's text, whatever the value and even when empty
};

// One line of the printed configuration report: the label at the label column, then at
// the value column ": ", the value as its page shows it, and for a line with a unit a
// space and the unit.
struct ReportLine {
    int labelId = 0;
    QString label;
    QString value;
    QString unit;
    ReportUnit unitRule = ReportUnit::None;
    std::vector<ValueFlag> flags;  // the failed flags shown for this line
    bool failed = false;           // one of them is set

    bool hasUnit() const { return unitRule != ReportUnit::None; }
    // An empty value on a unit line keeps the space: ": " followed by a space.
    QString valueColumnText() const;
};

// The report's 24 lines in order: eight of the Basic page, seven of the Advanced page,
// nine of the Information page. The range unit is shown on the two range point lines,
// so its failed flag marks those two lines as well.
std::vector<ReportLine> ReportLines(const PageValues& values);

// The report as text: each line as "label: value unit", then one line "! label" for each
// line whose failed flag is set, in report order after all 24 lines.
QStringList ReportText(const std::vector<ReportLine>& lines);

}  // namespace document
