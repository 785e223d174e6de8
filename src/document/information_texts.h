#pragma once

#include <QString>

#include "document/page_values.h"

namespace document {

// What the Information page shows for the values: live values with their unit labels,
// identification (empty until a transmitter has been identified), and the two fault lamps.
struct InformationTexts {
    QString sensorTemp;
    QString sensorTempUnit;
    QString loopCurrent;
    QString xmtrTemp;
    QString xmtrTempUnit;
    QString softwareVersion;  // universal.device.software revisions
    QString hardwareVersion;
    QString serialNumber;          // the final assembly number
    QString manufacturingDate;     // day.month.year as the transmitter reports them
    bool sensorFaultLamp = false;  // red when true, grey otherwise
    bool xmtrFaultLamp = false;
};
InformationTexts InformationTextsOf(const PageValues& values);

}  // namespace document
