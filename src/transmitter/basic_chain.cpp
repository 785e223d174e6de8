#include "hart/command_table.h"
#include "transmitter/tag_text.h"
#include "transmitter/transmitter.h"

namespace transmitter {
namespace {

constexpr int kInvalidSensorType = 11;
constexpr int kInvalidConnection = 12;
constexpr int kDescriptorLength = 16;

}  // namespace

using namespace hart;

// A value the user left unset keeps the transmitter's current setting, so the current
// configuration is read first and only the chosen parts are replaced.
int CTransmitter::WriteSensorConfig()
{
    if (sensorType == kSensorNotSet && sensorConnection == kSensorNotSet) return 1;

    std::int32_t echo = 0;
    if (!TransactOrReport(CMD_READ_SENSOR_CONFIG, {&echo}).ok) {
        sensorTypeFailed = FlagIfSet(sensorType, kSensorNotSet);
        sensorConnectionFailed = FlagIfSet(sensorConnection, kSensorNotSet);
        return 0;
    }
    std::int32_t type = kSensorNotSet;
    std::int32_t connection = kSensorNotSet;
    DecodeResponse(CMD_READ_SENSOR_CONFIG, {&echo, &type, &connection});
    sensorTypeFailed = sensorConnectionFailed = 0;
    if (sensorType != kSensorNotSet) type = sensorType;
    if (sensorConnection != kSensorNotSet) connection = sensorConnection;

    const Exchange written = TransactOrReport(CMD_WRITE_SENSOR_CONFIG, {&echo, &type, &connection});
    if (!written.ok) {
        switch (written.result) {
        case kInvalidSensorType:
            sensorTypeFailed = 1;
            sensorConnectionFailed = 0;
            break;
        case kInvalidConnection:
            sensorTypeFailed = 0;
            sensorConnectionFailed = 1;
            break;
        default:
            sensorTypeFailed = FlagIfSet(sensorType, kSensorNotSet);
            sensorConnectionFailed = FlagIfSet(sensorConnection, kSensorNotSet);
            break;
        }
        return 0;
    }
    // The echo goes into the scratch values: the parameter set keeps the user's choice.
    DecodeResponse(CMD_WRITE_SENSOR_CONFIG, {&echo, &type, &connection});
    sensorTypeFailed = sensorConnectionFailed = 0;
    if (written.result == RESULT_WARNING)
        ShowResponseError(CMD_WRITE_SENSOR_CONFIG, written.result);
    return 1;
}

int CTransmitter::WriteRangeUnits()
{
    if (rangeUnits == kUnitsNotSet) return 1;
    return WriteEchoed(CMD_WRITE_RANGE_UNITS, &rangeUnits, rangeUnitsFailed).ok ? 1 : 0;
}

// The transmitter rounds a damping below 0.5 s up and says so with the warning 8; the
// echo keeps the rounded value and the user is told.
int CTransmitter::WriteDamping()
{
    if (IsNotSet(damping)) return 1;
    const Exchange written = WriteEchoed(CMD_WRITE_DAMPING, &damping, dampingFailed);
    if (!written.ok) return 0;
    if (written.result == RESULT_WARNING) ShowResponseError(CMD_WRITE_DAMPING, written.result);
    return 1;
}

// Command 18 writes tag, descriptor and date together; the descriptor and date are read
// first and sent back unchanged, so only the tag changes.
int CTransmitter::WriteTag()
{
    if (tag[0] == u'\0') return 1;
    const NarrowTag narrow = NarrowTagOf(tag);

    if (!TransactOrReport(CMD_READ_TAG).ok) {
        tagFailed = 1;
        return 0;
    }
    char descriptor[kDescriptorLength + 1] = {};
    std::uint8_t day = 0, month = 0, year = 0;
    DecodeResponse(CMD_READ_TAG, {FieldRef{}, descriptor, &day, &month, &year});
    tagFailed = 0;

    const char* descriptorText = descriptor;
    if (!TransactOrReport(CMD_WRITE_TAG, {narrow.data(), descriptorText, &day, &month, &year}).ok) {
        tagFailed = 1;
        return 0;
    }
    NarrowTag echoed{};
    DecodeResponse(CMD_WRITE_TAG, {echoed.data()});
    WidenTag(echoed, tag);
    tagFailed = 0;
    return 1;
}

}  // namespace transmitter
