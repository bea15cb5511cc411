#pragma once

#include <QString>
#include <QStringView>

// Numbers written as text under a format pattern. Below both the document engine (its Format
// function) and the grid (its subtotals): it knows neither.

namespace korvesta {

// The plain text of a number: integral values without a decimal point, others with up to 15
// significant digits and '.' as the decimal point ("1234", "0.1", "1E+20"); empty for
// infinity and NaN.
QString jetNumberText(double value);

// A number by a named format ("General Number", "Fixed", "Standard", "Percent") or a pattern
// of up to three sections, positive;negative;zero ("#,##0.00", "0%", "0;(0);-"). Thousands
// are separated by a space. An empty pattern gives the plain text.
QString formatNumber(double value, QStringView pattern);

// The pattern of a named number format, or nothing when the name is not one.
QStringView namedNumberPattern(QStringView name, bool *known);

// Skips a quoted literal ("text") or an escaped character (\x) of a format pattern at i,
// appending its text to out when given; false when pattern[i] starts neither.
bool takeFormatLiteral(QStringView pattern, qsizetype &i, QString *out);

} // namespace korvesta
