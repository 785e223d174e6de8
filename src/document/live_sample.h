#pragma once

#include <cstdint>

#include <QDateTime>
#include <QMetaType>

#include "transmitter/parameter_values.h"

namespace document {

class CVeskDoc;

// What one monitoring cycle read: the measured value (the primary variable) in its units,
// the loop current and the two fault lamps. A cycle that failed keeps only its time: its
// other fields would be the previous cycle's, or the failure values. The levels are the
// monitored document's, so a trend keeps them when another document is opened later.
struct LiveSample {
    QDateTime time;  // when the cycle began, local time
    bool read = false;
    bool startsRun = false;  // the first cycle after monitoring started
    float primaryValue = transmitter::kNotSetFloat;
    std::int32_t primaryUnits = transmitter::kUnitsNotSet;
    float loopCurrent = transmitter::kNotSetFloat;
    bool sensorFault = false;
    bool xmtrFault = false;
    float lowAlarm = transmitter::kNotSetFloat;
    float highAlarm = transmitter::kNotSetFloat;
    float lowSaturation = transmitter::kNotSetFloat;
    float highSaturation = transmitter::kNotSetFloat;
};

// The loop current as a percent of the 4–20 mA span: the range as the output signals it.
// A cycle reads no percent of its own, and the range itself is unknown to a bare monitor.
float PercentOfRange(float loopCurrentMa);

// The cycle just run on the document's transmitter; read is false when it failed.
LiveSample LiveSampleOf(const CVeskDoc& doc, const QDateTime& began, bool read,
                        bool startsRun = false);

}  // namespace document

Q_DECLARE_METATYPE(document::LiveSample)
