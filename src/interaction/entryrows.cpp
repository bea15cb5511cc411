#include "entryrows.h"

#include "editing/entrychecks.h"
#include "editing/referencesaving.h"
#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "views/frames/entryarea.h"

namespace korvesta::entryrows {

namespace {

QString cell(const GridModel &grid, int col)
{
    return oneLine(grid.text(entryarea::Row, col));
}

bool isLineSeparator(QChar c)
{
    return c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')
           || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// A colour cell's colour when the user picked one (it differs from the grid's own).
std::optional<quint32> pickedColor(const GridModel &grid, int col)
{
    const QColor back = grid.cellBackColor(entryarea::Row, col);
    if (!grid.hasOwnBackColor(entryarea::Row, col) || back == grid.backColor())
        return std::nullopt;
    return bgrFromColor(back);
}

} // namespace

QString oneLine(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool separated = false;
    for (const QChar c : text) {
        if (isLineSeparator(c)) {
            separated = true;
            continue;
        }
        if (separated && !c.isSpace() && !out.isEmpty() && !out.back().isSpace())
            out += QLatin1Char(' ');
        separated = false;
        out += c;
    }
    return out.trimmed();
}

GroupRow readGroup(const GridModel &grid)
{
    GroupRow row;
    row.course = cell(grid, 1);
    row.group = cell(grid, 2);
    row.color = pickedColor(grid, 3);
    row.faculty = cell(grid, 4);
    row.tuition = cell(grid, 5);
    row.finance = cell(grid, 6);
    row.comment = cell(grid, 7);
    return row;
}

AuditoriumRow readAuditorium(const GridModel &grid)
{
    return {cell(grid, 1), cell(grid, 2), cell(grid, 3)};
}

DisciplineRow readDiscipline(const GridModel &grid)
{
    DisciplineRow row;
    row.discType = cell(grid, 1);
    row.discipline = cell(grid, 2);
    row.discipline1 = cell(grid, 3);
    row.color = pickedColor(grid, 4);
    row.levelDiff = cell(grid, 5);
    return row;
}

void copyToEntryRow(GridModel &grid, int fromRow)
{
    for (int col = 1; col < grid.cols(); ++col) {
        grid.setText(entryarea::Row, col, grid.text(fromRow, col));
        if (grid.hasOwnBackColor(fromRow, col))
            grid.setCellBackColor(entryarea::Row, col, grid.cellBackColor(fromRow, col));
    }
}

bool isRecordRow(const GridModel &grid, int row)
{
    if (row < grid.fixedRows() || row >= grid.rows() || grid.isSubtotal(row))
        return false;
    // The totals of a list are set apart in the fixed cells' colour.
    return !(grid.hasOwnBackColor(row, 1) && grid.cellBackColor(row, 1) == grid.backColorFixed());
}

QStringList listedCells(const GridModel &grid, int viewCode)
{
    switch (viewCode) {
    case 1: // course, group, the colour cell, faculty (two faculties may share a group name)
        return {cell(grid, 1).trimmed().toUpper(), cell(grid, 2).trimmed(), QString(),
                cell(grid, 4).trimmed()};
    case 11: // the type may show as its name or not at all: any
        return {QString(), cell(grid, 2).trimmed(), cell(grid, 3).trimmed()};
    case 21:
        return {corpusFromCell(cell(grid, 1)), cell(grid, 2).trimmed(), cell(grid, 3).trimmed()};
    case 31: // the tutor; the other cells of the load belong to its lines
        return {cell(grid, 1).trimmed()};
    default:
        return {};
    }
}

int findListRow(const GridModel &grid, const QStringList &cells)
{
    for (int row = grid.fixedRows(); row < grid.rows(); ++row) {
        if (!isRecordRow(grid, row))
            continue;
        bool same = true;
        for (int i = 0; i < cells.size() && same; ++i)
            same = cells[i].isEmpty() || sameName(grid.text(row, i + 1), cells[i]);
        if (same)
            return row;
    }
    return -1;
}

} // namespace korvesta::entryrows
