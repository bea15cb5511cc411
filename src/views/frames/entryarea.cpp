#include "entryarea.h"

#include "data/prompts.h"
#include "grid/gridmodel.h"
#include "listframes.h"
#include "views/viewcontext.h"

namespace korvesta {

namespace {

void insertEntryArea(GridModel &grid)
{
    using namespace entryarea;
    const int last = grid.cols() - 1;
    for (int i = 0; i < Rows; ++i)
        grid.addRow(QString(), Row);
    const int bottom = Row + Rows - 1;
    // Cells in the grid's own back colour are the ones the user may type into.
    grid.setCellBackColor(Row, 0, bottom, last, grid.backColor());
    CellBorders borders;
    borders.color = grid.gridColor().isValid() ? grid.gridColor() : QColor(Qt::gray);
    borders.left = borders.top = borders.right = borders.bottom = true;
    borders.innerVertical = borders.innerHorizontal = true;
    grid.setCellBorders(Row, 0, bottom, last, borders);

    CellBorders button;
    button.color = QColor(Qt::black);
    button.left = button.top = button.right = button.bottom = true;
    for (const auto &[row, text] : {std::pair{AcceptRow, AcceptText}, {CancelRow, CancelText}}) {
        grid.setText(row, ButtonCol, text);
        grid.setCellBackColor(row, ButtonCol, grid.backColorFixed());
        grid.setCellForeColor(row, ButtonCol, grid.foreColorFixed());
        grid.setCellAlignment(row, ButtonCol, Qt::AlignCenter);
        grid.setCellBorders(row, ButtonCol, row, ButtonCol, button);
    }
    // Rows added at the top join the group of the first outline node below them, and a
    // collapsed list would hide them: the nodes that hold the area are opened.
    for (int r = bottom + 1; r < grid.rows(); ++r) {
        if (!grid.isCollapsed(r))
            continue;
        const CellRange group = grid.outlineGroup(r);
        if (group.isValid() && group.top <= Row && group.bottom >= bottom)
            grid.setCollapsed(r, false);
    }
    grid.setCurrentCell(Row, 1);
}

bool openArea(ViewContext &ctx, bool (*holdsList)(const ViewContext &), const QString &refusal)
{
    if (!holdsList(ctx)) {
        ctx.prompts.message(refusal, Prompts::Icon::Information);
        return false;
    }
    insertEntryArea(ctx.grid);
    return true;
}

} // namespace

bool openNewGroupArea(ViewContext &ctx)
{
    return openArea(ctx, holdsGroupList,
                    QStringLiteral("До ввода новой группы активируйте раздел ГРУППЫ"));
}

bool openNewDisciplineArea(ViewContext &ctx)
{
    return openArea(ctx, holdsDisciplineList,
                    QStringLiteral("До ввода новой дисциплины активируйте раздел ДИСЦИПЛИНЫ"));
}

bool openNewAuditoriumArea(ViewContext &ctx)
{
    return openArea(ctx, holdsAuditoriumList,
                    QStringLiteral("До ввода новой аудитории активируйте раздел АУДИТОРИИ"));
}

bool openNewTutorArea(ViewContext &ctx)
{
    return openArea(ctx, holdsLoadList,
                    QStringLiteral("До ввода нового преподавателя активируйте раздел "
                                   "ПРЕПОДАВАТЕЛИ"));
}

void removeEntryRow(GridModel &grid)
{
    grid.removeRow(entryarea::Row);
}

void resetEntryRowColor(GridModel &grid)
{
    grid.setCellBackColor(entryarea::Row, 0, entryarea::Row, grid.cols() - 1, grid.backColor());
}

void collapseOutline(GridModel &grid, bool collapse)
{
    if (collapse)
        grid.outline(1);
    else
        grid.expandAll();
}

} // namespace korvesta
