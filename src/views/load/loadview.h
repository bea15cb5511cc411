#pragma once

#include <QString>

#include <optional>

namespace korvesta {

class FillRegistry;
class GridModel;
struct ViewContext;

// The teaching load view (KORVESTA, code 30): one row per load line, tutor after tutor and
// within a tutor discipline after discipline, with a total under each discipline and under
// each tutor.
namespace loadview {

enum Column { TutorCol = 1, AuditoriumCol, DisciplineCol, GroupCol, HoursCol, WeekCol };

// Outline levels of the rows, which the load editor reads to tell what a row stands for: a
// tutor's total, a discipline's total, or a load line (one group).
constexpr int TutorLevel = 1;
constexpr int DisciplineLevel = 3;
constexpr int LineLevel = 4;

// "# ###": thousands set apart by a space ("1 234").
QString formatHours(double hours);

// The load line a row shows: its tutor, discipline (short name) and group ("П-9  (1)").
struct LineTexts
{
    QString tutor;
    QString discipline;
    QString group;
};
// Nothing for a header or a total row, or a row with one of the three empty.
std::optional<LineTexts> lineOfRow(const GridModel &grid, int row);

} // namespace loadview

// Fills the load frame (buildLoadFrame) from the document's list "Korvesta", narrowed by the
// filter entry of the context. Column 6 holds the hours per week (the hours over the working
// weeks, rounded up), empty without working weeks. With ShowTotals the rows get the outline:
// each discipline's total ("Нагрузка по дисциплине '...'", "Групп:   n", the hours) and each
// tutor's ("ИТОГО у преподавателя  '...'", his auditorium or "-", "Дисциплин:   n ",
// "Групп:   n", the hours), in the fixed-cell colour.
void fillLoad(ViewContext &ctx);

// The load view and its filter menu.
void registerLoadFills(FillRegistry &registry);

} // namespace korvesta
