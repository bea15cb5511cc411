#pragma once

#include <QDate>

#include <array>

namespace korvesta {

class Database;

// What a tutor's registered absences (tblTutorOut) take out of a period, per kind of absence
// (KeyTypeOut, slots 0 to 5; a kind outside them is not counted).
namespace exceptioncount {

constexpr int Kinds = 6;
using PerKind = std::array<int, Kinds>;

// Days: the whole days of single-date absences in the period, and for a weekday off every
// week the days of that weekday from `first` towards `last` (backwards when `first` is the
// later date), `last` itself not examined, on which the tutor gives no lesson. A date that
// is also a single-date absence is counted once, under its single-date kind. Added to `days`.
void countDays(const Database &db, int keyTutor, PerKind &days, const QDate &first,
               const QDate &last);

// Lessons: the single-date lesson absences of the period, and the tutor's lessons of the
// period that fall on a lesson he is away every day or every week on that weekday, each
// lesson once (the weekday's kind before the every-day one; a lesson already counted as a
// single-date absence not again). Stored in `lessons` per kind.
void countLessons(const Database &db, int keyTutor, PerKind &lessons, const QDate &first,
                  const QDate &last);

} // namespace exceptioncount

} // namespace korvesta
