#pragma once

#include <QRgb>
#include <QString>

#include <functional>
#include <vector>

namespace korvesta {

class GridModel;
struct ExportFormat;

// How a cell looks on the sheet. Every cell of the grid's area gets a thin border.
struct SheetStyle
{
    enum NumberFormat : quint8 { General, Comma, DayDate };

    bool bold = false;
    bool wrap = false;
    quint8 align = 0;  // Qt::Alignment, horizontal bits
    quint8 valign = 0; // Qt::Alignment, vertical bits shifted down
    NumberFormat number = General;
    QRgb back = 0;     // 0: none
    QRgb fore = 0;     // 0: automatic

    friend bool operator==(const SheetStyle &, const SheetStyle &) = default;
};

struct SheetCell
{
    enum Kind : quint8 { Empty, Text, Number, Formula };

    Kind kind = Empty;
    int style = 0;   // index into SheetPlan::styles
    double value = 0; // a number, or a formula's result
    QString text;     // a text, or a formula ("=SUM(E3:E7)")
};

struct SheetMerge
{
    int top, left, bottom, right;
};

// The sheet a view's grid becomes: cells with their values and formulas, styles, merged
// blocks, column widths, row heights and the rows' outline levels. Rows and columns count
// from 0, as the spreadsheet library does.
struct SheetPlan
{
    int rows = 0;
    int cols = 0;
    std::vector<SheetCell> cells; // row after row
    std::vector<SheetStyle> styles;
    std::vector<SheetMerge> merges;
    std::vector<double> colWidths;  // in characters; below 0: the default
    std::vector<bool> colHidden;
    std::vector<double> rowHeights; // in points; below 0: the default
    std::vector<int> rowLevels;     // outline level, 0 to 7
    std::vector<bool> totalRows;    // the grid's totals rows, which end a block
    double fontSize = 8;

    SheetCell &at(int row, int col) { return cells[size_t(row) * size_t(cols) + size_t(col)]; }
    const SheetCell &at(int row, int col) const
    {
        return cells[size_t(row) * size_t(cols) + size_t(col)];
    }
};

// The longest text a spreadsheet cell holds; longer texts are cut.
constexpr int MaxCellText = 32767;

// Called after each row with the rows done and the rows in all; false stops the work.
using ExportProgress = std::function<bool(int done, int total)>;

// Lays the grid out as the view's sheet. Empty (no rows) when the progress asked to stop.
SheetPlan planSheet(const GridModel &grid, const ExportFormat &format,
                    const ExportProgress &progress = {});

// "A", "B", ... "Z", "AA", ... for a column counted from 0.
QString columnName(int col);

} // namespace korvesta
