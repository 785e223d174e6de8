#pragma once

#include <cstdint>
#include <string>

#include "document/page_values.h"
#include "hart/user_interaction.h"

namespace document {

// What the Basic page's send button checks: the codes its lists select, the stored range
// points and the sensor limits the page shows for its selection.
struct BasicSendValues {
    std::int32_t sensorType = transmitter::kSensorNotSet;
    std::int32_t sensorConnection = transmitter::kSensorNotSet;
    std::int32_t unitCode = transmitter::kUnitsNotSet;
    float lowerRangeValue = transmitter::kNotSetFloat;  // 4 mA
    float upperRangeValue = transmitter::kNotSetFloat;  // 20 mA
    float lowerSensorLimit = transmitter::kNotSetFloat;
    float upperSensorLimit = transmitter::kNotSetFloat;
    std::u16string tag;  // as stored
};

// The page's current list selections.
struct BasicSelection {
    int sensorIndex;
    int connectionIndex;
    int unitsIndex;
};
BasicSendValues BasicSendValuesFor(const BasicSelection& selection, const PageValues& values);

// The selections and limits the page shows for the values after its refresh: the checks
// as the send button runs them on a freshly loaded document (the command line's case).
BasicSendValues BasicSendValuesAsShown(const PageValues& values);

// The send button's checks, in order: the tag's characters (902, as the tag field checks
// them), choices (1263, 1264, 1265), points (1266, 1267; none given passes), span (1268),
// choices for the points (1269), sensor limits (1270, 1271).
// The first that fires is shown as an error and answers false; no value is stored.
bool ValidateBasicSend(const BasicSendValues& values, hart::UserInteraction& ui);

// ValidateBasicSend on what the page shows for the document.
bool ValidateBasicPage(const CVeskDoc& doc, hart::UserInteraction& ui);

}  // namespace document
