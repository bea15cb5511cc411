#include "grid/gridview.h"

#include "grid/gridmodel.h"
#include "grid/gridpainter.h"
#include "grid/twips.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace korvesta {

namespace {

constexpr int ResizeMargin = 3; // pixels either side of a column edge that grab it

} // namespace

GridView::GridView(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_ownModel(new GridModel(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_model = m_ownModel;
    connectModel();
}

GridView::~GridView()
{
    // Editors must not report to a half-destroyed view.
    if (m_editor)
        m_editor->removeEventFilter(this);
}

void GridView::setModel(GridModel *model)
{
    if (!model)
        model = m_ownModel;
    if (model == m_model)
        return;
    cancelEdit();
    attach(model);
}

void GridView::attach(GridModel *model)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_model = model;
    m_fittedRows.clear();
    connectModel();
    modelChanged();
}

void GridView::connectModel()
{
    m_layoutRevision = ~quint64(0);
    if (m_model != m_ownModel) {
        // A shared model that goes first leaves the view with its own.
        m_connections << connect(m_model, &QObject::destroyed, this, [this] {
            m_model = m_ownModel;
            cancelEdit();
            attach(m_ownModel);
        });
    }
    m_connections << connect(m_model, &GridModel::changed, this, &GridView::modelChanged);
    m_connections << connect(m_model, &GridModel::currentCellChanged, this,
                             [this](int row, int col) {
                                 ensureVisible(row, col);
                                 viewport()->update();
                                 emit currentCellChanged(row, col);
                             });
    m_connections << connect(m_model, &GridModel::selectionChanged, this, [this] {
        viewport()->update();
        const CellRange range = m_model->selection();
        emit selectionChanged(range.top, range.left, range.bottom, range.right);
    });
    m_connections << connect(m_model, &GridModel::mousePointerChanged, this, [this] {
        if (m_model->mousePointer() == MousePointer::Wait)
            viewport()->setCursor(Qt::WaitCursor);
        else
            viewport()->unsetCursor();
    });
}

void GridView::modelChanged()
{
    layout();
    if (isEditing() && !m_model->isValid(m_editRow, m_editCol))
        cancelEdit();
    placeEditor();
    viewport()->update();
}

const GridLayout &GridView::layout() const
{
    if (m_layoutRevision != m_model->revision()) {
        GridLayout::Metrics metrics;
        metrics.dpiX = logicalDpiX();
        metrics.dpiY = logicalDpiY();
        const QFontMetrics fm(m_model->font());
        metrics.defaultRowHeight = std::max(fm.height() + 6, 20);
        metrics.defaultColWidth = std::max(fm.averageCharWidth() * 10, 64);
        m_layout.build(*m_model, metrics);
        m_layoutRevision = m_model->revision();
        updateScrollBars();
    }
    return m_layout;
}

void GridView::updateScrollBars() const
{
    const QSize size = viewport()->size();
    QScrollBar *h = horizontalScrollBar();
    QScrollBar *v = verticalScrollBar();
    h->setRange(0, std::max(0, m_layout.totalWidth() - size.width()));
    h->setPageStep(std::max(1, size.width() - m_layout.fixedWidth()));
    h->setSingleStep(20);
    v->setRange(0, std::max(0, m_layout.totalHeight() - size.height()));
    v->setPageStep(std::max(1, size.height() - m_layout.fixedHeight()));
    v->setSingleStep(20);
}

GridView::Cell GridView::cellAt(const QPoint &pos) const
{
    const GridLayout &l = layout();
    if (pos.x() < 0 || pos.y() < 0 || pos.x() >= viewport()->width()
        || pos.y() >= viewport()->height())
        return {};
    const int x = pos.x() < l.fixedWidth() ? pos.x() : pos.x() + horizontalScrollBar()->value();
    const int y = pos.y() < l.fixedHeight() ? pos.y() : pos.y() + verticalScrollBar()->value();
    const int row = l.rowAt(y);
    const int col = l.colAt(x);
    if (row < 0 || col < 0)
        return {};
    return {row, col};
}

QRect GridView::cellRect(int row, int col) const
{
    const GridLayout &l = layout();
    return l.rect(m_model->mergedRange(row, col), horizontalScrollBar()->value(),
                  verticalScrollBar()->value());
}

void GridView::ensureVisible(int row, int col)
{
    if (!m_model->isValid(row, col))
        return;
    const GridLayout &l = layout();
    const CellRange block = m_model->mergedRange(row, col);
    if (block.top >= l.fixedRows()) {
        const int y1 = l.rowTop(block.top) - l.fixedHeight();
        const int y2 = l.rowBottom(block.bottom) - l.fixedHeight();
        const int room = viewport()->height() - l.fixedHeight();
        QScrollBar *v = verticalScrollBar();
        if (y1 < v->value())
            v->setValue(y1);
        else if (y2 > v->value() + room)
            v->setValue(std::min(y1, y2 - room));
    }
    if (block.left >= l.fixedCols()) {
        const int x1 = l.colLeft(block.left) - l.fixedWidth();
        const int x2 = l.colRight(block.right) - l.fixedWidth();
        const int room = viewport()->width() - l.fixedWidth();
        QScrollBar *h = horizontalScrollBar();
        if (x1 < h->value())
            h->setValue(x1);
        else if (x2 > h->value() + room)
            h->setValue(std::min(x1, x2 - room));
    }
}

void GridView::setToolTipProvider(std::function<QString(int, int)> provider)
{
    m_toolTipProvider = std::move(provider);
}

QString GridView::cellToolTip(int row, int col) const
{
    QString tip = m_toolTipProvider ? m_toolTipProvider(row, col) : QString();
    if (isTextCut(row, col)) {
        const CellRange block = m_model->shownRange(row, col);
        const QString full = m_model->text(block.top, block.left);
        if (!tip.contains(full))
            tip = tip.isEmpty() ? full : full + QLatin1Char('\n') + tip;
    }
    return tip;
}

bool GridView::isTextCut(int row, int col) const
{
    const CellRange block = m_model->shownRange(row, col);
    if (!block.isValid())
        return false;
    QString text = m_model->text(block.top, block.left);
    if (text.isEmpty())
        return false;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QRect cell = layout().rect(block, 0, 0);
    QFont font = m_model->font();
    font.setBold(m_model->cellBold(block.top, block.left));
    const QFontMetrics metrics(font);
    const GridPainter::Placement placed =
        GridPainter::place(cell, !m_model->cellPicture(block.top, block.left).isEmpty(), text,
                           metrics, m_model->wordWrap());
    const bool picture = placed.pictureSize > 0;
    QRect area = placed.text;
    if (area.width() <= 0 || area.height() <= 0)
        return true;
    const TextWidth measure = [&metrics](const QString &line) {
        return metrics.horizontalAdvance(line);
    };
    return GridPainter::fitCellText(text, area, cell, picture, metrics, m_model->wordWrap(),
                                    measure)
        .cut;
}

bool GridView::event(QEvent *event)
{
    // Tab moves between cells, not out of the grid.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool GridView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto *help = static_cast<QHelpEvent *>(event);
        const Cell cell = cellAt(help->pos());
        const QString text = cell.row >= 0 ? cellToolTip(cell.row, cell.col) : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport(),
                               cellRect(cell.row, cell.col));
        return true;
    }
    case QEvent::Leave:
        if (m_mouse.row >= 0) {
            m_mouse = {};
            emit cellHovered(-1, -1);
        }
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void GridView::paintEvent(QPaintEvent *)
{
    const GridLayout &l = layout();
    GridPaintState state;
    state.scrollX = horizontalScrollBar()->value();
    state.scrollY = verticalScrollBar()->value();
    state.viewport = viewport()->size();
    state.focused = hasFocus() || (m_editor && m_editor->hasFocus());
    state.devicePixelRatio = devicePixelRatioF();
    m_textCache.useFont(m_model->font());
    state.textCache = &m_textCache;
    QPainter painter(viewport());
    GridPainter(*m_model, l, state).paint(painter);
}

