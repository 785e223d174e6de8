#include "document/page_values.h"

#include <algorithm>
#include <iterator>

namespace document {
namespace {

// Each flag a page shows belongs to exactly one parameter that has a failed flag.
consteval bool PageFlagsEachOnce()
{
    int rows[kValueFlagCount] = {};
    for (const Parameter& parameter : kParameters) {
        if (!parameter.pageFlag) continue;
        if (!parameter.failed) return false;
        ++rows[static_cast<int>(*parameter.pageFlag)];
    }
    for (int count : rows)
        if (count != 1) return false;
    return true;
}
static_assert(PageFlagsEachOnce());

}  // namespace

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

    const transmitter::CTransmitter& t = doc.transmitter();
    for (const Parameter& parameter : kParameters)
        if (parameter.pageFlag) v.failed.set(*parameter.pageFlag, t.*parameter.failed != 0);
    return v;
}

}  // namespace document
