#include "page_values.h"

#include <algorithm>
#include <iterator>

namespace document {

PageValues PageValuesOf(const CVeskDoc& doc)
{
    PageValues v;
    v.tag = doc.tag();
    const auto& held = doc.transmitter().tag;
    v.storedTag.assign(std::begin(held), std::find(std::begin(held), std::end(held), u'\0'));
    v.sensorType = doc.sensorType();
    v.sensorConnection = doc.sensorConnection();
    v.rangeUnits = doc.rangeUnits();
    v.lowerRangeValue = doc.lowerRangeValue();
    v.upperRangeValue = doc.upperRangeValue();
    v.damping = doc.damping();
    v.lowerSensorLimit = doc.lowerSensorLimit();
    v.upperSensorLimit = doc.upperSensorLimit();

    v.alarmSelect = doc.alarmSelect();
    v.lowAlmVal = doc.lowAlmVal();
    v.highAlmVal = doc.highAlmVal();
    v.lowSatVal = doc.lowSatVal();
    v.highSatVal = doc.highSatVal();
    v.lineFilter = doc.lineFilter();
    v.writeProtect = doc.writeProtect();

    v.sensorTemp = doc.sensorTemp();
    v.sensorTempUnits = doc.sensorTempUnits();
    v.loopCurrent = doc.loopCurrent();
    v.xmtrTemp = doc.xmtrTemp();
    v.xmtrTempUnits = doc.xmtrTempUnits();
    v.universalRev = doc.universalRev();
    v.deviceRev = doc.deviceRev();
    v.softwareRev = doc.softwareRev();
    v.hardwareRev = doc.hardwareRev();
    v.finalAssemblyNumber = doc.finalAssemblyNumber();
    v.xmtrAsmDay = doc.xmtrAsmDay();
    v.xmtrAsmMonth = doc.xmtrAsmMonth();
    v.xmtrAsmYear = doc.xmtrAsmYear();
    v.sensorFailure = doc.sensorFailure();
    v.xmtrFailure = doc.xmtrFailure();

    FailedFlags& f = v.failed;
    f.set(ValueFlag::Tag, doc.tagFailed());
    f.set(ValueFlag::SensorType, doc.sensorTypeFailed());
    f.set(ValueFlag::SensorConnection, doc.sensorConnectionFailed());
    f.set(ValueFlag::RangeUnits, doc.rangeUnitsFailed());
    f.set(ValueFlag::LowerRangeValue, doc.lowerRangeValueFailed());
    f.set(ValueFlag::UpperRangeValue, doc.upperRangeValueFailed());
    f.set(ValueFlag::Damping, doc.dampingFailed());
    f.set(ValueFlag::LowerSensorLimit, doc.lowerSensorLimitFailed());
    f.set(ValueFlag::UpperSensorLimit, doc.upperSensorLimitFailed());
    f.set(ValueFlag::AlarmSelect, doc.alarmSelectFailed());
    f.set(ValueFlag::LowAlmVal, doc.lowAlmValFailed());
    f.set(ValueFlag::HighAlmVal, doc.highAlmValFailed());
    f.set(ValueFlag::LowSatVal, doc.lowSatValFailed());
    f.set(ValueFlag::HighSatVal, doc.highSatValFailed());
    f.set(ValueFlag::LineFilter, doc.lineFilterFailed());
    f.set(ValueFlag::WriteProtect, doc.writeProtectFailed());
    return v;
}

}  // namespace document
