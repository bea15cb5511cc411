#pragma once

#include "grid/gridtypes.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QObject>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace korvesta {

// Everything a view writes into the grid and reads back: shape, cells and their formats,
// merging, the outline with its subtotal rows, the current cell and selection, and the edit
// state. GridView paints it; fills and their tests work on it without a window.
//
// Rows and columns count from 0; the first fixedRows() rows and fixedCols() columns are the
// headers. Widths and heights are in twips (1440 per inch); -1 means the default size.
// A call naming a row or column outside the grid does nothing (getters return an empty
// value), so a fill that miscounts leaves a visible gap rather than a crash. So does a shape
// of more than ten million cells; sizes are capped at a hundred inches.
//
// changed() is emitted once per turn of the event loop however many changes were made;
// revision() tells a reader synchronously whether anything changed.
class GridModel : public QObject
{
    Q_OBJECT

public:
    explicit GridModel(QObject *parent = nullptr);
    ~GridModel() override;

    // Copies every cell, format and grid-wide property of another grid (print preview).
    void assign(const GridModel &other);
    // Copies a row of another grid of as many columns over row `toRow`: its cells with their
    // formats and the row's own height, colours and flags. Nothing when the grids differ in
    // width or a row is outside its grid.
    void copyRow(const GridModel &from, int fromRow, int toRow);
    // Empties the grid: no rows or columns, no merging, no outline, no wrapping, no current
    // cell. Grid-wide colours and the font stay.
    void clear();

    // Shape
    int rows() const { return static_cast<int>(m_rows.size()); }
    int cols() const { return m_cols; }
    void setRows(int count);
    void setCols(int count);
    int fixedRows() const { return std::min(m_fixedRows, rows()); }
    int fixedCols() const { return std::min(m_fixedCols, m_cols); }
    void setFixedRows(int count);
    void setFixedCols(int count);
    bool isValid(int row, int col) const
    {
        return row >= 0 && col >= 0 && row < rows() && col < m_cols;
    }
    bool isDataCell(int row, int col) const
    {
        return isValid(row, col) && row >= fixedRows() && col >= fixedCols();
    }

