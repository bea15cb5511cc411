// Keyboard: the keys move the current cell as in a spreadsheet; Shift extends the selection.

#include "grid/gridmodel.h"
#include "grid/gridview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace korvesta {

void GridView::keyPressEvent(QKeyEvent *event)
{
    bool handled = false;
    emit keyDown(event->key(), event->modifiers(), &handled);
    // Down, Up and F4 open the drop-down list of a cell that has one.
    const int key = event->key();
    const bool listKey = key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_F4;
    if (!handled && listKey && m_model->editMode() != EditMode::None
        && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
        && beginEdit(m_model->currentRow(), m_model->currentCol(), EditStart::List)) {
        event->accept();
        return;
    }
    if (handled || navigate(event)) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(m_model->blockText(m_model->selection()));
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        const int lastRow = m_model->rows() - 1;
        const int lastCol = m_model->cols() - 1;
        if (m_model->isDataCell(lastRow, lastCol))
            m_model->setSelection(m_model->fixedRows(), m_model->fixedCols(), lastRow, lastCol);
        event->accept();
        return;
    }
    const int row = m_model->currentRow();
    const int col = m_model->currentCol();
    if (m_model->editMode() != EditMode::None) {
        if (event->key() == Qt::Key_F2) {
            beginEdit(row, col, EditStart::Keyboard);
            event->accept();
            return;
        }
        const QString text = event->text();
        if (!text.isEmpty() && text.front().isPrint()
            && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            beginEdit(row, col, EditStart::Typing, text);
            event->accept();
            return;
        }
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void GridView::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat())
        emit keyUp(event->key(), event->modifiers());
    QAbstractScrollArea::keyReleaseEvent(event);
}

int GridView::stepRow(int row, int col, int step) const
{
    const CellRange block = m_model->mergedRange(row, col);
    for (int r = step > 0 ? block.bottom + 1 : block.top - 1;
         r >= m_model->fixedRows() && r < m_model->rows(); r += step) {
        if (!m_model->isRowHidden(r))
            return r;
    }
    return row;
}

int GridView::stepCol(int row, int col, int step) const
{
    const CellRange block = m_model->mergedRange(row, col);
    for (int c = step > 0 ? block.right + 1 : block.left - 1;
         c >= m_model->fixedCols() && c < m_model->cols(); c += step) {
        if (!m_model->isColHidden(c))
            return c;
    }
    return col;
}

void GridView::moveTo(int row, int col, bool extend)
{
    const int currentRow = m_model->currentRow();
    const int currentCol = m_model->currentCol();
    if (extend && m_model->isDataCell(currentRow, currentCol))
        m_model->setSelection(currentRow, currentCol, row, col);
    else
        m_model->setCurrentCell(row, col);
    ensureVisible(row, col);
}

bool GridView::navigate(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrl = modifiers & Qt::ControlModifier;
    bool extend = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        extend = false;
        break;
    default:
        return false;
    }

    const int fr = m_model->fixedRows();
    const int fc = m_model->fixedCols();
    const auto firstVisible = [](int from, int to, int step, const auto &hidden) {
        for (int i = from; i != to + step; i += step) {
            if (!hidden(i))
                return i;
        }
        return -1;
    };
    const auto rowHidden = [this](int r) { return m_model->isRowHidden(r); };
    const auto colHidden = [this](int c) { return m_model->isColHidden(c); };
    const int top = firstVisible(fr, m_model->rows() - 1, 1, rowHidden);
    const int bottom = firstVisible(m_model->rows() - 1, fr, -1, rowHidden);
    const int left = firstVisible(fc, m_model->cols() - 1, 1, colHidden);
    const int right = firstVisible(m_model->cols() - 1, fc, -1, colHidden);
    if (top < 0 || left < 0)
        return true; // no data cells to move over

    int row = extend ? m_model->rowSel() : m_model->currentRow();
    int col = extend ? m_model->colSel() : m_model->currentCol();
    if (!m_model->isDataCell(row, col)) {
        // From a header (where a fill leaves the current cell) the first key lands on the
        // first data cell.
        moveTo(top, left, false);
        return true;
    }

    switch (key) {
    case Qt::Key_Up:
        row = ctrl ? top : stepRow(row, col, -1);
        break;
    case Qt::Key_Down:
        row = ctrl ? bottom : stepRow(row, col, 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Backtab:
        col = ctrl ? left : stepCol(row, col, -1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Tab:
        col = ctrl ? right : stepCol(row, col, 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        row = stepRow(row, col, (modifiers & Qt::ShiftModifier) ? -1 : 1);
        break;
    case Qt::Key_Home:
        col = left;
        if (ctrl)
            row = top;
        break;
    case Qt::Key_End:
        col = right;
        if (ctrl)
            row = bottom;
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int step = key == Qt::Key_PageDown ? 1 : -1;
        const GridLayout &l = layout();
        const int room = std::max(viewport()->height() - l.fixedHeight(), l.rowHeight(row));
        int travelled = 0;
        while (travelled < room) {
            const int next = stepRow(row, col, step);
            if (next == row)
                break;
            travelled += l.rowHeight(next);
            if (travelled > room && travelled != l.rowHeight(next))
                break;
            row = next;
        }
        break;
    }
    default:
        break;
    }
    moveTo(row, col, extend);
    return true;
}

} // namespace korvesta
