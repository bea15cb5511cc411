#include "grid/gridlayout.h"

#include "grid/gridmodel.h"
#include "grid/twips.h"

#include <algorithm>

namespace korvesta {

namespace {

// Positions stop growing here, so that no sum of sizes overflows; rows beyond are out of
// reach, which no real grid comes near.
constexpr qint64 MaxPosition = 1'000'000'000;

int advance(int position, int size)
{
    return static_cast<int>(std::min<qint64>(qint64(position) + size, MaxPosition));
}

} // namespace

void GridLayout::build(const GridModel &model, const Metrics &metrics)
{
    m_fixedRows = model.fixedRows();
    m_fixedCols = model.fixedCols();

    m_x.resize(static_cast<size_t>(model.cols()) + 1);
    m_x[0] = 0;
    for (int c = 0; c < model.cols(); ++c) {
        const int twips = model.colWidth(c);
        int width = twips < 0 ? metrics.defaultColWidth : twipsToPixels(twips, metrics.dpiX);
        if (model.isColHidden(c))
            width = 0;
        m_x[static_cast<size_t>(c) + 1] = advance(m_x[static_cast<size_t>(c)], width);
    }

    m_y.resize(static_cast<size_t>(model.rows()) + 1);
    m_y[0] = 0;
    for (int r = 0; r < model.rows(); ++r) {
        const int twips = model.rowHeight(r);
        int height = twips < 0 ? metrics.defaultRowHeight : twipsToPixels(twips, metrics.dpiY);
        if (model.isRowHidden(r))
            height = 0;
        m_y[static_cast<size_t>(r) + 1] = advance(m_y[static_cast<size_t>(r)], height);
    }

    m_nodes.clear();
    m_depths = 0;
    if (!model.outlineBar())
        return;
    std::vector<int> levels;
    for (int r = model.fixedRows(); r < model.rows(); ++r) {
        if (!model.isSubtotal(r))
            continue;
        const CellRange group = model.outlineGroup(r);
        m_nodes.push_back({r, group.isValid() ? group.top : r, model.rowOutlineLevel(r),
                           model.isCollapsed(r)});
        levels.push_back(model.rowOutlineLevel(r));
    }
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    m_depths = static_cast<int>(levels.size());
    for (OutlineNode &node : m_nodes) {
        node.depth = static_cast<int>(std::lower_bound(levels.begin(), levels.end(), node.depth)
                                      - levels.begin());
    }
}

int GridLayout::colAt(int x) const
{
    if (x < 0 || x >= totalWidth())
        return -1;
    return static_cast<int>(std::upper_bound(m_x.begin(), m_x.end(), x) - m_x.begin()) - 1;
}

int GridLayout::rowAt(int y) const
{
    if (y < 0 || y >= totalHeight())
        return -1;
    return static_cast<int>(std::upper_bound(m_y.begin(), m_y.end(), y) - m_y.begin()) - 1;
}

QRect GridLayout::rect(const CellRange &block, int scrollX, int scrollY) const
{
    if (!block.isValid() || block.bottom >= rows() || block.right >= cols())
        return {};
    int x1 = colLeft(block.left);
    int x2 = colRight(block.right);
    if (block.left >= m_fixedCols) {
        x1 -= scrollX;
        x2 -= scrollX;
    }
    int y1 = rowTop(block.top);
    int y2 = rowBottom(block.bottom);
    if (block.top >= m_fixedRows) {
        y1 -= scrollY;
        y2 -= scrollY;
    }
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

} // namespace korvesta
