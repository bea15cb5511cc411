#pragma once

#include "auditoriumlabels.h"
#include "timetablelayout.h"

#include <functional>
#include <vector>

namespace korvesta {

class GridModel;
struct DatedLesson;
struct SettingsRecord;
struct ViewContext;

// The steps the timetable fills share with the refresh of a view already filled.

// The grid row of a lesson of a day (counted from 1), -1 for a lesson left out.
using LessonRows = std::function<int(int day, int lesson)>;

// The labels of the document's auditoriums; plain numbers when the list cannot be read (the
// lessons themselves then tell of the document).
AuditoriumLabels auditoriumLabels(ViewContext &ctx);

// The display-text mode the view's cells are written in.
int timetableDisplayCode(ViewContext &ctx, TimetableKind kind);

// The work schedule's lessons into their tutor columns, those of a cell one below another.
void placeTutorLessons(ViewContext &ctx, const TimetableLayout &layout,
                       const std::vector<DatedLesson> &lessons, const LessonRows &rows);

// The week view's "Итого" rows: the lessons of each day in each group column.
void addWeekTotals(GridModel &grid, const TimetableLayout &layout, const SettingsRecord &record);

} // namespace korvesta
