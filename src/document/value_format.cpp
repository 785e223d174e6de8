#include "document/value_format.h"

#include <charconv>
#include <cmath>
#include <string>

#include <QLocale>

#include "transmitter/parameter_values.h"

namespace document {

QString DecimalSeparator() { return QLocale().decimalPoint(); }

QString FormatValue(float value, int decimals)
{
    if (std::isnan(value)) return {};
    // to_chars formats as printf does in the C locale, whatever the process locale says.
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                      std::chars_format::fixed, decimals);
    if (error != std::errc()) return {};
    QString text = QString::fromLatin1(buffer, end - buffer);
    text.replace(QLatin1Char('.'), DecimalSeparator());
    return text;
}

QString FilterNumericText(const QString& text, bool allowNegative)
{
    const QString separator = DecimalSeparator();
    QString kept;
    bool separatorKept = false;
    for (qsizetype i = 0; i < text.size();) {
        const QChar ch = text.at(i);
        if (ch.isNull()) break;
        if (!separator.isEmpty() && QStringView(text).sliced(i).startsWith(separator)) {
            if (!separatorKept) kept += separator;
            separatorKept = true;
            i += separator.size();
            continue;
        }
        if ((ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) ||
            (allowNegative && ch == QLatin1Char('-') && i == 0))
            kept += ch;
        ++i;
    }
    return kept;
}

float ParseValueText(const QString& text)
{
    if (text.isEmpty()) return transmitter::kNotSetFloat;
    // Spell the text the way from_chars reads numbers: the locale's separator becomes a
    // point, and the number ends at the first character that cannot belong to it.
    const QString separator = DecimalSeparator();
    std::string ascii;
    for (qsizetype i = 0; i < text.size();) {
        if (!separator.isEmpty() && QStringView(text).sliced(i).startsWith(separator)) {
            ascii += '.';
            i += separator.size();
            continue;
        }
        const QChar ch = text.at(i);
        const bool numberCharacter = (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) ||
                                     ch == QLatin1Char('-') || ch == QLatin1Char('e') ||
                                     ch == QLatin1Char('E');
        if (!numberCharacter) break;
        ascii += ch.toLatin1();
        ++i;
    }
    double value = 0.0;
    std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    return static_cast<float>(value);
}

}  // namespace document
