#pragma once

#include "grid/gridtextfit.h"
#include "grid/gridtypes.h"

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QSize>

#include <vector>

class QPainter;

namespace korvesta {

class GridLayout;
class GridModel;
class GridTextCache;

struct GridPaintState
{
    int scrollX = 0;
    int scrollY = 0;
    QSize viewport;
    bool focused = false;
    qreal devicePixelRatio = 1;
    GridTextCache *textCache = nullptr; // lines painted before, kept by the view
};

// Paints the visible part of a grid: the scrolled body, then the fixed rows, the fixed
// columns and their corner on top, each clipped to its own area so that the headers stay put.
class GridPainter
{
public:
    GridPainter(const GridModel &model, const GridLayout &layout, const GridPaintState &state);

    void paint(QPainter &painter);

    // The collapse button of an outline node inside the node's cell in the outline column.
    static QRect outlineButton(const QRect &cell, int depth, int depths);

    // Where a cell's text and picture go: the text inside the padding, right of the picture
    // or, when wrapping and there is room, below it. pictureSize is 0 when no picture shows.
    struct Placement
    {
        QRect text;
        QPoint picture;
        int pictureSize = 0;
    };
    static Placement place(const QRect &cell, bool picture, const QString &text,
                           const QFontMetrics &metrics, bool wrap);
    // Whether a wrapped text beside a picture in a cell this wide goes below the picture
    // instead (not on one line beside it, whole without it), and then how high the text is.
    static bool pictureGoesAbove(const QString &text, int width, const QFontMetrics &metrics,
                                 int *textHeight = nullptr);
    // The height of a cell whose picture stands above a text of that height.
    static int heightWithPictureAbove(int textHeight);
    static int textHeight(int lines, const QFontMetrics &metrics);
    // How many lines of a font a height shows (at least one, cut short when lower).
    static int linesIn(int height, const QFontMetrics &metrics);
    // The lines a cell's text shows in `area` (from place()), wrapped and cut as
    // fitText() does. A single word too wide for the area but not for the cell takes the
    // padding too: `area` is widened then.
    static FittedText fitCellText(const QString &text, QRect &area, const QRect &cell,
                                  bool picture, const QFontMetrics &metrics, bool wrap,
                                  const TextWidth &measure);

    // Space between a cell's edges and its text, and the size of a cell's picture.
    static constexpr int PaddingX = 4;
    static constexpr int PaddingY = 1;
    static constexpr int IconSize = 16;

private:
    struct Region
    {
        int firstRow = 0;
        int lastRow = -1;
        int firstCol = 0;
        int lastCol = -1;
        QRect clip;
    };

    Region region(bool fixedRows, bool fixedCols) const;
    void paintRegion(QPainter &painter, const Region &region);
    void paintBlock(QPainter &painter, const CellRange &block, const QRect &rect,
                    const QRect &clip, bool content = true);
    void paintTitles(QPainter &painter);
    void paintContent(QPainter &painter, int row, int col, const QRect &rect, const QRect &clip);
    void paintText(QPainter &painter, const QString &text, Qt::Alignment alignment,
                   const QRect &inner, const QRect &cell, bool picture, const QRect &clip);
    static int pictureSize(const QRect &cell);
    void paintBorder(QPainter &painter, int row, int col, const QRect &rect);
    void paintOutline(QPainter &painter, const Region &region);
    void paintSelection(QPainter &painter);
    bool headerHighlighted(const CellRange &block) const;

    const GridModel &m_model;
    const GridLayout &m_layout;
    GridPaintState m_state;
    QFont m_font;
    QFont m_boldFont;
    QFontMetrics m_metrics;
    QFontMetrics m_boldMetrics;
    bool m_bold = false; // the font now set on the painter
    CellRange m_selection;
    CellRange m_current;
    bool m_currentInBody = false;
    // Titles across the fixed columns' edge met while painting the regions.
    std::vector<CellRange> m_titles;
};

} // namespace korvesta
