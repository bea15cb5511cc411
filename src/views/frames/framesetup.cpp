#include "framesetup.h"

#include "grid/gridmodel.h"
#include "views/viewcontext.h"

namespace korvesta::frame {

void start(GridModel &grid, int rows, int cols, int fixedRows, int fixedCols)
{
    grid.clear();
    grid.setCols(cols);
    grid.setRows(rows);
    grid.setFixedRows(fixedRows);
    grid.setFixedCols(fixedCols);
    grid.setOutlineBar(false);
}

void setCaptions(GridModel &grid, int row, const QStringList &captions, int first)
{
    for (int i = 0; i < captions.size(); ++i)
        grid.setText(row, first + i, captions.at(i));
    grid.setCellAlignment(row, first, row, first + static_cast<int>(captions.size()) - 1,
                          Qt::AlignCenter);
}

int share(int width, int hundredths)
{
    // Whole-number arithmetic, so that 0.67 W is exactly what the user reads as 67 %.
    return static_cast<int>(static_cast<qint64>(width) * hundredths / 100);
}

int width(const ViewContext &ctx)
{
    return ctx.grid.clientWidth();
}

void finish(GridModel &grid)
{
    grid.setCurrentCell(0, 0);
}

} // namespace korvesta::frame
