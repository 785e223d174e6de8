#include "report/pdf_words.h"

#include <algorithm>
#include <cmath>

#include <QProcess>
#include <QXmlStreamReader>

namespace {

// Words of one line share their top to a small fraction of a millimetre; lines lie 5 mm apart.
constexpr double kSameLineMm = 0.5;

QByteArray Run(const QString& program, const QStringList& arguments, QString& error)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        error = program + QStringLiteral(" failed: ") + process.errorString() + QLatin1Char(' ') +
                QString::fromLocal8Bit(process.readAllStandardError());
        return {};
    }
    return process.readAllStandardOutput();
}

double Millimetres(const QXmlStreamAttributes& attributes, const char* name)
{
    return attributes.value(QLatin1String(name)).toDouble() * kMmPerPoint;
}

}  // namespace

QString PdfTextLine::textBetween(double xMm, double beforeMm) const
{
    QStringList texts;
    for (const PdfWord& word : words)
        if (word.xMinMm >= xMm && word.xMinMm < beforeMm) texts << word.text;
    return texts.join(QLatin1Char(' '));
}

std::optional<PdfWord> PdfTextLine::firstFrom(double xMm) const
{
    for (const PdfWord& word : words)
        if (word.xMinMm >= xMm) return word;
    return std::nullopt;
}

std::vector<PdfTextLine> PdfPage::lines() const
{
    std::vector<PdfWord> sorted = words;
    std::sort(sorted.begin(), sorted.end(),
              [](const PdfWord& a, const PdfWord& b) { return a.yMinMm < b.yMinMm; });
    std::vector<PdfTextLine> result;
    for (const PdfWord& word : sorted) {
        if (result.empty() || std::abs(word.yMinMm - result.back().topMm) > kSameLineMm)
            result.push_back({word.yMinMm, {}});
        result.back().words.push_back(word);
    }
    for (PdfTextLine& line : result)
        std::sort(line.words.begin(), line.words.end(),
                  [](const PdfWord& a, const PdfWord& b) { return a.xMinMm < b.xMinMm; });
    return result;
}

PdfPage ReadPdfPage(const QString& pdfPath)
{
    PdfPage page;
    const QByteArray html =
        Run(QStringLiteral("pdftotext"),
            {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
             QStringLiteral("-l"), QStringLiteral("1"), pdfPath, QStringLiteral("-")},
            page.error);
    QXmlStreamReader xml(html);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("page")) {
            page.widthMm = Millimetres(attributes, "width");
            page.heightMm = Millimetres(attributes, "height");
        } else if (xml.name() == QLatin1String("word")) {
            PdfWord word{{},
                         Millimetres(attributes, "xMin"),
                         Millimetres(attributes, "yMin"),
                         Millimetres(attributes, "xMax"),
                         Millimetres(attributes, "yMax")};
            word.text = xml.readElementText();
            page.words.push_back(word);
        }
    }
    if (xml.hasError() && page.error.isEmpty())
        page.error = QStringLiteral("pdftotext output: ") + xml.errorString();
    return page;
}

QStringList PdfFontNames(const QString& pdfPath)
{
    QString error;
    const QStringList rows = QString::fromUtf8(Run(QStringLiteral("pdffonts"), {pdfPath}, error))
                                 .split(QLatin1Char('\n'));
    QStringList names;
    // Two heading rows, then one row per font, its name first.
    for (const QString& row : rows.mid(2))
        if (!row.trimmed().isEmpty())
            names << row.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    return names;
}
