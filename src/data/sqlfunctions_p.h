#pragma once

#include "data/isodate.h"

#include <QByteArray>
#include <QString>

#include <sqlite3.h>

#include <string_view>

// What the SQL functions in sqlfunctions.cpp, the date functions in sqldatefunctions.cpp and
// the text comparison in sqlcomparison.cpp share. Private to those files.
namespace korvesta::sqlfn {

// ---- Characters, collation and LIKE (sqlcomparison.cpp) --------------------------------------

using Bytes = const unsigned char *;

// Reads one code point of UTF-8 and moves past it.
char32_t nextCodePoint(Bytes &p, Bytes end);
// Simple Unicode case folding, one code point to one.
char32_t foldCase(char32_t c);
Bytes bytesOf(std::string_view text);

int collateNoCase(void *, int aLength, const void *a, int bLength, const void *b);
void jetLike(sqlite3_context *context, int argc, sqlite3_value **argv);
void jetDialectLike(sqlite3_context *context, int argc, sqlite3_value **argv);

// ---- Arguments and results (sqlfunctions.cpp) ------------------------------------------------

std::string_view argUtf8(sqlite3_value *value, QByteArray &storage);
void resultString(sqlite3_context *context, const QString &text);
bool argWhole(sqlite3_value *value, qint64 &whole);

// ---- Dates (sqldatefunctions.cpp) ------------------------------------------------------------

double daySerial(const MomentParts &moment);
bool serialMoment(double serial, MomentParts &moment);
bool argMoment(sqlite3_value *value, MomentParts &moment);

void jetDateDiff(sqlite3_context *context, int argc, sqlite3_value **argv);
void jetDateAdd(sqlite3_context *context, int argc, sqlite3_value **argv);
void jetDateSerial(sqlite3_context *context, int argc, sqlite3_value **argv);
void jetCDate(sqlite3_context *context, int argc, sqlite3_value **argv);
void jetDateValue(sqlite3_context *context, int argc, sqlite3_value **argv);
void jetWeekday(sqlite3_context *context, int argc, sqlite3_value **argv);

enum class DatePart { Year, Month, Day, Hour, Minute, Second };

// Instantiated for every part in sqldatefunctions.cpp.
template <DatePart Part>
void jetDatePart(sqlite3_context *context, int argc, sqlite3_value **argv);

} // namespace korvesta::sqlfn
