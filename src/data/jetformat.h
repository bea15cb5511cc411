#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>

namespace korvesta {

// Whether Format shows its value as a date under this pattern: a named date format, or a
// pattern with day, month, year or time tokens. Otherwise the value is shown as a number.
bool isDatePattern(QStringView pattern);

// Access Format of a date, by a named format ("Short Date") or a pattern ("dd mmmm yyyy").
// Month and day names are Russian. An empty pattern gives the general form. Numbers are
// formatted by formatNumber (text/numberformat.h).
QString formatDate(const QDate &date, const QTime &time, QStringView pattern);

} // namespace korvesta
