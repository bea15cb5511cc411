#include "grid/selectbyvalue.h"

#include "data/prompts.h"
#include "grid/gridmodel.h"

namespace korvesta {

void selectByValue(GridModel &grid, Prompts &prompts, const std::function<void(bool)> &busy)
{
    const int row = grid.currentRow();
    const int col = grid.currentCol();
    const std::optional<QColor> color = prompts.chooseColor(grid.cellBackColor(row, col));
    if (!color)
        return;
    if (busy)
        busy(true);

    const QString text = grid.text(row, col);
    int count = 0;
    if (grid.isDataCell(row, col)) {
        for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
            for (int c = grid.fixedCols(); c < grid.cols(); ++c) {
                if (grid.text(r, c) == text) {
                    grid.setCellBackColor(r, c, *color);
                    ++count;
                }
            }
        }
    }

    if (busy)
        busy(false);
    QString report = QStringLiteral("Произведена выборка по значению '") + text
                     + QStringLiteral("'\n");
    if (count > 0)
        report += QStringLiteral("Найдено совпадений: ") + QString::number(count - 1);
    else
        report += QStringLiteral("Совпадений не найдено");
    prompts.message(report, Prompts::Icon::Information);
}

} // namespace korvesta
