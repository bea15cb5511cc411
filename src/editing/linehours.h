#pragma once

#include <map>
#include <utility>
#include <vector>

namespace korvesta {

class Database;

// A load line's hours and its lessons in the study period, as the placement counts them.
struct LineHours
{
    int hours = 0;
    int lessons = 0;
};

// The hours and lessons of these load lines (group, job), read in two statements however
// many they are; a pair without a load line is left out. Throws DbError.
std::map<std::pair<int, int>, LineHours> readLineHours(const Database &db,
                                                       std::vector<std::pair<int, int>> lines);

// How many of these load lines have more lessons in the study period than hours: what undo
// and redo must not add to where the hours are a limit. Holds the lines (as a placement holds
// its line) until the transaction ends, so that a placement elsewhere can not give one of
// them its last hour meanwhile. Throws DbError.
int linesOverHours(const Database &db, std::vector<std::pair<int, int>> lines);

} // namespace korvesta
