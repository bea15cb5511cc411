#pragma once

#include "data/tutorabsence.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <utility>
#include <vector>

namespace korvesta {

class Database;

// What one date holds for tutors, read in two statements: their absences and the lessons they
// give at the lessons asked for, so that a list of load lines is checked without a query per
// line.
class TutorDay
{
public:
    // Throws DbError.
    TutorDay(const Database &db, const QDate &date, const std::vector<int> &lessons);

    // Why the tutor is away at the lesson, empty when he is not.
    QString absenceText(int keyTutor, int lesson) const;
    // Not away, and no lesson of his at the lesson outside group `exceptGroup`'s cell (0: none
    // excepted). A lesson that was not asked for counts as free of lessons.
    bool isFree(int keyTutor, int lesson, int exceptGroup) const;

private:
    QDate m_date;
    TutorAbsences m_absences;
    QHash<std::pair<int, int>, std::vector<int>> m_groupsTaught; // (tutor, lesson) -> groups
};

} // namespace korvesta
