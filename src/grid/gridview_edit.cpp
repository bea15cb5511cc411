// Editing in place: a line edit, or a drop-down list when a beforeEdit handler set one.

#include "grid/gridmodel.h"
#include "grid/gridview.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QLineEdit>

namespace korvesta {

bool GridView::startEditing(int row, int col)
{
    return beginEdit(row, col, EditStart::Keyboard);
}

bool GridView::beginEdit(int row, int col, EditStart start, const QString &typed)
{
    if (isEditing()) {
        if (row == m_editRow && col == m_editCol)
            return true;
        commitEdit();
    }
    if (!m_model->isDataCell(row, col))
        return false;
    bool cancel = false;
    emit beforeEdit(row, col, &cancel);
    // A handler may also have refilled the grid or opened an editor of its own.
    if (cancel || !m_model->isDataCell(row, col) || isEditing())
        return false;
    ensureVisible(row, col);

    const QString text = m_model->text(row, col);
    const std::vector<GridModel::ComboItem> items = m_model->comboItems();
    if (start == EditStart::List && items.empty())
        return false; // a plain cell: the key moves on
    QWidget *editor = nullptr;
    if (!items.empty()) {
        auto *combo = new QComboBox(viewport());
        combo->setFrame(false);
        combo->setEditable(m_model->comboAcceptsText());
        combo->setMaxVisibleItems(20);
        for (const GridModel::ComboItem &item : items)
            combo->addItem(item.text, item.code);
        combo->setCurrentIndex(combo->findText(text, Qt::MatchFixedString));
        if (start == EditStart::Typing && combo->isEditable())
            combo->setEditText(typed);
        else if (combo->isEditable() && combo->currentIndex() < 0)
            combo->setEditText(text);
        if (combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
        // The list's own keys are the grid's: it takes an item on Enter or Tab, closes on
        // Escape and finds items by their first letters.
        combo->view()->installEventFilter(this);
        connect(combo, &QComboBox::activated, this, [this] { commitEdit(); });
        m_comboBox = combo;
        m_listSearch.clear();
        editor = combo;
    } else {
        auto *line = new QLineEdit(viewport());
        line->setFrame(false);
        line->setText(start == EditStart::Typing ? typed : text);
        m_lineEdit = line;
        editor = line;
    }
    QFont font = m_model->font();
    font.setBold(m_model->cellBold(row, col));
    editor->setFont(font);
    editor->setObjectName(QStringLiteral("gridEditor"));
    editor->installEventFilter(this);
    m_editor = editor;
    m_editRow = row;
    m_editCol = col;
    m_model->setEditing(true);
    placeEditor();
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    if (m_comboBox && start != EditStart::Keyboard) {
        if (start == EditStart::Typing && !m_comboBox->isEditable())
            searchList(typed);
        else
            openList();
    }
    return true;
}

void GridView::placeEditor()
{
    if (!m_editor)
        return;
    const QRect rect = cellRect(m_editRow, m_editCol);
    m_editor->setGeometry(rect.adjusted(1, 1, -1, -1));
}

void GridView::closeEditor()
{
    QWidget *editor = m_editor;
    m_editor = nullptr;
    m_lineEdit = nullptr;
    m_model->setEditing(false);
    if (m_comboBox) {
        if (m_comboBox->lineEdit())
            m_comboBox->lineEdit()->removeEventFilter(this);
        m_comboBox->view()->removeEventFilter(this);
        m_comboBox->hidePopup();
    }
    m_comboBox = nullptr;
    if (!editor)
        return;
    editor->removeEventFilter(this);
    const bool hadFocus = editor->hasFocus() || editor->isAncestorOf(QApplication::focusWidget());
    editor->hide();
    editor->deleteLater();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void GridView::commitEdit()
{
    if (!isEditing())
        return;
    const int row = m_editRow;
    const int col = m_editCol;
    QString text;
    QString code;
    if (m_comboBox) {
        const int index = m_comboBox->currentIndex();
        text = m_comboBox->currentText();
        if (index >= 0 && m_comboBox->itemText(index) == text)
            code = m_comboBox->itemData(index).toString();
        else if (!m_comboBox->isEditable())
            text = m_model->text(row, col); // nothing chosen from a closed list
    } else if (m_lineEdit) {
        text = m_lineEdit->text();
    }
    closeEditor();
    m_model->setComboData(code);
    m_model->setText(row, col, text);
    emit afterEdit(row, col);
}

void GridView::cancelEdit()
{
    if (isEditing())
        closeEditor();
}

bool GridView::eventFilter(QObject *watched, QEvent *event)
{
    // A list that takes typed text too keeps its own keys while it is closed.
    const bool fromList = m_editor && m_comboBox
                          && (watched == m_comboBox->view()
                              || (watched == m_comboBox && !m_comboBox->isEditable()));
    if (fromList && event->type() == QEvent::ShortcutOverride) {
        // Keep the list's popup from acting on the keys the grid gives a meaning of its own.
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_F4:
        case Qt::Key_Up:
        case Qt::Key_Down:
            event->accept();
            return true;
        default:
            break;
        }
    }
    if (fromList && event->type() == QEvent::KeyPress)
        return listKey(static_cast<QKeyEvent *>(event));
    const bool fromEditor = m_editor
                            && (watched == m_editor
                                || (m_comboBox && watched == m_comboBox->lineEdit()));
    if (fromEditor) {
        if (event->type() == QEvent::KeyPress)
            return editorKey(static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::FocusOut
            && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            // Decide once the focus has settled: it may only be moving inside the editor.
            QMetaObject::invokeMethod(this, &GridView::editorFocusLost, Qt::QueuedConnection);
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool GridView::listShown() const
{
    return m_comboBox && m_comboBox->view()->isVisible();
}

// Shows the list with the cell's item highlighted, or the first one when the cell has none.
void GridView::openList()
{
    if (!m_comboBox || m_comboBox->count() == 0)
        return;
    if (!listShown())
        m_comboBox->showPopup();
    QAbstractItemView *view = m_comboBox->view();
    if (!view->currentIndex().isValid()) {
        const int first = std::max(m_comboBox->currentIndex(), 0);
        view->setCurrentIndex(m_comboBox->model()->index(first, m_comboBox->modelColumn()));
    }
}

// Letters typed in quick succession find the first item that begins with them, whatever
// their case; after a pause, or when nothing begins so, a letter starts a new search from
// the item after the highlighted one.
void GridView::searchList(const QString &typed)
{
    if (!m_comboBox)
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_listSearchAt > QApplication::keyboardInputInterval())
        m_listSearch.clear();
    m_listSearchAt = now;
    openList();
    QAbstractItemView *view = m_comboBox->view();
    const int count = m_comboBox->count();
    const auto find = [this, count](const QString &prefix, int from) {
        for (int i = 0; i < count; ++i) {
            const int item = (from + i) % count;
            if (m_comboBox->itemText(item).trimmed().startsWith(prefix, Qt::CaseInsensitive))
                return item;
        }
        return -1;
    };
    m_listSearch += typed;
    int found = find(m_listSearch, 0);
    if (found < 0) {
        m_listSearch = typed;
        found = find(typed, view->currentIndex().isValid() ? view->currentIndex().row() + 1 : 0);
    }
    if (found >= 0) {
        const QModelIndex index = m_comboBox->model()->index(found, m_comboBox->modelColumn());
        view->setCurrentIndex(index);
        view->scrollTo(index);
    }
}

// The highlighted item goes into the cell.
void GridView::takeListItem()
{
    if (!m_comboBox)
        return;
    const QModelIndex index = m_comboBox->view()->currentIndex();
    if (listShown() && index.isValid())
        m_comboBox->setCurrentIndex(index.row());
    m_comboBox->hidePopup();
}

bool GridView::listKey(QKeyEvent *event)
{
    const bool shown = listShown();
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
        cancelEdit(); // the cell keeps what it had
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!shown)
            return editorKey(event);
        // Only the list closes: the edit ends where it is.
        takeListItem();
        commitEdit();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        takeListItem();
        return editorKey(event);
    case Qt::Key_F4:
        if (shown) {
            takeListItem();
            commitEdit();
        } else {
            openList();
        }
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (shown && alt) {
            takeListItem();
            commitEdit();
            return true;
        }
        if (!shown) {
            openList();
            return true;
        }
        return false; // the open list moves its highlight
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return !shown;
    default:
        break;
    }
    const QString text = event->text();
    if (!m_comboBox->isEditable() && !text.isEmpty() && text.front().isPrint()
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        searchList(text);
        return true;
    }
    return false;
}

void GridView::editorFocusLost()
{
    if (!m_editor)
        return;
    if (m_comboBox && m_comboBox->view() && m_comboBox->view()->isVisible())
        return;
    const QWidget *focus = QApplication::focusWidget();
    if (focus && (focus == m_editor || m_editor->isAncestorOf(focus)))
        return;
    commitEdit();
}

bool GridView::editorKey(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    switch (key) {
    case Qt::Key_Escape:
        cancelEdit();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!m_lineEdit)
            return false; // a list moves between its items
        [[fallthrough]];
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        commitEdit();
        bool handled = false;
        emit keyDown(key, modifiers, &handled);
        if (!handled) {
            QKeyEvent move(QEvent::KeyPress, key, modifiers);
            navigate(&move);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace korvesta
