#include "document/information_texts.h"

#include "document/display_text.h"
#include "document/value_format.h"

namespace document {
namespace {

constexpr int kLiveValueDecimals = 2;

}  // namespace

InformationTexts InformationTextsOf(const PageValues& values)
{
    InformationTexts t;
    t.sensorTemp = FormatValue(values.sensorTemp, kLiveValueDecimals);
    t.sensorTempUnit = UnitText(values.sensorTempUnits);
    t.loopCurrent = FormatValue(values.loopCurrent, kLiveValueDecimals);
    t.xmtrTemp = FormatValue(values.xmtrTemp, kLiveValueDecimals);
    t.xmtrTempUnit = UnitText(values.xmtrTempUnits);
    // A universal revision of 0 means identification never succeeded.
    if (values.universalRev != 0) {
        t.softwareVersion = QStringLiteral("%1.%2.%3")
                                .arg(values.universalRev)
                                .arg(values.deviceRev)
                                .arg(values.softwareRev);
        t.hardwareVersion = QString::number(values.hardwareRev);
        t.serialNumber = QString::number(values.finalAssemblyNumber);
        t.manufacturingDate = QStringLiteral("%1.%2.%3")
                                  .arg(values.xmtrAsmDay)
                                  .arg(values.xmtrAsmMonth)
                                  .arg(values.xmtrAsmYear);
    }
    t.sensorFaultLamp = values.sensorFailure != 0;
    t.xmtrFaultLamp = values.xmtrFailure != 0;
    return t;
}

}  // namespace document
