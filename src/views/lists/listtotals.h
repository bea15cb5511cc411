#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace korvesta {

class GridModel;

// The totals of a reference list.
namespace listtotals {

// Shows the outline bar and puts a count subtotal under each run of equal texts in column
// `groupOn`, counting the filled cells of `countOn`, in the grid's fixed-cell back colour;
// equal neighbours of the group column merge. Returns the subtotal rows, top to bottom.
std::vector<int> addCountSubtotals(GridModel &grid, int groupOn, int countOn);

// Writes a subtotal's label and its centred count ("групп:  3").
void relabel(GridModel &grid, int row, int groupOn, const QString &label, int countOn,
             const QString &countPrefix);

// Adds the list's last row (its cells from column 0), set apart in the grid's fixed-cell
// colours. Returns its index.
int addSummaryRow(GridModel &grid, const QStringList &cells);

} // namespace listtotals
} // namespace korvesta
