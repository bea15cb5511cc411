#include "grid/gridmodel.h"

#include "grid/gridcolors.h"

#include <QMetaObject>

#include <algorithm>

namespace korvesta {

namespace {

// Alignment is kept in one byte: horizontal in the low nibble, vertical in the high one;
// 0 in either means "not set".
quint8 packAlignment(Qt::Alignment a)
{
    quint8 h = 0;
    if (a & Qt::AlignLeft)
        h = 1;
    else if (a & Qt::AlignRight)
        h = 2;
    else if (a & Qt::AlignHCenter)
        h = 3;
    else if (a & Qt::AlignJustify)
        h = 4;
    quint8 v = 0;
    if (a & Qt::AlignTop)
        v = 1;
    else if (a & Qt::AlignBottom)
        v = 2;
    else if (a & Qt::AlignVCenter)
        v = 3;
    return static_cast<quint8>(h | (v << 4));
}

Qt::Alignment unpackAlignment(quint8 packed)
{
    static const Qt::Alignment horizontal[] = {Qt::Alignment(), Qt::AlignLeft, Qt::AlignRight,
                                               Qt::AlignHCenter, Qt::AlignJustify};
    static const Qt::Alignment vertical[] = {Qt::Alignment(), Qt::AlignTop, Qt::AlignBottom,
                                             Qt::AlignVCenter};
    const int h = packed & 0x0F;
    const int v = packed >> 4;
    return (h < 5 ? horizontal[h] : Qt::Alignment()) | (v < 4 ? vertical[v] : Qt::Alignment());
}

QRgb storedColor(const QColor &color)
{
    return color.isValid() ? (color.rgb() | 0xFF000000u) : 0;
}

// Far beyond any view (the largest hold a few hundred thousand cells), and small enough to
// keep a mistaken shape from taking all the memory there is.
constexpr qint64 MaxCells = 10'000'000;
// A hundred inches.
constexpr int MaxTwips = 144'000;

} // namespace

GridModel::GridModel(QObject *parent)
    : QObject(parent)
    , m_pictures(1)
    , m_borderStyles(1, BorderStyle{0, 0})
    , m_colors(1, 0)
    , m_backColor(colorFromBgr(0x80000005))
    , m_foreColor(colorFromBgr(0x80000008))
    , m_backColorFixed(colorFromBgr(0x8000000F))
    , m_foreColorFixed(colorFromBgr(0x80000012))
    , m_backColorBkg(colorFromBgr(0x8000000C))
    , m_backColorSel(colorFromBgr(0x8000000D))
    , m_gridColor(QColor(0xD4, 0xD4, 0xD4))
    , m_gridColorFixed(QColor(0xA0, 0xA0, 0xA0))
{
}

GridModel::~GridModel() = default;

void GridModel::assign(const GridModel &other)
{
    if (&other == this)
        return;
    m_rows = other.m_rows;
    m_cells = other.m_cells;
    m_colProps = other.m_colProps;
    m_cols = other.m_cols;
    m_fixedRows = other.m_fixedRows;
    m_fixedCols = other.m_fixedCols;
    m_clientWidth = other.m_clientWidth;
    m_pictures = other.m_pictures;
    m_borderStyles = other.m_borderStyles;
    m_colors = other.m_colors;
    m_colorIndex = other.m_colorIndex;
    m_mergeMode = other.m_mergeMode;
    m_outlineBar = other.m_outlineBar;
    m_outlineCol = other.m_outlineCol;
    m_font = other.m_font;
    m_wordWrap = other.m_wordWrap;
    m_backColor = other.m_backColor;
    m_foreColor = other.m_foreColor;
    m_backColorFixed = other.m_backColorFixed;
    m_foreColorFixed = other.m_foreColorFixed;
    m_backColorBkg = other.m_backColorBkg;
    m_backColorSel = other.m_backColorSel;
    m_gridColor = other.m_gridColor;
    m_gridColorFixed = other.m_gridColorFixed;
    outlineChanged();
    setCurrentInternal(other.m_row, other.m_col, other.m_rowSel, other.m_colSel);
}

void GridModel::clear()
{
    m_rows.clear();
    m_cells.clear();
    m_colProps.clear();
    m_cols = 0;
    m_fixedRows = 0;
    m_fixedCols = 0;
    m_pictures.resize(1);
    m_borderStyles.resize(1);
    m_colors.resize(1);
    m_colorIndex.clear();
    m_mergeMode = MergeMode::Never;
    m_outlineBar = false;
    m_outlineCol = 0;
    m_wordWrap = false; // each view wraps only when it asks to
    m_comboList.clear();
    m_comboData.clear();
    outlineChanged();
    clampCurrent();
}

// --- Shape -------------------------------------------------------------------------------

void GridModel::setRows(int count)
{
    if (count < 0 || count == rows() || count > MaxCells || qint64(count) * m_cols > MaxCells)
        return;
    m_rows.resize(static_cast<size_t>(count));
    m_cells.resize(index(count, 0));
    outlineChanged();
    clampCurrent();
}

void GridModel::setCols(int count)
{
    if (count < 0 || count == m_cols || count > MaxCells || qint64(count) * rows() > MaxCells)
        return;
    if (!m_rows.empty()) {
        std::vector<Cell> cells(static_cast<size_t>(count) * m_rows.size());
        const auto keep = static_cast<std::ptrdiff_t>(std::min(count, m_cols));
        for (int r = 0; r < rows(); ++r) {
            const auto from = m_cells.begin() + static_cast<std::ptrdiff_t>(index(r, 0));
            std::move(from, from + keep,
                      cells.begin() + static_cast<std::ptrdiff_t>(r) * count);
        }
        m_cells.swap(cells);
    }
    m_cols = count;
    m_colProps.resize(static_cast<size_t>(count));
    touch();
    clampCurrent();
}

void GridModel::setFixedRows(int count)
{
    if (count < 0 || count == m_fixedRows)
        return;
    m_fixedRows = count;
    outlineChanged();
}

void GridModel::setFixedCols(int count)
{
    if (count < 0 || count == m_fixedCols)
        return;
    m_fixedCols = count;
    touch();
}

int GridModel::addRow(const QString &text, int at)
{
    return addRow(text.isEmpty() ? QStringList() : text.split(QLatin1Char('\t')), at);
}

int GridModel::addRow(const QStringList &cells, int at)
{
    if (at < 0 || at > rows())
        at = rows();
    if (qint64(rows() + 1) * m_cols > MaxCells)
        return -1;
    m_rows.insert(m_rows.begin() + at, Row());
    m_cells.insert(m_cells.begin() + static_cast<std::ptrdiff_t>(index(at, 0)),
                   static_cast<size_t>(m_cols), Cell());
    Cell *row = m_cols > 0 ? rowCells(at) : nullptr;
    const int count = std::min(int(cells.size()), m_cols);
    for (int col = 0; col < count; ++col)
        row[col].text = cells[col];
    outlineChanged();
    clampCurrent();
    return at;
}

void GridModel::removeRow(int row)
{
    removeRows(row, 1);
}

void GridModel::removeRows(int row, int count)
{
    if (row < 0 || row >= rows() || count <= 0)
        return;
    count = std::min(count, rows() - row);
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    m_cells.erase(m_cells.begin() + static_cast<std::ptrdiff_t>(index(row, 0)),
                  m_cells.begin() + static_cast<std::ptrdiff_t>(index(row + count, 0)));
    outlineChanged();
    clampCurrent();
}

int GridModel::colWidth(int col) const
{
    return col >= 0 && col < m_cols ? m_colProps[static_cast<size_t>(col)].width : -1;
}

void GridModel::setColWidth(int col, int twips)
{
    if (col < 0 || col >= m_cols)
        return;
    m_colProps[static_cast<size_t>(col)].width = std::clamp(twips, -1, MaxTwips);
    touch();
}

int GridModel::rowHeight(int row) const
{
    return row >= 0 && row < rows() ? m_rows[static_cast<size_t>(row)].height : -1;
}

void GridModel::setRowHeight(int row, int twips)
{
    if (row < 0 || row >= rows())
        return;
    m_rows[static_cast<size_t>(row)].height = std::clamp(twips, -1, MaxTwips);
    touch();
}

bool GridModel::isColHidden(int col) const
{
    if (col < 0 || col >= m_cols)
        return false;
    const Col &c = m_colProps[static_cast<size_t>(col)];
    return c.hidden || c.width == 0;
}

void GridModel::setColHidden(int col, bool hidden)
{
    if (col < 0 || col >= m_cols)
        return;
    m_colProps[static_cast<size_t>(col)].hidden = hidden;
    touch();
}

bool GridModel::isRowHidden(int row) const
{
    if (row < 0 || row >= rows())
        return false;
    const Row &r = m_rows[static_cast<size_t>(row)];
    if ((r.flags & Hidden) || r.height == 0)
        return true;
    updateOutlineCache();
    return m_outlineHidden[static_cast<size_t>(row)] != 0;
}

void GridModel::setRowHidden(int row, bool hidden)
{
    if (row < 0 || row >= rows())
        return;
    quint8 &flags = m_rows[static_cast<size_t>(row)].flags;
    flags = hidden ? (flags | Hidden) : (flags & ~Hidden);
    touch();
}

Qt::Alignment GridModel::colAlignment(int col) const
{
    if (col < 0 || col >= m_cols)
        return {};
    return unpackAlignment(m_colProps[static_cast<size_t>(col)].align);
}

void GridModel::setColAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= m_cols)
        return;
    m_colProps[static_cast<size_t>(col)].align = packAlignment(alignment);
    touch();
}

