#pragma once

namespace korvesta {

// The number a lesson of a group is shown with as a subgroup's; 0 when it is the whole
// group's. One rule for the grid, the reports, the spreadsheets and the published pages:
//
// - a lesson beside another lesson of its group at the same hour is a subgroup's, numbered
//   by its place among them (1, 2, ... in the order of their stored subgroup numbers);
// - a lesson alone is the whole group's, unless it was placed as a later subgroup (stored 2
//   or more: the other half of the group is free), when it keeps that number.
//
// A lesson alone stored as subgroup 1 is the whole group's: the job dialog once numbered its
// first slot so.
constexpr int shownSubgroup(int stored, int place, int lessonsAtHour)
{
    if (lessonsAtHour > 1)
        return place;
    return stored > 1 ? stored : 0;
}

} // namespace korvesta
