#pragma once

#include "grid/gridlayout.h"
#include "grid/gridtextcache.h"
#include "grid/gridtypes.h"

#include <QAbstractScrollArea>
#include <QPointer>

#include <functional>
#include <vector>

class QComboBox;
class QLineEdit;

namespace korvesta {

class GridModel;

// The grid on screen: paints a GridModel with its fixed rows and columns frozen, edits cells
// in place, and reports what the user does as signals. Rows and columns in the signals are
// the cell under the mouse or the current cell, counted from 0 as in the model; a cell of a
// merged block reports itself, not the block's first cell.
class GridView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit GridView(QWidget *parent = nullptr);
    ~GridView() override;

    GridModel *model() const { return m_model; }
    // Shows another model (not owned); nullptr returns to the view's own.
    void setModel(GridModel *model);

    // The cell at a point of the viewport; (-1, -1) outside the cells.
    struct Cell
    {
        int row = -1;
        int col = -1;
    };
    Cell cellAt(const QPoint &viewportPos) const;
    // The cell under the mouse at the last mouse event.
    int mouseRow() const { return m_mouse.row; }
    int mouseCol() const { return m_mouse.col; }
    // The rectangle of the block a cell belongs to, in viewport coordinates.
    QRect cellRect(int row, int col) const;
    void ensureVisible(int row, int col);

    // Opens an editor on a data cell as F2 would, whatever the edit mode; false when the
    // cell cannot be edited or beforeEdit cancelled.
    bool startEditing(int row, int col);
    bool isEditing() const { return !m_editor.isNull(); }
    QWidget *editor() const { return m_editor; }
    void commitEdit();
    void cancelEdit();

    // Texts for the tooltip over a cell; an empty text shows none. A cell whose text shows
    // cut adds its full text to the tooltip.
    void setToolTipProvider(std::function<QString(int row, int col)> provider);
    // The tooltip over a cell.
    QString cellToolTip(int row, int col) const;
    // Whether the cell shows its text cut short (with "…").
    bool isTextCut(int row, int col) const;

    // Makes each shown row high enough for the wrapped text of its cells in the grid's font;
    // a row never gets lower than it was before the first fit. Cells merged over several rows
    // are left alone. Called again (after a change of font), it refits the rows it grew.
    void fitRowsToText();
    // Widens the columns first..last so that each line of their texts shows whole, up to
    // maxTwips, and shares the window's spare width among them (up to maxTwips too): a
    // timetable fills the window rather than cutting its names beside empty space.
    void fitColumnsToText(int first, int last, int maxTwips);

signals:
    void clicked(int row, int col);
    void doubleClicked(int row, int col);
    void currentCellChanged(int row, int col);
    void selectionChanged(int top, int left, int bottom, int right);
    // Set *cancel to keep the cell from being edited. A handler may set the model's combo
    // list to offer a drop-down list instead of a line edit.
    void beforeEdit(int row, int col, bool *cancel);
    void afterEdit(int row, int col);
    // Set *handled to keep the grid from acting on the key itself. Keys typed into an editor
    // are its own, but those that end an edit (Enter, Tab, and Up and Down in a line edit)
    // are reported once the edit has ended.
    void keyDown(int key, Qt::KeyboardModifiers modifiers, bool *handled);
    void keyUp(int key, Qt::KeyboardModifiers modifiers);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    // The mouse went over another cell (or off the cells: -1, -1).
    void cellHovered(int row, int col);

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // List: a key that opens a cell's drop-down list (Down, Up, F4); it starts no edit on a
    // cell without a list.
    enum class EditStart { Keyboard, Typing, Mouse, List };
    enum class Drag { None, Select, Resize };

    void attach(GridModel *model);
    void connectModel();
    void modelChanged();
    const GridLayout &layout() const;
    void updateScrollBars() const;
    void setMouseCell(const QPoint &pos);
    int outlineNodeAt(const QPoint &pos) const;
    int resizeColumnAt(const QPoint &pos) const;
    void selectFromMouse(const Cell &cell, bool extend);

    // Keyboard moves (gridview_keys.cpp)
    bool navigate(QKeyEvent *event);
    void moveTo(int row, int col, bool extend);
    int stepRow(int row, int col, int step) const;
    int stepCol(int row, int col, int step) const;

    // In-place editing (gridview_edit.cpp)
    bool beginEdit(int row, int col, EditStart start, const QString &typed = QString());
    void placeEditor();
    void closeEditor();
    bool editorKey(QKeyEvent *event);
    bool listKey(QKeyEvent *event);
    void openList();
    bool listShown() const;
    void searchList(const QString &typed);
    void takeListItem();
    void editorFocusLost();

    GridModel *m_model = nullptr;     // not owned when set by setModel()
    GridModel *m_ownModel = nullptr;  // a child object
    QList<QMetaObject::Connection> m_connections;

    mutable GridLayout m_layout;
    mutable quint64 m_layoutRevision = ~quint64(0);
    mutable QFont m_layoutFont;
    GridTextCache m_textCache;

    Cell m_mouse;
    Cell m_pressCell;
    Drag m_drag = Drag::None;
    int m_resizeCol = -1;
    int m_resizeStartX = 0;
    int m_resizeStartWidth = 0;

    QPointer<QWidget> m_editor;
    QLineEdit *m_lineEdit = nullptr; // the editor, when it is a line edit
    QComboBox *m_comboBox = nullptr; // the editor, when it is a drop-down list
    int m_editRow = -1;
    int m_editCol = -1;
    // The letters typed into a drop-down list so far, and when the last came: a pause starts
    // a new search.
    QString m_listSearch;
    qint64 m_listSearchAt = 0;

    std::function<QString(int, int)> m_toolTipProvider;

    // Rows grown by fitRowsToText(), with their heights in twips before and after.
    struct FittedRow
    {
        int row;
        int before;
        int grownTo;
    };
    std::vector<FittedRow> m_fittedRows;
};

} // namespace korvesta
