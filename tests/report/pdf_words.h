#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

// A word as poppler's "pdftotext -bbox" finds it, in millimetres from the page's top left
// corner. xMin is where the text was drawn; yMin and yMax bound its font's cell (the
// baseline less the font's ascent, plus its descent).
struct PdfWord {
    QString text;
    double xMinMm = 0;
    double yMinMm = 0;
    double xMaxMm = 0;
    double yMaxMm = 0;
};

// Words drawn at one height, left to right.
struct PdfTextLine {
    double topMm = 0;
    std::vector<PdfWord> words;

    // The words starting at or right of xMm and left of beforeMm, joined by single spaces.
    QString textBetween(double xMm, double beforeMm = 1e9) const;
    // The first word starting at or right of xMm.
    std::optional<PdfWord> firstFrom(double xMm) const;
};

struct PdfPage {
    double widthMm = 0;
    double heightMm = 0;
    std::vector<PdfWord> words;
    QString error;  // why the file could not be read back

    // The words grouped by height, top to bottom.
    std::vector<PdfTextLine> lines() const;
};

constexpr double kMmPerPoint = 25.4 / 72.0;

// The first page of a PDF file as "pdftotext -bbox" reads it.
PdfPage ReadPdfPage(const QString& pdfPath);

// The fonts "pdffonts" lists for a PDF file, by name.
QStringList PdfFontNames(const QString& pdfPath);
