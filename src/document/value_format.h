#pragma once

#include <QString>

namespace document {

// Numbers on the pages use the decimal separator of the user's numeric locale, which
// start-up installs as the default QLocale.
QString DecimalSeparator();

// "%.2f" or "%.1f" (decimals 2 or 1) with the locale's separator; empty for any NaN, the
// not-set value.
QString FormatValue(float value, int decimals);

// The number filter of the editable fields: keeps digits, the first decimal separator and,
// where negatives are allowed, a minus sign that is the text's first character. The text ends
// at a zero character.
QString FilterNumericText(const QString& text, bool allowNegative);

// What a page stores for the text of a number field: the not-set value for an empty text,
// else the number the text begins with (0 when it begins with none), read with the
// locale's separator and rounded to single precision.
float ParseValueText(const QString& text);

}  // namespace document
