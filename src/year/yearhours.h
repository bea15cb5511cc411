#pragma once

#include <QString>

namespace korvesta {

class Database;
struct NextYearResult;

// Why a table of hours cannot be used (not readable, no column for the tutor, discipline,
// group or hours); empty when it can.
QString yearHoursProblem(const QString &path);

// Sets the hours of the load lines the table's rows name (tutor, discipline, group and, when
// the table has it, course; letter case and blanks at the ends aside). A row that names no
// line, or gives hours the load does not take, is reported and skipped; lines the table does
// not name keep their hours. Runs inside the caller's transaction. Throws DbError, also
// when the table cannot be used (yearHoursProblem).
void applyYearHours(const Database &db, const QString &path, NextYearResult &result);

} // namespace korvesta
