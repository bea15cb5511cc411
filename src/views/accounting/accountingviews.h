#pragma once

#include <QDate>

namespace korvesta {

class FillRegistry;
struct ViewContext;

// The accounting views: what each tutor gave against his load, and when he is busy or away.
// Each fill works on the frame its view's headings built (accountingframes.h,
// busytimeframe.h), sizes the grid to the data, shows the hourglass while it works and leaves
// the current cell at the top left. A period without lessons leaves the frame as it is; a
// period whose start is after its end is refused with a message. Two groups, disciplines or
// tutors of one name stay apart in every row, column and total: their names get their
// faculty, full name or Key added.

// Timesheet (TABEL, code 33): one row per discipline and group the tutor taught in the period
// (column 1 the discipline, 2 the group, 3 the course, 4 to 6 the load, the lessons given and
// the remainder), then one column per date with that day's lessons under its month and day.
// With ShowTotals, a total under each discipline and one under all.
void fillTimesheet(ViewContext &ctx, int keyTutor);

// Hours worked (OTRABOTKA, code 34): one row per date the tutor taught in the period (column 1
// the month, 2 the date), one column per group from column 3 with that day's lessons. With
// ShowTotals, a total under each month (its number of dates + " дн.") and one under all (its
// number of months + " мес.").
void fillHoursWorked(ViewContext &ctx, int keyTutor);

// Hours worked of every tutor (OTRABOTKA_FULL, code 35): one row per tutor and discipline
// (column 1 the tutor, 2 the discipline, 3 to 5 the load, the lessons given and the
// remainder), one column per group from column 6 with the lessons given in the period. With
// ShowTotals, a total under each tutor and one under all (its number of tutors + " чел.").
void fillFullHoursWorked(ViewContext &ctx);

// Busy time (BUSYTIME, code 43) of a tutor in the month of the calendar date: his exceptions,
// the rest days and his lessons marked in the day columns and lesson rows of the frame, as
// icons or letters, and with ShowTotals the lessons of each day under the lesson rows.
void fillBusyTime(ViewContext &ctx, int keyTutor);

// The fills of codes 33, 34, 35 and 43 (their headings and object lists come with the
// reference lists' registrations).
void registerAccountingFills(FillRegistry &registry);

// Where the busy-time grid shows what, for those who mark or remove exceptions on it.
namespace busytime {

// The kinds of marks, in the order of the legend and of the menu entries submenuBTShow(0..5):
// the tutor's absences (tblTutorOut.KeyTypeOut 1 to 4; 5 is an absence of an unnamed kind),
// rest days and lessons. The setting "ShowBusyTime" + kind shows or hides a kind.
enum Kind { DayOff = 1, Sick, Trip, Holiday, RestDays = 5, Lessons = 6 };
constexpr int AbsenceKinds = 4;

// The date a day column stands for in the month of `anyDay`; a null date for any other
// column and for the days the month lacks.
QDate dateOfCol(const QDate &anyDay, int col);
// The lesson a row stands for; 0 for the header, totals and legend rows.
int lessonOfRow(int row, int lessonsInDay);
// The absence kind (1 to 4) whose legend line holds the cell, so that a click on the line
// names the kind to mark; 0 for any other cell.
int absenceKindAt(int row, int col, int lessonsInDay);
// The row of the day totals (the first row after the lesson rows).
int totalsRow(int lessonsInDay);

} // namespace busytime

} // namespace korvesta
