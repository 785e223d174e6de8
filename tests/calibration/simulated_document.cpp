#include "calibration/simulated_document.h"

#include <bit>

std::vector<std::uint8_t> FloatBytes(float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return {static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
            static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
}

SimulatedDocumentTest::SimulatedDocumentTest()
{
    StartTransmitter();
    doc.showCalibrationWait = [this](document::CVeskDoc::CalibrationWait wait) {
        waits.push_back(wait);
    };
    QObject::connect(&doc, &document::CVeskDoc::updateViews,
                     [this](int hint) { hints.push_back(hint); });
    hints.clear();
}

std::vector<std::vector<std::uint8_t>> SimulatedDocumentTest::DataOf(std::uint8_t command) const
{
    std::vector<std::vector<std::uint8_t>> data;
    for (const sim::LoggedRequest& request : host->requests())
        if (request.addressed && request.checksumOk && request.command == command)
            data.push_back(request.data);
    return data;
}

void SimulatedDocumentTest::ClearRecords()
{
    host->clearRequests();
    user.messages.clear();
    user.questions.clear();
    waits.clear();
    hints.clear();
}
