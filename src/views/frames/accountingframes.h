#pragma once

namespace korvesta {

struct ViewContext;

// Frames of the accounting views: four rows of which two are header rows, the header texts
// over the columns the fills write (a picture column first), equal header cells of row 0
// merged across and equal cells of the leading columns merged downwards. Each leaves the
// current cell at row 0, column 0.

// Timesheet: "Предмет", "Группа", "Курс", then "Часов" over "всего", "отраб", "остат", then
// "Дата" where the date columns begin.
void buildTimesheetFrame(ViewContext &ctx);
// Hours worked: "Месяц", "Дата", "Отработка" over "Всего", "Поток", "Итого", then "Группа".
void buildHoursWorkedFrame(ViewContext &ctx);
// Hours worked of every tutor: "Преподаватель", "Предмет", "Нагрузка" over "всего", "отраб",
// "остат", then the group columns.
void buildFullHoursWorkedFrame(ViewContext &ctx);

} // namespace korvesta
