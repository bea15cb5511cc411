#pragma once

#include <QColor>
#include <QString>

namespace korvesta {

// A block of cells, both corners included. The default block is empty (invalid).
struct CellRange
{
    int top = -1;
    int left = -1;
    int bottom = -1;
    int right = -1;

    bool isValid() const { return top >= 0 && left >= 0 && bottom >= top && right >= left; }
    bool contains(int row, int col) const
    {
        return row >= top && row <= bottom && col >= left && col <= right;
    }
    bool isSingleCell() const { return top == bottom && left == right; }
    friend bool operator==(const CellRange &, const CellRange &) = default;
};

// How equal neighbouring texts merge into one cell. Merging is switched on per row (across)
// and per column (down); the restricted modes merge a cell only when the cells before it in
// the other direction merged as well, so that a column of disciplines never merges across two
// tutors.
enum class MergeMode {
    Never,
    Free,
    RestrictRows,    // across only where the row above (with merging on) merged too
    RestrictColumns, // down only where the column to the left (with merging on) merged too
    RestrictAll,
    FixedOnly        // only header cells merge
};

enum class Aggregate { Clear, Count, Sum, Average, Max, Min };

enum class EditMode { None, Keyboard, KeyboardMouse };

enum class MousePointer { Default, Wait };

// Lines drawn on the edges of every cell of a block: the outer edges of the block and,
// optionally, the lines between its cells.
struct CellBorders
{
    QColor color{};
    int width = 1; // pixels
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    bool innerVertical = false;
    bool innerHorizontal = false;
};

// The border of one cell as stored.
struct CellBorder
{
    QColor color{};
    int width = 0;
    Qt::Edges edges;
};

// One pass of the subtotal operation: a subtotal row below each run of equal texts in column
// groupOn, holding the aggregate of column totalOn over the run's data rows. A second pass on
// the same group column writes into the rows the first pass made.
struct SubtotalSpec
{
    Aggregate function = Aggregate::Count;
    int groupOn = -1;    // below 0: one grand total row under all the data rows
    int totalOn = -1;
    QString format{};    // number format of the total ("#,##0"); empty: plain number
    QColor backColor{};  // invalid: the grid's own colours
    QColor foreColor{};
    bool bold = false;   // the total in bold
    QString caption{};   // "%s" stands for the group value; empty: "Count " + value etc.
    int captionCol = -1; // below 0: the group column (the first data column for a grand total)
};

} // namespace korvesta
