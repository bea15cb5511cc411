#pragma once

#include <QDate>

#include <vector>

namespace korvesta {

struct ViewContext;

// What a change of the timetable touched: its dates, and on them the lessons (none named:
// every lesson of those dates).
struct TimetableTouch
{
    std::vector<QDate> dates;
    std::vector<int> lessons;
};

// Brings the day (code 40), week (41) or work-schedule (42) view in ctx.grid, filled before,
// up to date after a change: only the rows of the touched lessons on the view's dates are
// built again from a new frame and the document's lessons, the week's totals counted again;
// the grid then is as a fill would leave it, and its current cell and scrolling stay. False
// when it cannot be done so (another view, a grid no longer of the frame's shape, a view
// whose column widths depend on whether the date has lessons at all): the caller fills the
// view whole.
bool refreshTimetable(ViewContext &ctx, const TimetableTouch &touch);

} // namespace korvesta
