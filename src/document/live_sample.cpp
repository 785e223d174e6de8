#include "document/live_sample.h"

#include "document/vesk_doc.h"

namespace document {
namespace {

constexpr float kZeroScaleMa = 4.0f;
constexpr float kSpanMa = 16.0f;

}  // namespace

float PercentOfRange(float loopCurrentMa)
{
    return 100.0f * (loopCurrentMa - kZeroScaleMa) / kSpanMa;
}

LiveSample LiveSampleOf(const CVeskDoc& doc, const QDateTime& began, bool read, bool startsRun)
{
    LiveSample sample;
    sample.time = began;
    sample.read = read;
    sample.startsRun = startsRun;
    sample.lowAlarm = doc.lowAlmVal();
    sample.highAlarm = doc.highAlmVal();
    sample.lowSaturation = doc.lowSatVal();
    sample.highSaturation = doc.highSatVal();
    if (!read) return sample;
    sample.primaryValue = doc.sensorTemp();
    sample.primaryUnits = doc.sensorTempUnits();
    sample.loopCurrent = doc.loopCurrent();
    sample.sensorFault = doc.sensorFailure() != 0;
    sample.xmtrFault = doc.xmtrFailure() != 0;
    return sample;
}

}  // namespace document
