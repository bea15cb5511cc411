#pragma once

#include <QDate>
#include <QString>

namespace korvesta {

enum class DemoSize {
    Small, // about ten groups and fifteen tutors: what a newcomer opens to look around
    Large  // about 120 groups, 250 tutors, 300 disciplines, 80 auditoriums: for benchmarks
};

// Which sample to write: its size, its academic year (starting on 1 September) and how far
// its timetable is compiled.
struct DemoRequest
{
    DemoSize size = DemoSize::Small;
    int academicYear = 0;
    QDate placedUntil; // the last date with lessons; invalid: the whole year is placed

    // A college in the middle of its term on the given day: lessons from the first study day
    // to the end of that week, or the first two weeks when the day is outside the study
    // period; every load line sized for the whole year.
    static DemoRequest midTerm(DemoSize size, const QDate &today);
    // A college at the end of its year, every week placed.
    static DemoRequest fullYear(DemoSize size, int academicYear);
};

// What a planner's options must allow for the sample's lessons to be edited.
struct DemoNorms
{
    int groupsOnLecture = 1; // the most groups one lecture is read to
};

// Writes the sample institution in Russian, replacing a file that is there. The same request
// always gives the same document. Throws DbError.
DemoNorms writeDemoDocument(const QString &path, const DemoRequest &request);

// Today's mid-term sample.
DemoNorms writeDemoDocument(const QString &path, DemoSize size);

} // namespace korvesta
