#pragma once

#include <cstdint>

#include <QString>
#include <QStringList>

#include "document/basic_page_lists.h"
#include "document/page_values.h"

namespace document {

// The limit fields and the four unit labels for a sensor and a units selection. A limit
// shows only for a chosen sensor and unit; the labels beside it (the limit's and its range
// point's) are empty when it does not.
struct UnitsDisplay {
    std::int32_t unitCode = transmitter::kUnitsNotSet;  // implied by the units selection
    float lowerSensorLimit = transmitter::kNotSetFloat;
    float upperSensorLimit = transmitter::kNotSetFloat;
    QString lowerLimitText;
    QString upperLimitText;
    QString lowerUnitLabel;  // beside the 4 mA point and the lower limit
    QString upperUnitLabel;  // beside the 20 mA point and the upper limit
};
UnitsDisplay UnitsDisplayFor(int sensorIndex, int unitsIndex);

// What the Basic page shows for the values after its refresh.
struct BasicPageView {
    int sensorIndex = kNoSelection;
    QStringList connectionEntries;
    QStringList unitEntries;
    int connectionIndex = 0;
    int unitsIndex = 0;
    UnitsDisplay units;
    QString tag;
    QString sensorText;  // the selected entries, empty for none
    QString connectionText;
    QString lowerRangeText;
    QString upperRangeText;
    QString dampingText;
    bool flagged = false;  // a coloured field of the page shows a failed flag
};
BasicPageView BasicPageViewOf(const PageValues& values);

// The tag up to its terminating zero.
QString TagText(const CVeskDoc::Tag& tag);

// Stores what choosing a unit implies: the unit as the limits' unit (unless it is none),
// the sensor's limits in it, and the unit as the range unit when it differs.
void StoreUnitsChoice(CVeskDoc& doc, int sensorIndex, std::int32_t unitCode);
// Stores what choosing a sensor implies: its code, the connection and unit its rebuilt
// lists select for the stored ones, and its limits in that unit.
void StoreSensorChoice(CVeskDoc& doc, int sensorIndex);
// Stores what the page's refresh stores: the units choice its lists show for the values.
void StoreBasicRefresh(CVeskDoc& doc);

}  // namespace document
