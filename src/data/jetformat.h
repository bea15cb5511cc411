#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>

namespace korvesta {

// Jet's own text of a number: integral values without a decimal point, others with up to 15
// significant digits and '.' as the decimal point ("1234", "0.1", "1E+20").
QString jetNumberText(double value);

// Whether Format shows its value as a date under this pattern: a named date format, or a
// pattern with day, month, year or time tokens. Otherwise the value is shown as a number.
bool isDatePattern(QStringView pattern);

// Access Format of a date and of a number, by a named format ("Short Date", "Standard") or
// a pattern ("dd mmmm yyyy", "#,##0.00"). Month and day names are Russian; thousands are
// separated by a space. An empty pattern gives the general form.
QString formatDate(const QDate &date, const QTime &time, QStringView pattern);
QString formatNumber(double value, QStringView pattern);

} // namespace korvesta
