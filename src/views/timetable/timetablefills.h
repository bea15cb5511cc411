#pragma once

#include "timetablelayout.h"

namespace korvesta {

class FillRegistry;
struct ViewContext;

// The timetable views: the day timetable (code 40), the week timetable (41) and the tutors'
// work schedule (42). Each show* builds the view's frame and fills it for the calendar date;
// each fill* fills a frame already built with that layout.
void showDayTimetable(ViewContext &ctx);
void showWeekTimetable(ViewContext &ctx);
void showWorkSchedule(ViewContext &ctx);

void fillDayTimetable(ViewContext &ctx, const TimetableLayout &layout);
void fillWeekTimetable(ViewContext &ctx, const TimetableLayout &layout);
void fillWorkSchedule(ViewContext &ctx, const TimetableLayout &layout);

// The tooltip of a cell of the day timetable shown in ctx.grid, from the cache its last
// fill wrote; empty when the cell holds no lesson.
QString dayTimetableTooltip(ViewContext &ctx, int row, int col);

void registerTimetableFills(FillRegistry &registry);

} // namespace korvesta
