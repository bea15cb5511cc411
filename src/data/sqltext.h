#pragma once

#include <QDate>
#include <QString>

namespace korvesta {

// Helpers for splicing values into SQL text of the program's dialect.

// The value between apostrophes, its own apostrophes doubled: Д'Артаньян -> 'Д''Артаньян'.
// Line breaks stay as they are.
QString sqlText(const QString &value);

// month/day/year, month and day without leading zeros and a four-digit year:
// 5 January 2008 -> "1/5/2008". Empty for a null date.
QString sqlDateText(const QDate &date);

// A date literal: "#1/5/2008#". "Null" for a null date.
QString sqlDateLiteral(const QDate &date);

} // namespace korvesta
