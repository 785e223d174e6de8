#pragma once

#include <QString>
#include <QStringList>

#include "transmitter/line_scan.h"

namespace document {

class CVeskDoc;

// Scans the document's port for the devices on the line. The document's transmitter lets go
// of the modem first, and the port is held against other programs while the scan runs.
transmitter::ScanResult ScanDeviceLine(CVeskDoc& doc, const transmitter::ScanControl& control);

// One found device as the scan lists it, a text for each column.
struct FoundDeviceTexts {
    QString address;
    QString manufacturer;
    QString deviceType;
    QString deviceId;
    QString tag;
    QString configurable;

    // The columns on one line, two spaces apart.
    QString line() const;
};

FoundDeviceTexts TextsOf(const transmitter::FoundDevice& device);
// The column titles, in the order of FoundDeviceTexts.
QStringList ScanColumnTitles();
// "Опрошено адресов: 3 из 16" while it runs.
QString ScanProgressText(int asked, int total);
// "Найдено устройств: 3", or that none answered.
QString ScanSummary(std::size_t found);

}  // namespace document
