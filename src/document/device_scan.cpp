#include "document/device_scan.h"

#include "document/display_text.h"
#include "document/vesk_doc.h"
#include "resources/string_ids/document.h"
#include "transmitter/identity.h"

namespace document {
namespace {

using tarvel::kScanColumnAddress;
using tarvel::kScanConfigurable;
using tarvel::kScanFoundCount;
using tarvel::kScanKnownDeviceType;
using tarvel::kScanKnownManufacturer;
using tarvel::kScanNoneFound;
using tarvel::kScanNotConfigurable;
using tarvel::kScanNotIdentified;
using tarvel::kScanProgress;
using tarvel::kScanProgressOf;
using tarvel::kScanTagNotRead;

constexpr int kColumnsCount = 6;

// "Name (code)" where the program knows the name, else the code alone.
QString Named(int nameId, std::int32_t code, bool known)
{
    const QString number = QString::number(code);
    return known ? LoadedText(nameId) + QStringLiteral(" (") + number + ')' : number;
}

}  // namespace

transmitter::ScanResult ScanDeviceLine(CVeskDoc& doc, const transmitter::ScanControl& control)
{
    const serial::PortHold hold = doc.HoldPort();
    // Both links use the same modem, which only one may have open.
    doc.transmitter().ClosePort();
    transmitter::ScanControl traced = control;
    if (traced.trace == nullptr) traced.trace = doc.transmitter().traceSink();
    return transmitter::ScanLine(doc.ui(), doc.portSettings(), doc.sleeper(), traced);
}

QString FoundDeviceTexts::line() const
{
    return QStringList{address, manufacturer, deviceType, deviceId, tag, configurable}.join(
        QStringLiteral("  "));
}

FoundDeviceTexts TextsOf(const transmitter::FoundDevice& device)
{
    FoundDeviceTexts texts;
    texts.address = QString::number(device.pollingAddress);
    if (!device.identified) {
        texts.manufacturer = texts.deviceType = texts.deviceId = texts.tag = QStringLiteral("—");
        texts.configurable = LoadedText(kScanNotIdentified);
        return texts;
    }
    const bool tarvel = device.manufacturerCode == transmitter::kTarvelManufacturer;
    texts.manufacturer = Named(kScanKnownManufacturer, device.manufacturerCode, tarvel);
    texts.deviceType = Named(kScanKnownDeviceType, device.deviceType, device.configurable());
    texts.deviceId = QStringLiteral("%1")
                         .arg(static_cast<unsigned>(device.deviceId), 6, 16, QChar('0'))
                         .toUpper();
    texts.tag = device.tagRead ? QString::fromStdString(device.tag) : LoadedText(kScanTagNotRead);
    texts.configurable =
        LoadedText(device.configurable() ? kScanConfigurable : kScanNotConfigurable);
    return texts;
}

QStringList ScanColumnTitles()
{
    QStringList titles;
    for (int i = 0; i < kColumnsCount; ++i) titles << LoadedText(kScanColumnAddress + i);
    return titles;
}

QString ScanProgressText(int asked, int total)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(LoadedText(kScanProgress))
        .arg(asked)
        .arg(LoadedText(kScanProgressOf))
        .arg(total);
}

QString ScanSummary(std::size_t found)
{
    if (found == 0) return LoadedText(kScanNoneFound);
    return LoadedText(kScanFoundCount) + ' ' + QString::number(found);
}

}  // namespace document
