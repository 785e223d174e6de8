#pragma once

#include "document/page_values.h"
#include "hart/user_interaction.h"

namespace document {

// The stored alarm and saturation levels, mA.
struct AlarmLevels {
    float lowAlarm = transmitter::kNotSetFloat;
    float highAlarm = transmitter::kNotSetFloat;
    float lowSaturation = transmitter::kNotSetFloat;
    float highSaturation = transmitter::kNotSetFloat;
};
AlarmLevels AlarmLevelsOf(const PageValues& values);

// The Advanced page's send checks, in order: all four levels or none (1253), low alarm
// bounds (1254, 1255), low saturation against its bound or the low alarm (1256, 1257) and
// its upper bound (1258), high saturation bounds (1259, 1260), high alarm bounds (1261,
// 1262). The first that fires is shown as an error and answers false; no value is stored.
bool ValidateAdvancedSend(const AlarmLevels& levels, hart::UserInteraction& ui);

// ValidateAdvancedSend on the document's stored levels.
bool ValidateAdvancedPage(const CVeskDoc& doc, hart::UserInteraction& ui);

}  // namespace document
