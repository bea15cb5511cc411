// Merged blocks: which neighbouring cells of equal text show as one.

#include "grid/gridmodel.h"

namespace korvesta {

// Whether (row, col) merges with (row, col + 1). In the row-restricted modes the pair must
// merge in every row above with merging on, up to the edge of the fixed area.
bool GridModel::hjoin(int row, int col, bool acrossFixed) const
{
    if (row < 0 || row >= rows() || col < 0 || col + 1 >= m_cols)
        return false;
    const int fr = fixedRows();
    const int fc = fixedCols();
    if (!acrossFixed && (col < fc) != (col + 1 < fc))
        return false;
    const bool restricted =
        m_mergeMode == MergeMode::RestrictRows || m_mergeMode == MergeMode::RestrictAll;
    const int firstRow = row < fr ? 0 : fr;
    for (int r = row; r >= firstRow; --r) {
        const Row &line = m_rows[static_cast<size_t>(r)];
        if (!(line.flags & MergeRowFlag)) {
            if (r == row)
                return false;
            continue; // rows without merging do not restrict
        }
        if (m_mergeMode == MergeMode::FixedOnly && r >= fr && col + 1 >= fc)
            return false;
        const Cell *cells = rowCells(r);
        const QString &a = cells[col].text;
        if (a.isEmpty() || a != cells[col + 1].text)
            return false;
        if (!restricted)
            return true;
    }
    return true;
}

// Whether (row, col) merges with (row + 1, col); the column-restricted modes look left in the
// same way.
bool GridModel::vjoin(int row, int col) const
{
    if (row < 0 || row + 1 >= rows() || col < 0 || col >= m_cols)
        return false;
    const int fr = fixedRows();
    const int fc = fixedCols();
    if ((row < fr) != (row + 1 < fr))
        return false;
    const bool restricted =
        m_mergeMode == MergeMode::RestrictColumns || m_mergeMode == MergeMode::RestrictAll;
    const Row &upper = m_rows[static_cast<size_t>(row)];
    const Row &lower = m_rows[static_cast<size_t>(row) + 1];
    if ((upper.flags & Subtotal) || (lower.flags & Subtotal))
        return false; // a total is not part of the run above it
    const int firstCol = col < fc ? 0 : fc;
    for (int c = col; c >= firstCol; --c) {
        if (!m_colProps[static_cast<size_t>(c)].merge) {
            if (c == col)
                return false;
            continue;
        }
        if (m_mergeMode == MergeMode::FixedOnly && row + 1 >= fr && c >= fc)
            return false;
        const QString &a = m_cells[index(row, c)].text;
        if (a.isEmpty() || a != m_cells[index(row + 1, c)].text)
            return false;
        if (!restricted)
            return true;
    }
    return true;
}

std::pair<int, int> GridModel::horizontalRun(int row, int col) const
{
    if (!(m_rows[static_cast<size_t>(row)].flags & MergeRowFlag))
        return {col, col};
    int first = col;
    while (first > 0 && hjoin(row, first - 1))
        --first;
    int last = col;
    while (hjoin(row, last))
        ++last;
    return {first, last};
}

// A block is a run across one row, extended down over the rows whose run covers exactly the
// same columns and whose first cells merge down. Every cell of a block therefore reports the
// same block, and blocks never overlap.
CellRange GridModel::mergedRange(int row, int col) const
{
    if (!isValid(row, col))
        return {};
    CellRange single{row, col, row, col};
    if (m_mergeMode == MergeMode::Never)
        return single;
    if (!mergeRow(row) && !mergeCol(col))
        return single;

    const auto [first, last] = horizontalRun(row, col);
    int top = row;
    while (vjoin(top - 1, first) && horizontalRun(top - 1, first) == std::pair(first, last))
        --top;
    int bottom = row;
    while (vjoin(bottom, first) && horizontalRun(bottom + 1, first) == std::pair(first, last))
        ++bottom;
    return {top, first, bottom, last};
}

// A title across a row keeps its text whole: the run of the fixed columns and the run that
// goes on beyond them show as one when their cells would merge but for the edge.
CellRange GridModel::shownRange(int row, int col) const
{
    const CellRange block = mergedRange(row, col);
    const int fc = fixedCols();
    if (!block.isValid() || block.top != block.bottom || fc == 0 || fc >= m_cols
        || (block.right != fc - 1 && block.left != fc) || !hjoin(row, fc - 1, true))
        return block;
    const CellRange other = mergedRange(row, block.left == fc ? fc - 1 : fc);
    if (other.top != other.bottom)
        return block;
    return {row, std::min(block.left, other.left), row, std::max(block.right, other.right)};
}

} // namespace korvesta