    // Adds a row at `at` (or at the end when `at` is out of range) whose cells, from column 0,
    // are the parts of `text` separated by tabs. Returns the new row's index (-1 when the grid
    // cannot grow).
    int addRow(const QString &text = QString(), int at = -1);
    // The same with the cells given one by one, so that a tab or line break inside a value
    // stays in its cell. Cells past the last column are left out.
    int addRow(const QStringList &cells, int at = -1);
    void removeRow(int row);
    void removeRows(int row, int count);

    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);
    // A column is hidden by width 0 or by the flag; a row by height 0, the flag or a collapsed
    // outline node above it.
    bool isColHidden(int col) const;
    void setColHidden(int col, bool hidden);
    bool isRowHidden(int row) const;
    void setRowHidden(int row, bool hidden);
    Qt::Alignment colAlignment(int col) const;
    void setColAlignment(int col, Qt::Alignment alignment);
    // The width of the grid's visible area in twips, kept up to date by the view; frames size
    // their columns as fractions of it.
    int clientWidth() const { return m_clientWidth; }
    void setClientWidth(int twips);

    // Cells
    QString text(int row, int col) const;
    void setText(int row, int col, const QString &text);
    void setText(int top, int left, int bottom, int right, const QString &text);
    // The texts of a block as a spreadsheet takes them from the clipboard: cells separated by
    // tabs, rows by line feeds; hidden rows and columns left out.
    QString blockText(const CellRange &block) const;
    // Finds the first row from `fromRow` whose cell in `col` reads `text`; -1 when none.
    int findRow(const QString &text, int col, int fromRow = 0) const;

    // The colours a cell shows: its own, else its subtotal row's, else the grid's (fixed or
    // body). An invalid colour given to a setter returns the cells to the grid's colours.
    QColor cellBackColor(int row, int col) const;
    void setCellBackColor(int row, int col, const QColor &color);
    void setCellBackColor(int top, int left, int bottom, int right, const QColor &color);
    bool hasOwnBackColor(int row, int col) const;
    QColor cellForeColor(int row, int col) const;
    void setCellForeColor(int row, int col, const QColor &color);
    void setCellForeColor(int top, int left, int bottom, int right, const QColor &color);
    bool cellBold(int row, int col) const;
    void setCellBold(int row, int col, bool bold);
    void setCellBold(int top, int left, int bottom, int right, bool bold);
    // Alignment of a cell: its own, else its column's; empty means general (text to the
    // left, numbers to the right).
    Qt::Alignment cellAlignment(int row, int col) const;
    void setCellAlignment(int row, int col, Qt::Alignment alignment);
    void setCellAlignment(int top, int left, int bottom, int right, Qt::Alignment alignment);
    // Picture of a cell by icon key ("GROUP", "TUTOR", ...); empty for none.
    QString cellPicture(int row, int col) const;
    void setCellPicture(int row, int col, const QString &key);
    void setCellPicture(int top, int left, int bottom, int right, const QString &key);
    CellBorder cellBorder(int row, int col) const;
    void setCellBorders(int top, int left, int bottom, int right, const CellBorders &borders);

    // Merging
    MergeMode mergeCells() const { return m_mergeMode; }
    void setMergeCells(MergeMode mode);
    bool mergeRow(int row) const;
    void setMergeRow(int row, bool merge);
    bool mergeCol(int col) const;
    void setMergeCol(int col, bool merge);
    // The merged block a cell belongs to: the cell itself when it merges with nothing, an
    // invalid range outside the grid. Blocks never cross the edge of the fixed area, and
    // subtotal rows never merge down.
    CellRange mergedRange(int row, int col) const;
    // The block a cell shows in: its merged block, or, for a block of one row at the edge of
    // the fixed columns whose cells would merge with the block on the other side of the edge
    // (a title across the row), both blocks together. Painted once, its text not repeated.
    CellRange shownRange(int row, int col) const;

    // Outline. Subtotal rows are the outline's nodes: each stands below its group, and its
    // level is the column it groups on (-1 for a grand total).
    bool outlineBar() const { return m_outlineBar; }
    void setOutlineBar(bool shown);
    int outlineCol() const { return m_outlineCol; }
    void setOutlineCol(int col);
    int rowOutlineLevel(int row) const;
    void setRowOutlineLevel(int row, int level);
    bool isSubtotal(int row) const;
    void setIsSubtotal(int row, bool subtotal);
    // The group value a subtotal row was made for (the caption without the function's name).
    QString subtotalKey(int row) const;
    void subtotal(const SubtotalSpec &spec);
    // The same subtotal for each of the columns, in one pass over the rows: as many calls of
    // subtotal(), one per column, would make.
    void subtotal(const SubtotalSpec &spec, const std::vector<int> &totalCols);
    void clearSubtotals();
    // The rows of a node's group (above the node itself); invalid when `row` is no node.
    CellRange outlineGroup(int row) const;
    bool isCollapsed(int row) const;
    void setCollapsed(int row, bool collapsed);
    // Opens the nodes of levels below `level` and collapses the others, so that outline(1)
    // leaves the first-level totals alone on screen.
    void outline(int level);
    void expandAll();

    // Count of non-empty cells, or sum, mean, largest or smallest of the numbers, in a block
    // (clipped to the grid). Texts that are not numbers are skipped; no number gives 0.
    double aggregate(Aggregate function, int top, int left, int bottom, int right) const;

    // Current cell and selection. Setting either emits currentCellChanged() and
    // selectionChanged() when it changes, from code as from the user.
    int currentRow() const { return m_row; }
    int currentCol() const { return m_col; }
    void setCurrentCell(int row, int col);
    // The current cell becomes (row, col) and the selection spans it to (rowSel, colSel).
    void setSelection(int row, int col, int rowSel, int colSel);
    CellRange selection() const;
    // The corner of the selection opposite the current cell.
    int rowSel() const { return m_rowSel; }
    int colSel() const { return m_colSel; }

    // Editing
    EditMode editMode() const { return m_editMode; }
    void setEditMode(EditMode mode);
    // The drop-down list offered by the next edit, items joined by "|"; an item may carry a
    // code before a tab ("3\tЗаочная"). A list beginning with "|" also accepts typed text.
    QString comboList() const { return m_comboList; }
    void setComboList(const QString &list);
    struct ComboItem
    {
        QString code;
        QString text;
    };
    std::vector<ComboItem> comboItems() const;
    bool comboAcceptsText() const { return m_comboList.startsWith(QLatin1Char('|')); }
    // The code of the item chosen by the last edit through a list with codes.
    QString comboData() const { return m_comboData; }
    void setComboData(const QString &code) { m_comboData = code; }
    // Kept by the view while an editor is open.
    bool isEditing() const { return m_editing; }
    void setEditing(bool editing) { m_editing = editing; }

    // Grid-wide look
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    // Long texts wrap onto several lines (otherwise they are cut short with an ellipsis);
    // texts with line breaks always show on several lines.
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap);
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &color);
    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor &color);
    QColor backColorFixed() const { return m_backColorFixed; }
    void setBackColorFixed(const QColor &color);
    QColor foreColorFixed() const { return m_foreColorFixed; }
    void setForeColorFixed(const QColor &color);
    // Beyond the last row and column.
    QColor backColorBkg() const { return m_backColorBkg; }
    void setBackColorBkg(const QColor &color);
    QColor backColorSel() const { return m_backColorSel; }
    void setBackColorSel(const QColor &color);
    QColor gridColor() const { return m_gridColor; }
    void setGridColor(const QColor &color);
    QColor gridColorFixed() const { return m_gridColorFixed; }
    void setGridColorFixed(const QColor &color);
    MousePointer mousePointer() const { return m_pointer; }
    void setMousePointer(MousePointer pointer);

    quint64 revision() const { return m_revision; }

