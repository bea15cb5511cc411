#pragma once

namespace korvesta {

struct ViewContext;

// The busy-time frame: a month of the calendar date laid out as one column per day (day d
// in column d + 1, the days the month lacks hidden) and one row per lesson (lesson n in row
// n + 1) under two header rows (day number, weekday), followed by the legend of the marks.
// Rest days (weekdays past WorkDays) are shaded. Leaves the current cell at row 0, column 0.
void buildBusyTimeFrame(ViewContext &ctx);

// Where the frame puts things, for the fill and the marking of cells.
namespace busytime {
constexpr int FixedCols = 2;
constexpr int FixedRows = 2;
constexpr int Cols = FixedCols + 31;
constexpr int dayCol(int day)
{
    return day + 1;
}
constexpr int lessonRow(int lesson)
{
    return lesson + 1;
}
// The first row after the lesson rows, left free (the fill's day totals may go there).
constexpr int afterLessons(int lessonsInDay) { return lessonsInDay + 2; }
// The legend's heading row, and the row of a kind of mark (1 to 4 the tutor's absences,
// 5 rest days, 6 lessons) with its text in columns 3 to 15, its icon in column 18 and its
// letter in column 22.
constexpr int legendRow(int lessonsInDay) { return afterLessons(lessonsInDay) + 2; }
constexpr int kindRow(int lessonsInDay, int kind) { return legendRow(lessonsInDay) + kind; }
constexpr int rowCount(int lessonsInDay)
{
    return lessonsInDay + 11;
}
} // namespace busytime

} // namespace korvesta