void GridModel::setClientWidth(int twips)
{
    if (twips > 0)
        m_clientWidth = twips;
}

// --- Cells -------------------------------------------------------------------------------

const GridModel::Cell *GridModel::cell(int row, int col) const
{
    if (!isValid(row, col))
        return nullptr;
    return &m_cells[index(row, col)];
}

bool GridModel::clip(int &top, int &left, int &bottom, int &right) const
{
    if (top > bottom)
        std::swap(top, bottom);
    if (left > right)
        std::swap(left, right);
    top = std::max(top, 0);
    left = std::max(left, 0);
    bottom = std::min(bottom, rows() - 1);
    right = std::min(right, m_cols - 1);
    return top <= bottom && left <= right;
}

template<typename F>
void GridModel::forBlock(int top, int left, int bottom, int right, F &&f)
{
    if (!clip(top, left, bottom, right))
        return;
    for (int r = top; r <= bottom; ++r) {
        Cell *cells = rowCells(r);
        for (int c = left; c <= right; ++c)
            f(cells[c], r, c);
    }
    touch();
}

QString GridModel::text(int row, int col) const
{
    const Cell *c = cell(row, col);
    return c ? c->text : QString();
}

void GridModel::setText(int row, int col, const QString &text)
{
    if (!isValid(row, col))
        return;
    m_cells[index(row, col)].text = text;
    touch();
}

