#pragma once

#include "grid/gridtypes.h"

#include <QRect>

#include <vector>

namespace korvesta {

class GridModel;

// The grid in pixels: where each row and column starts, in content coordinates (the fixed
// rows and columns first, hidden ones 0 wide), and the outline's nodes. Rebuilt whenever the
// model changes; lookups are binary searches, so a large grid costs nothing to hit-test.
class GridLayout
{
public:
    struct Metrics
    {
        double dpiX = 96;
        double dpiY = 96;
        int defaultRowHeight = 20; // pixels, for rows of height -1
        int defaultColWidth = 64;
    };

    struct OutlineNode
    {
        int row;
        int groupTop; // first row of its group; groupTop > row - 1 for an empty group
        int depth;    // rank of its level among the levels in use, 0 for the outermost
        bool collapsed;
    };

    void build(const GridModel &model, const Metrics &metrics);

    int rows() const { return static_cast<int>(m_y.size()) - 1; }
    int cols() const { return static_cast<int>(m_x.size()) - 1; }
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }

    int colLeft(int col) const { return m_x[static_cast<size_t>(col)]; }
    int colRight(int col) const { return m_x[static_cast<size_t>(col) + 1]; }
    int colWidth(int col) const { return colRight(col) - colLeft(col); }
    int rowTop(int row) const { return m_y[static_cast<size_t>(row)]; }
    int rowBottom(int row) const { return m_y[static_cast<size_t>(row) + 1]; }
    int rowHeight(int row) const { return rowBottom(row) - rowTop(row); }

    int fixedWidth() const { return m_x[static_cast<size_t>(m_fixedCols)]; }
    int fixedHeight() const { return m_y[static_cast<size_t>(m_fixedRows)]; }
    int totalWidth() const { return m_x.back(); }
    int totalHeight() const { return m_y.back(); }

    // The visible column or row at a content coordinate; -1 outside the grid.
    int colAt(int x) const;
    int rowAt(int y) const;

    // A block in viewport coordinates, given how far the body is scrolled. The fixed part
    // stays put; the rest moves.
    QRect rect(const CellRange &block, int scrollX, int scrollY) const;

    const std::vector<OutlineNode> &outlineNodes() const { return m_nodes; }
    int outlineDepths() const { return m_depths; }

private:
    std::vector<int> m_x{0};
    std::vector<int> m_y{0};
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    std::vector<OutlineNode> m_nodes;
    int m_depths = 0;
};

} // namespace korvesta
