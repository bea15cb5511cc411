#pragma once

#include <QString>

namespace korvesta {

enum class DemoSize {
    Small, // about ten groups and fifteen tutors: what a newcomer opens to look around
    Large  // about 120 groups, 250 tutors, 300 disciplines, 80 auditoriums: for benchmarks
};

// Writes a sample institution in Russian with its timetable for the academic year that
// starts on 1 September of academicYear, replacing a file that is there. The same size and
// year always give the same document. Throws DbError.
void writeDemoDocument(const QString &path, DemoSize size, int academicYear);

// The same for the current academic year, so that a newcomer sees this year's timetable.
void writeDemoDocument(const QString &path, DemoSize size);

} // namespace korvesta
