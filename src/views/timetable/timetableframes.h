#pragma once

#include "timetablelayout.h"

namespace korvesta {

struct ViewContext;

// The empty grids of the timetable views: header rows, lesson rows and one column per group
// (day and week, from the list "Groups") or per tutor (work schedule, from the list
// "Tutors"). Each ends with the current cell at row 0, column 0 and returns the layout it
// built.
TimetableLayout buildDayFrame(ViewContext &ctx);
TimetableLayout buildWeekFrame(ViewContext &ctx);
TimetableLayout buildWorkScheduleFrame(ViewContext &ctx);

} // namespace korvesta