signals:
    void changed();
    void currentCellChanged(int row, int col);
    void selectionChanged();
    void mousePointerChanged();

private:
    // 32 bytes: a big grid holds hundreds of thousands of them.
    struct Cell
    {
        QString text;
        quint16 back = 0;   // index into m_colors; 0: not set
        quint16 fore = 0;
        quint8 picture = 0; // index into m_pictures; 0: none
        quint8 border = 0;  // index into m_borderStyles; 0: none
        quint8 align = 0;   // packed, see packAlignment()
        quint8 flags = 0;   // CellFlag
    };
    struct Row
    {
        QString subtotalKey;
        QRgb back = 0;
        QRgb fore = 0;
        int height = -1;
        int level = 0;
        quint8 flags = 0; // RowFlag
    };
    struct Col
    {
        int width = -1;
        quint8 align = 0;
        bool merge = false;
        bool hidden = false;
    };
    struct BorderStyle
    {
        QRgb color;
        int width;
        friend bool operator==(const BorderStyle &, const BorderStyle &) = default;
    };
    enum CellFlag : quint8 {
        Bold = 0x01,
        EdgeLeft = 0x02,
        EdgeTop = 0x04,
        EdgeRight = 0x08,
        EdgeBottom = 0x10,
        Edges = EdgeLeft | EdgeTop | EdgeRight | EdgeBottom
    };
    enum RowFlag : quint8 {
        MergeRowFlag = 0x01,
        Hidden = 0x02,
        Subtotal = 0x04,
        Collapsed = 0x08
    };

    const Cell *cell(int row, int col) const;
    Cell *rowCells(int row) { return m_cells.data() + index(row, 0); }
    const Cell *rowCells(int row) const { return m_cells.data() + index(row, 0); }
    size_t index(int row, int col) const
    {
        return static_cast<size_t>(row) * static_cast<size_t>(m_cols) + static_cast<size_t>(col);
    }
    // Clips a block to the grid; false when nothing of it is inside.
    bool clip(int &top, int &left, int &bottom, int &right) const;
    template<typename F> void forBlock(int top, int left, int bottom, int right, F &&f);
    quint8 pictureIndex(const QString &key);
    quint8 borderIndex(const BorderStyle &style);
    quint16 colorIndex(const QColor &color);
    template<typename Member>
    void setCellColor(int top, int left, int bottom, int right, const QColor &color, Member m);
    QColor cellColor(int row, int col, quint16 Cell::*member, QRgb Row::*rowMember,
                     const QColor &fixed, const QColor &body) const;
    void clampCurrent();
    void setCurrentInternal(int row, int col, int rowSel, int colSel);
    void setGridColor(QColor &member, const QColor &color);
    void touch();
    void outlineChanged();
    void updateOutlineCache() const;

    bool hjoin(int row, int col, bool acrossFixed = false) const;
    bool vjoin(int row, int col) const;
    std::pair<int, int> horizontalRun(int row, int col) const;

    void subtotalGroups(const SubtotalSpec &spec, const std::vector<int> &totalCols);
    void subtotalGrand(const SubtotalSpec &spec);
    void appendSubtotalRow(std::vector<Row> &rows, std::vector<Cell> &cells,
                           const SubtotalSpec &spec, int level, const QString &key) const;
    void writeTotal(Row &row, Cell *cells, const SubtotalSpec &spec, int col, double value) const;

    // Cells row after row in one block, whose room outlives a refill of the grid.
    std::vector<Cell> m_cells;
    std::vector<Row> m_rows;
    std::vector<Col> m_colProps;
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    int m_clientWidth = 12000;

    std::vector<QString> m_pictures;         // [0] is the empty key
    std::vector<BorderStyle> m_borderStyles; // [0] is unused
    std::vector<QRgb> m_colors;              // [0] is unused
    QHash<QRgb, quint16> m_colorIndex;

    MergeMode m_mergeMode = MergeMode::Never;
    bool m_outlineBar = false;
    int m_outlineCol = 0;
    mutable std::vector<char> m_outlineHidden;
    mutable bool m_outlineDirty = true;

    int m_row = -1;
    int m_col = -1;
    int m_rowSel = -1;
    int m_colSel = -1;

    EditMode m_editMode = EditMode::None;
    QString m_comboList;
    QString m_comboData;
    bool m_editing = false;

    QFont m_font;
    bool m_wordWrap = false;
    QColor m_backColor;
    QColor m_foreColor;
    QColor m_backColorFixed;
    QColor m_foreColorFixed;
    QColor m_backColorBkg;
    QColor m_backColorSel;
    QColor m_gridColor;
    QColor m_gridColorFixed;
    MousePointer m_pointer = MousePointer::Default;

    quint64 m_revision = 0;
    bool m_changePosted = false;
};

} // namespace korvesta
