#include "document/device_compare.h"

#include "document/display_text.h"
#include "document/report_lines.h"
#include "document/vesk_doc.h"
#include "resources/string_ids/document.h"

namespace document {
namespace {

// The report's first lines are the Basic page's eight and the Advanced page's seven.
constexpr std::size_t kConfigurationLineCount = 15;

using tarvel::kCompareSummaryDiffering;
using tarvel::kCompareSummarySame;
using tarvel::kMessageNotCompared;

// The value column without its ": ".
QString ValueText(const ReportLine& line) { return line.valueColumnText().mid(2); }

}  // namespace

QString LineDifference::text() const
{
    return label + QStringLiteral(": ") + fileText + QStringLiteral(" -> ") + deviceText;
}

std::vector<LineDifference> ConfigurationDifferences(const PageValues& file,
                                                     const PageValues& device)
{
    const std::vector<ReportLine> fileLines = ReportLines(file);
    const std::vector<ReportLine> deviceLines = ReportLines(device);
    std::vector<LineDifference> differences;
    for (std::size_t i = 0; i < kConfigurationLineCount; ++i) {
        const QString fileText = ValueText(fileLines.at(i));
        const QString deviceText = ValueText(deviceLines.at(i));
        if (fileText != deviceText)
            differences.push_back({fileLines[i].label, fileText, deviceText});
    }
    return differences;
}

QString ComparisonSummary(std::size_t differences)
{
    if (differences == 0) return LoadedText(kCompareSummarySame);
    return LoadedText(kCompareSummaryDiffering) + QLatin1Char(' ') + QString::number(differences);
}

DeviceComparison CompareWithDevice(CVeskDoc& doc, const QString& path)
{
    using Outcome = DeviceComparison::Outcome;
    doc.OnNewDocument();
    if (!doc.OnOpenDocument(path)) return {Outcome::FileNotOpened, {}};
    const PageValues fromFile = PageValuesOf(doc);
    // Cleared first: the file just opened is no data the read should ask about.
    doc.OnNewDocument();
    switch (doc.OnReadFromDevice()) {
    case CommandOutcome::Done: break;
    case CommandOutcome::Cancelled: return {Outcome::ReadCancelled, {}};
    case CommandOutcome::Failed:
        hart::NotifyString(doc.ui(), kMessageNotCompared, hart::MessageIcon::Exclamation);
        return {Outcome::ReadIncomplete, {}};
    }
    return {Outcome::Compared, ConfigurationDifferences(fromFile, PageValuesOf(doc))};
}

}  // namespace document
