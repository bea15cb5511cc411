#include "grid/selectbyvalue.h"

#include "grid/gridmodel.h"

#include <algorithm>

namespace korvesta {

QString ValueSelection::report() const
{
    QString report = QStringLiteral("Произведена выборка по значению '") + text
                     + QStringLiteral("'\n");
    if (found)
        report += QStringLiteral("Найдено совпадений: ") + QString::number(others);
    else
        report += QStringLiteral("Совпадений не найдено");
    return report;
}

ValueSelection selectByValue(GridModel &grid, const QColor &color)
{
    const int row = grid.currentRow();
    const int col = grid.currentCol();
    ValueSelection result;
    result.text = grid.text(row, col);
    if (!grid.isDataCell(row, col))
        return result;
    int count = 0;
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        for (int c = grid.fixedCols(); c < grid.cols(); ++c) {
            if (grid.text(r, c) == result.text) {
                grid.setCellBackColor(r, c, color);
                ++count;
            }
        }
    }
    result.found = count > 0;
    result.others = std::max(count - 1, 0);
    return result;
}

} // namespace korvesta
