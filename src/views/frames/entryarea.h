#pragma once

#include <QString>

namespace korvesta {

class GridModel;
struct ViewContext;

// The entry area of a reference list: six rows inserted under the header, the first of them
// the entry row (grid row 1) the user types the record into, and the cells "Принять" and
// "Отмена" drawn as buttons in column 2 of rows 3 and 5. The current cell becomes row 1,
// column 1.
namespace entryarea {
constexpr int Row = 1;
constexpr int Rows = 6;
constexpr int ButtonCol = 2;
constexpr int AcceptRow = 3;
constexpr int CancelRow = 5;
inline const QString AcceptText = QStringLiteral("Принять");
inline const QString CancelText = QStringLiteral("Отмена");
} // namespace entryarea

// Each opens the area in its list; when the grid holds another view the user is told to open
// the list first ("До ввода новой группы активируйте раздел ГРУППЫ") and nothing changes.
// Returns whether the area was opened.
bool openNewGroupArea(ViewContext &ctx);
bool openNewDisciplineArea(ViewContext &ctx);
bool openNewAuditoriumArea(ViewContext &ctx);
// The new tutor: his name (column 1) and usual auditorium (column 2) above the teaching load.
bool openNewTutorArea(ViewContext &ctx);

// Removes the entry row (grid row 1).
void removeEntryRow(GridModel &grid);
// Returns the entry row, from column 0 to the last, to the grid's back colour.
void resetEntryRowColor(GridModel &grid);

// The toolbar's collapse and expand: true leaves only the first-level totals of the outline
// on screen, false opens every level.
void collapseOutline(GridModel &grid, bool collapse);

} // namespace korvesta
