#pragma once

#include <QString>

namespace korvesta {

// Gives a document the timetable of older years, as a college that keeps one document for
// several years has: every date and lesson of its study period again 52, 104, ... weeks
// earlier (weekdays kept), with that year's break and holidays. The load and the study
// period stay this year's. For the samples of benchmarks and tests. Throws DbError.
void addOlderYears(const QString &path, int years);

} // namespace korvesta
