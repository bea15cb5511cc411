#include "listtotals.h"

#include "grid/gridmodel.h"

namespace korvesta::listtotals {

std::vector<int> addCountSubtotals(GridModel &grid, int groupOn, int countOn)
{
    grid.setOutlineBar(true);
    grid.setOutlineCol(0);
    SubtotalSpec spec;
    spec.function = Aggregate::Count;
    spec.groupOn = groupOn;
    spec.totalOn = countOn;
    spec.backColor = grid.backColorFixed();
    grid.subtotal(spec);
    grid.setMergeCells(MergeMode::Free);
    grid.setMergeCol(groupOn, true);

    std::vector<int> rows;
    for (int row = grid.fixedRows(); row < grid.rows(); ++row) {
        if (grid.isSubtotal(row))
            rows.push_back(row);
    }
    return rows;
}

void relabel(GridModel &grid, int row, int groupOn, const QString &label, int countOn,
             const QString &countPrefix)
{
    grid.setText(row, groupOn, label);
    grid.setText(row, countOn, countPrefix + grid.text(row, countOn));
    grid.setCellAlignment(row, countOn, Qt::AlignCenter);
}

int addSummaryRow(GridModel &grid, const QStringList &cells)
{
    const int row = grid.addRow(cells);
    const int last = grid.cols() - 1;
    grid.setCellBackColor(row, 0, row, last, grid.backColorFixed());
    grid.setCellForeColor(row, 0, row, last, grid.foreColorFixed());
    return row;
}

} // namespace korvesta::listtotals