void GridModel::setText(int top, int left, int bottom, int right, const QString &text)
{
    forBlock(top, left, bottom, right, [&](Cell &c, int, int) { c.text = text; });
}

QString GridModel::blockText(const CellRange &block) const
{
    int top = block.top;
    int left = block.left;
    int bottom = block.bottom;
    int right = block.right;
    if (!block.isValid() || !clip(top, left, bottom, right))
        return {};
    QStringList lines;
    for (int r = top; r <= bottom; ++r) {
        if (isRowHidden(r))
            continue;
        QStringList cells;
        for (int c = left; c <= right; ++c) {
            if (!isColHidden(c))
                cells << m_cells[index(r, c)].text;
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

int GridModel::findRow(const QString &text, int col, int fromRow) const
{
    if (col < 0 || col >= m_cols)
        return -1;
    for (int r = std::max(fromRow, 0); r < rows(); ++r) {
        if (m_cells[index(r, col)].text == text)
            return r;
    }
    return -1;
}

void GridModel::copyRow(const GridModel &from, int fromRow, int toRow)
{
    if (from.m_cols != m_cols || fromRow < 0 || fromRow >= from.rows() || toRow < 0
        || toRow >= rows())
        return;
    const auto color = [&](quint16 slot) {
        return slot == 0 ? quint16(0) : colorIndex(QColor::fromRgba(from.m_colors[slot]));
    };
    const Cell *source = from.m_cells.data() + from.index(fromRow, 0);
    for (int c = 0; c < m_cols; ++c) {
        const Cell &s = source[c];
        Cell &t = m_cells[index(toRow, c)];
        t.text = s.text;
        t.back = color(s.back);
        t.fore = color(s.fore);
        t.picture = s.picture == 0 ? quint8(0) : pictureIndex(from.m_pictures[s.picture]);
        t.border = s.border == 0 ? quint8(0) : borderIndex(from.m_borderStyles[s.border]);
        t.align = s.align;
        t.flags = s.flags;
    }
    m_rows[size_t(toRow)] = from.m_rows[size_t(fromRow)];
    touch();
}

quint16 GridModel::colorIndex(const QColor &color)
{
    if (!color.isValid())
        return 0;
    const QRgb rgb = storedColor(color);
    const auto found = m_colorIndex.constFind(rgb);
    if (found != m_colorIndex.constEnd())
        return *found;
    if (m_colors.size() > 0xFFFF)
        return 0; // no room for another colour: the cell keeps the grid's
    m_colors.push_back(rgb);
    const auto slot = static_cast<quint16>(m_colors.size() - 1);
    m_colorIndex.insert(rgb, slot);
    return slot;
}

template<typename Member>
void GridModel::setCellColor(int top, int left, int bottom, int right, const QColor &color,
                             Member member)
{
    const quint16 slot = colorIndex(color);
    if (top == bottom && left == right) {
        // The common case, without the block's clipping and loops.
        if (!isValid(top, left))
            return;
        m_cells[index(top, left)].*member = slot;
        touch();
        return;
    }
    forBlock(top, left, bottom, right, [&](Cell &c, int, int) { c.*member = slot; });
}

QColor GridModel::cellColor(int row, int col, quint16 Cell::*member, QRgb Row::*rowMember,
                            const QColor &fixedColor, const QColor &bodyColor) const
{
    const Cell *c = cell(row, col);
    if (!c)
        return {};
    if (c->*member)
        return QColor::fromRgb(m_colors[c->*member]);
    const bool fixed = row < fixedRows() || col < fixedCols();
    const QRgb rowColor = m_rows[static_cast<size_t>(row)].*rowMember;
    if (!fixed && rowColor)
        return QColor::fromRgb(rowColor);
    return fixed ? fixedColor : bodyColor;
}

QColor GridModel::cellBackColor(int row, int col) const
{
    return cellColor(row, col, &Cell::back, &Row::back, m_backColorFixed, m_backColor);
}

bool GridModel::hasOwnBackColor(int row, int col) const
{
    const Cell *c = cell(row, col);
    return c && c->back;
}

void GridModel::setCellBackColor(int row, int col, const QColor &color)
{
    setCellColor(row, col, row, col, color, &Cell::back);
}

void GridModel::setCellBackColor(int top, int left, int bottom, int right, const QColor &color)
{
    setCellColor(top, left, bottom, right, color, &Cell::back);
}

QColor GridModel::cellForeColor(int row, int col) const
{
    return cellColor(row, col, &Cell::fore, &Row::fore, m_foreColorFixed, m_foreColor);
}

void GridModel::setCellForeColor(int row, int col, const QColor &color)
{
    setCellColor(row, col, row, col, color, &Cell::fore);
}

void GridModel::setCellForeColor(int top, int left, int bottom, int right, const QColor &color)
{
    setCellColor(top, left, bottom, right, color, &Cell::fore);
}

bool GridModel::cellBold(int row, int col) const
{
    const Cell *c = cell(row, col);
    return c && (c->flags & Bold);
}

void GridModel::setCellBold(int row, int col, bool bold)
{
    setCellBold(row, col, row, col, bold);
}

void GridModel::setCellBold(int top, int left, int bottom, int right, bool bold)
{
    forBlock(top, left, bottom, right, [bold](Cell &c, int, int) {
        c.flags = bold ? (c.flags | Bold) : (c.flags & ~Bold);
    });
}

Qt::Alignment GridModel::cellAlignment(int row, int col) const
{
    const Cell *c = cell(row, col);
    if (!c)
        return {};
    return c->align ? unpackAlignment(c->align) : colAlignment(col);
}

void GridModel::setCellAlignment(int row, int col, Qt::Alignment alignment)
{
    setCellAlignment(row, col, row, col, alignment);
}

void GridModel::setCellAlignment(int top, int left, int bottom, int right,
                                 Qt::Alignment alignment)
{
    const quint8 packed = packAlignment(alignment);
    forBlock(top, left, bottom, right, [packed](Cell &c, int, int) { c.align = packed; });
}

quint8 GridModel::pictureIndex(const QString &key)
{
    if (key.isEmpty())
        return 0;
    for (size_t i = 1; i < m_pictures.size(); ++i) {
        if (m_pictures[i] == key)
            return static_cast<quint8>(i);
    }
    if (m_pictures.size() > 0xFF)
        return 0; // an icon set is a few dozen pictures
    m_pictures.push_back(key);
    return static_cast<quint8>(m_pictures.size() - 1);
}

QString GridModel::cellPicture(int row, int col) const
{
    const Cell *c = cell(row, col);
    return c ? m_pictures[c->picture] : QString();
}

void GridModel::setCellPicture(int row, int col, const QString &key)
{
    setCellPicture(row, col, row, col, key);
}

void GridModel::setCellPicture(int top, int left, int bottom, int right, const QString &key)
{
    const quint8 picture = pictureIndex(key);
    forBlock(top, left, bottom, right, [picture](Cell &c, int, int) { c.picture = picture; });
}

quint8 GridModel::borderIndex(const BorderStyle &style)
{
    const auto found = std::find(m_borderStyles.begin() + 1, m_borderStyles.end(), style);
    if (found != m_borderStyles.end())
        return static_cast<quint8>(found - m_borderStyles.begin());
    if (m_borderStyles.size() > 0xFF)
        return 0; // more line styles than anyone draws: no line
    m_borderStyles.push_back(style);
    return static_cast<quint8>(m_borderStyles.size() - 1);
}

CellBorder GridModel::cellBorder(int row, int col) const
{
    const Cell *c = cell(row, col);
    if (!c || !c->border || !(c->flags & Edges))
        return {};
    const BorderStyle &style = m_borderStyles[c->border];
    CellBorder border{QColor::fromRgb(style.color), style.width, {}};
    if (c->flags & EdgeLeft)
        border.edges |= Qt::LeftEdge;
    if (c->flags & EdgeTop)
        border.edges |= Qt::TopEdge;
    if (c->flags & EdgeRight)
        border.edges |= Qt::RightEdge;
    if (c->flags & EdgeBottom)
        border.edges |= Qt::BottomEdge;
    return border;
}

void GridModel::setCellBorders(int top, int left, int bottom, int right,
                               const CellBorders &borders)
{
    if (!clip(top, left, bottom, right))
        return;
    const QColor color = borders.color.isValid() ? borders.color : QColor(Qt::black);
    const quint8 style = borderIndex({storedColor(color), std::clamp(borders.width, 1, 8)});
    forBlock(top, left, bottom, right, [&](Cell &c, int r, int col) {
        quint8 edges = 0;
        if (col == left ? borders.left : borders.innerVertical)
            edges |= EdgeLeft;
        if (col == right ? borders.right : borders.innerVertical)
            edges |= EdgeRight;
        if (r == top ? borders.top : borders.innerHorizontal)
            edges |= EdgeTop;
        if (r == bottom ? borders.bottom : borders.innerHorizontal)
            edges |= EdgeBottom;
        c.flags = static_cast<quint8>((c.flags & ~Edges) | edges);
        c.border = edges ? style : 0;
    });
}

// --- Merging switches (the spans are worked out in gridmodel_merge.cpp) ---------------------

void GridModel::setMergeCells(MergeMode mode)
{
    if (mode == m_mergeMode)
        return;
    m_mergeMode = mode;
    touch();
}

bool GridModel::mergeRow(int row) const
{
    return row >= 0 && row < rows() && (m_rows[static_cast<size_t>(row)].flags & MergeRowFlag);
}

void GridModel::setMergeRow(int row, bool merge)
{
    if (row < 0 || row >= rows())
        return;
    quint8 &flags = m_rows[static_cast<size_t>(row)].flags;
    flags = merge ? (flags | MergeRowFlag) : (flags & ~MergeRowFlag);
    touch();
}

bool GridModel::mergeCol(int col) const
{
    return col >= 0 && col < m_cols && m_colProps[static_cast<size_t>(col)].merge;
}

void GridModel::setMergeCol(int col, bool merge)
{
    if (col < 0 || col >= m_cols)
        return;
    m_colProps[static_cast<size_t>(col)].merge = merge;
    touch();
}

// --- Current cell and selection ----------------------------------------------------------

void GridModel::setCurrentCell(int row, int col)
{
    if (isValid(row, col))
        setCurrentInternal(row, col, row, col);
}

void GridModel::setSelection(int row, int col, int rowSel, int colSel)
{
    if (isValid(row, col) && isValid(rowSel, colSel))
        setCurrentInternal(row, col, rowSel, colSel);
}

CellRange GridModel::selection() const
{
    if (m_row < 0 || m_col < 0)
        return {};
    return {std::min(m_row, m_rowSel), std::min(m_col, m_colSel), std::max(m_row, m_rowSel),
            std::max(m_col, m_colSel)};
}

void GridModel::setCurrentInternal(int row, int col, int rowSel, int colSel)
{
    const bool currentMoved = row != m_row || col != m_col;
    const CellRange before = selection();
    m_row = row;
    m_col = col;
    m_rowSel = rowSel;
    m_colSel = colSel;
    if (currentMoved)
        emit currentCellChanged(m_row, m_col);
    if (selection() != before)
        emit selectionChanged();
}

void GridModel::clampCurrent()
{
    if (rows() == 0 || m_cols == 0) {
        setCurrentInternal(-1, -1, -1, -1);
        return;
    }
    const auto fit = [](int value, int count) { return std::clamp(value, 0, count - 1); };
    setCurrentInternal(fit(m_row, rows()), fit(m_col, m_cols), fit(m_rowSel, rows()),
                       fit(m_colSel, m_cols));
}

// --- Editing -----------------------------------------------------------------------------

void GridModel::setEditMode(EditMode mode)
{
    m_editMode = mode;
}

void GridModel::setComboList(const QString &list)
{
    m_comboList = list;
}

std::vector<GridModel::ComboItem> GridModel::comboItems() const
{
    std::vector<ComboItem> items;
    const QStringList parts = m_comboList.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    items.reserve(static_cast<size_t>(parts.size()));
    for (const QString &part : parts) {
        const qsizetype tab = part.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            items.push_back({QString(), part});
        else
            items.push_back({part.left(tab), part.mid(tab + 1)});
    }
    return items;
}

// --- Grid-wide look ----------------------------------------------------------------------

void GridModel::setFont(const QFont &font)
{
    m_font = font;
    touch();
}

void GridModel::setWordWrap(bool wrap)
{
    m_wordWrap = wrap;
    touch();
}

void GridModel::setGridColor(QColor &member, const QColor &color)
{
    if (!color.isValid() || color == member)
        return;
    member = color;
    touch();
}

void GridModel::setBackColor(const QColor &color) { setGridColor(m_backColor, color); }
void GridModel::setForeColor(const QColor &color) { setGridColor(m_foreColor, color); }
void GridModel::setBackColorFixed(const QColor &color) { setGridColor(m_backColorFixed, color); }
void GridModel::setForeColorFixed(const QColor &color) { setGridColor(m_foreColorFixed, color); }
void GridModel::setBackColorBkg(const QColor &color) { setGridColor(m_backColorBkg, color); }
void GridModel::setBackColorSel(const QColor &color) { setGridColor(m_backColorSel, color); }
void GridModel::setGridColor(const QColor &color) { setGridColor(m_gridColor, color); }
void GridModel::setGridColorFixed(const QColor &color) { setGridColor(m_gridColorFixed, color); }

void GridModel::setMousePointer(MousePointer pointer)
{
    if (pointer == m_pointer)
        return;
    m_pointer = pointer;
    emit mousePointerChanged();
}

// --- Change notification -----------------------------------------------------------------

void GridModel::touch()
{
    ++m_revision;
    if (m_changePosted)
        return;
    // One notification per turn of the event loop: a fill makes hundreds of thousands of
    // changes and the view needs to hear of them once.
    m_changePosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_changePosted = false;
            emit changed();
        },
        Qt::QueuedConnection);
}

void GridModel::outlineChanged()
{
    m_outlineDirty = true;
    touch();
}

} // namespace korvesta
