#include "report/report_document.h"

#include <algorithm>

#include <QFile>
#include <QLocale>

#include "document/config_file.h"

ReportDocument::ReportDocument()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

ReportDocument::~ReportDocument() { QLocale::setDefault(QLocale::c()); }

QString
ReportDocument::WriteConfigurationFile(const QString& name,
                                       const std::function<void(transmitter::CTransmitter&)>& edit)
{
    ScriptedUser quiet;
    transmitter::CTransmitter values(quiet, ports, sleeper);
    const char16_t tag[] = u"TT-101";
    std::copy(std::begin(tag), std::end(tag), values.tag);
    values.sensorType = 1;
    values.sensorConnection = 4;
    values.rangeUnits = 32;
    values.lowerRangeValue = 0.0f;
    values.upperRangeValue = 100.0f;
    values.damping = 5.0f;
    values.alarmSelect = 0;
    values.lowAlmVal = 3.75f;
    values.highAlmVal = 21.75f;
    values.lowSatVal = 3.9f;
    values.highSatVal = 20.5f;
    values.lineFilter = 1;
    values.writeProtect = 0;
    if (edit) edit(values);
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(document::StoreConfiguration(values)) != document::kConfigRecordSize)
        return {};
    return file.fileName();
}