void GridView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    layout();
    updateScrollBars();
    m_model->setClientWidth(pixelsToTwips(viewport()->width(), logicalDpiX()));
    placeEditor();
}

void GridView::scrollContentsBy(int, int)
{
    viewport()->update();
    placeEditor();
}

void GridView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void GridView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// --- Mouse -------------------------------------------------------------------------------

void GridView::setMouseCell(const QPoint &pos)
{
    const Cell cell = cellAt(pos);
    if (cell.row == m_mouse.row && cell.col == m_mouse.col)
        return;
    m_mouse = cell;
    emit cellHovered(cell.row, cell.col);
}

int GridView::outlineNodeAt(const QPoint &pos) const
{
    const GridLayout &l = layout();
    const int col = m_model->outlineCol();
    if (!m_model->outlineBar() || col >= l.cols())
        return -1;
    const Cell cell = cellAt(pos);
    if (cell.col != col || !m_model->isSubtotal(cell.row))
        return -1;
    for (const GridLayout::OutlineNode &node : l.outlineNodes()) {
        if (node.row != cell.row)
            continue;
        const QRect button = GridPainter::outlineButton(cellRect(cell.row, col), node.depth,
                                                        l.outlineDepths());
        return button.adjusted(-2, -2, 2, 2).contains(pos) ? node.row : -1;
    }
    return -1;
}

int GridView::resizeColumnAt(const QPoint &pos) const
{
    const GridLayout &l = layout();
    if (pos.y() >= l.fixedHeight())
        return -1;
    const int x = pos.x() < l.fixedWidth() ? pos.x() : pos.x() + horizontalScrollBar()->value();
    for (const int probe : {x - ResizeMargin, x + ResizeMargin}) {
        const int col = l.colAt(probe);
        if (col < 0)
            continue;
        const int right = l.colRight(col);
        if (std::abs(right - x) <= ResizeMargin && l.colWidth(col) > 0)
            return col;
    }
    return -1;
}

void GridView::selectFromMouse(const Cell &cell, bool extend)
{
    const int fr = m_model->fixedRows();
    const int fc = m_model->fixedCols();
    const int lastRow = m_model->rows() - 1;
    const int lastCol = m_model->cols() - 1;
    const int row = m_model->currentRow();
    const int col = m_model->currentCol();
    const bool haveCurrent = m_model->isDataCell(row, col);
    if (lastRow < fr || lastCol < fc)
        return;
    if (cell.row >= fr && cell.col >= fc) {
        if (extend && haveCurrent)
            m_model->setSelection(row, col, cell.row, cell.col);
        else
            m_model->setCurrentCell(cell.row, cell.col);
    } else if (cell.row < fr && cell.col >= fc) {
        // A column header selects the column.
        const int from = extend && haveCurrent ? col : cell.col;
        m_model->setSelection(fr, from, lastRow, cell.col);
    } else if (cell.col < fc && cell.row >= fr) {
        const int from = extend && haveCurrent ? row : cell.row;
        m_model->setSelection(from, fc, cell.row, lastCol);
    } else {
        m_model->setSelection(fr, fc, lastRow, lastCol);
    }
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    if (isEditing())
        commitEdit();
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    setMouseCell(pos);
    emit mouseDown(event->button(), event->modifiers(), pos);
    m_pressCell = cellAt(pos);
    if (event->button() == Qt::LeftButton) {
        if (const int node = outlineNodeAt(pos); node >= 0) {
            m_model->setCollapsed(node, !m_model->isCollapsed(node));
            m_pressCell = {};
            return;
        }
        if (const int col = resizeColumnAt(pos); col >= 0) {
            m_drag = Drag::Resize;
            m_resizeCol = col;
            m_resizeStartX = pos.x();
            m_resizeStartWidth = layout().colWidth(col);
            m_pressCell = {};
            return;
        }
        if (m_pressCell.row < 0)
            return;
        selectFromMouse(m_pressCell, event->modifiers() & Qt::ShiftModifier);
        m_drag = Drag::Select;
    } else if (event->button() == Qt::RightButton && m_pressCell.row >= 0) {
        // A context menu acts on the cell clicked unless it lies in the selection.
        if (!m_model->selection().contains(m_pressCell.row, m_pressCell.col))
            selectFromMouse(m_pressCell, false);
    }
}

void GridView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    setMouseCell(pos);
    emit mouseMove(event->buttons(), event->modifiers(), pos);
    switch (m_drag) {
    case Drag::Resize: {
        const int width = std::max(0, m_resizeStartWidth + pos.x() - m_resizeStartX);
        m_model->setColWidth(m_resizeCol, pixelsToTwips(width, logicalDpiX()));
        viewport()->update();
        break;
    }
    case Drag::Select:
        if ((event->buttons() & Qt::LeftButton) && m_model->isDataCell(m_mouse.row, m_mouse.col)
            && m_model->isDataCell(m_model->currentRow(), m_model->currentCol())) {
            m_model->setSelection(m_model->currentRow(), m_model->currentCol(), m_mouse.row,
                                  m_mouse.col);
            ensureVisible(m_mouse.row, m_mouse.col);
        }
        break;
    case Drag::None:
        if (m_model->mousePointer() == MousePointer::Default) {
            if (resizeColumnAt(pos) >= 0)
                viewport()->setCursor(Qt::SplitHCursor);
            else
                viewport()->unsetCursor();
        }
        break;
    }
}

void GridView::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    setMouseCell(pos);
    m_drag = Drag::None;
    emit mouseUp(event->button(), event->modifiers(), pos);
    if (event->button() == Qt::LeftButton && m_pressCell.row >= 0)
        emit clicked(m_mouse.row, m_mouse.col);
    m_pressCell = {};
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    setMouseCell(pos);
    if (event->button() != Qt::LeftButton)
        return;
    if (const int node = outlineNodeAt(pos); node >= 0) {
        // The second click of a double click toggles again, as two clicks would.
        m_model->setCollapsed(node, !m_model->isCollapsed(node));
        return;
    }
    if (resizeColumnAt(pos) >= 0 || m_mouse.row < 0)
        return;
    const Cell cell = m_mouse;
    // The press before a double click made the cell current; a synthetic double click
    // comes without one.
    if (cell.row != m_model->currentRow() || cell.col != m_model->currentCol())
        selectFromMouse(cell, false);
    emit doubleClicked(cell.row, cell.col);
    if (m_model->editMode() == EditMode::KeyboardMouse && m_model->isDataCell(cell.row, cell.col)
        && !isEditing())
        beginEdit(cell.row, cell.col, EditStart::Mouse);
}

} // namespace korvesta
