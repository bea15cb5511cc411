// The outline: subtotal rows, their groups, collapsing, and aggregates over cells.

#include "grid/gridmodel.h"

#include "text/numberformat.h"

#include <cmath>
#include <limits>

namespace korvesta {

namespace {

// Numbers as the grid shows them: "1 234", "1234,5", "-3.25". Thousands may be separated by
// blanks; the decimal point may be a comma.
bool parseNumber(const QString &text, double &value)
{
    // Most cells of a total hold a plain whole number ("126"): read without copying.
    if (!text.isEmpty() && text.size() <= 15) {
        qint64 whole = 0;
        bool digits = true;
        for (const QChar c : text) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            whole = whole * 10 + (c.unicode() - u'0');
        }
        if (digits) {
            value = double(whole);
            return true;
        }
    }
    QString s = text.trimmed();
    if (s.isEmpty())
        return false;
    s.remove(QLatin1Char(' '));
    s.remove(QChar(0x00A0));
    s.remove(QChar(0x202F));
    if (s.contains(QLatin1Char('.')))
        s.remove(QLatin1Char(','));
    else
        s.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    value = s.toDouble(&ok);
    return ok && std::isfinite(value);
}

QString functionName(Aggregate function)
{
    switch (function) {
    case Aggregate::Count:
        return QStringLiteral("Count");
    case Aggregate::Sum:
        return QStringLiteral("Sum");
    case Aggregate::Average:
        return QStringLiteral("Average");
    case Aggregate::Max:
        return QStringLiteral("Max");
    case Aggregate::Min:
        return QStringLiteral("Min");
    case Aggregate::Clear:
        break;
    }
    return {};
}

// Accumulates one aggregate over cell texts.
class Accumulator
{
public:
    explicit Accumulator(Aggregate function)
        : m_function(function)
    {
    }

    void add(const QString &text)
    {
        if (m_function == Aggregate::Count) {
            if (!text.isEmpty())
                ++m_count;
            return;
        }
        double value = 0;
        if (!parseNumber(text, value))
            return;
        ++m_count;
        m_sum += value;
        m_min = std::min(m_min, value);
        m_max = std::max(m_max, value);
    }

    double result() const
    {
        switch (m_function) {
        case Aggregate::Count:
            return m_count;
        case Aggregate::Sum:
            return m_sum;
        case Aggregate::Average:
            return m_count ? m_sum / m_count : 0;
        case Aggregate::Max:
            return m_count ? m_max : 0;
        case Aggregate::Min:
            return m_count ? m_min : 0;
        case Aggregate::Clear:
            break;
        }
        return 0;
    }

private:
    Aggregate m_function;
    qint64 m_count = 0;
    double m_sum = 0;
    double m_min = std::numeric_limits<double>::infinity();
    double m_max = -std::numeric_limits<double>::infinity();
};

QString totalText(double value, const QString &format)
{
    if (!format.isEmpty())
        return formatNumber(value, format);
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 12).replace(QLatin1Char('.'), QLatin1Char(','));
}

QRgb storedColor(const QColor &color)
{
    return color.isValid() ? (color.rgb() | 0xFF000000u) : 0;
}

} // namespace

int GridModel::rowOutlineLevel(int row) const
{
    return row >= 0 && row < rows() ? m_rows[static_cast<size_t>(row)].level : 0;
}

void GridModel::setRowOutlineLevel(int row, int level)
{
    if (row < 0 || row >= rows())
        return;
    m_rows[static_cast<size_t>(row)].level = level;
    outlineChanged();
}

bool GridModel::isSubtotal(int row) const
{
    return row >= 0 && row < rows() && (m_rows[static_cast<size_t>(row)].flags & Subtotal);
}

void GridModel::setIsSubtotal(int row, bool subtotal)
{
    if (row < 0 || row >= rows())
        return;
    quint8 &flags = m_rows[static_cast<size_t>(row)].flags;
    flags = subtotal ? (flags | Subtotal) : (flags & ~(Subtotal | Collapsed));
    outlineChanged();
}

QString GridModel::subtotalKey(int row) const
{
    return isSubtotal(row) ? m_rows[static_cast<size_t>(row)].subtotalKey : QString();
}

void GridModel::setOutlineBar(bool shown)
{
    m_outlineBar = shown;
    touch();
}

void GridModel::setOutlineCol(int col)
{
    if (col < 0)
        return;
    m_outlineCol = col;
    touch();
}

void GridModel::appendSubtotalRow(std::vector<Row> &rows, std::vector<Cell> &cells,
                                  const SubtotalSpec &spec, int level, const QString &key) const
{
    Row row;
    row.flags = Subtotal;
    row.level = level;
    row.subtotalKey = key;
    row.back = storedColor(spec.backColor);
    row.fore = storedColor(spec.foreColor);
    rows.push_back(std::move(row));
    const size_t first = cells.size();
    cells.resize(first + static_cast<size_t>(m_cols));
    int captionCol = spec.captionCol;
    if (captionCol < 0)
        captionCol = spec.groupOn >= 0 ? spec.groupOn : fixedCols();
    if (captionCol < m_cols) {
        QString caption = spec.caption;
        if (caption.isEmpty()) {
            caption = spec.groupOn >= 0 ? functionName(spec.function) + QLatin1Char(' ') + key
                                        : QStringLiteral("Grand Total");
        } else {
            caption.replace(QLatin1String("%s"), key);
        }
        cells[first + static_cast<size_t>(captionCol)].text = caption;
    }
}

void GridModel::writeTotal(Row &row, Cell *cells, const SubtotalSpec &spec, int col,
                           double value) const
{
    Cell &cell = cells[col];
    cell.text = totalText(value, spec.format);
    if (spec.bold)
        cell.flags |= Bold;
    if (spec.backColor.isValid())
        row.back = storedColor(spec.backColor);
    if (spec.foreColor.isValid())
        row.fore = storedColor(spec.foreColor);
}

void GridModel::subtotal(const SubtotalSpec &spec)
{
    if (spec.function == Aggregate::Clear) {
        clearSubtotals();
        return;
    }
    if (spec.totalOn < 0 || spec.totalOn >= m_cols || spec.groupOn >= m_cols)
        return;
    if (spec.groupOn < 0)
        subtotalGrand(spec);
    else
        subtotalGroups(spec, {spec.totalOn});
    outlineChanged();
    clampCurrent();
}

void GridModel::subtotal(const SubtotalSpec &spec, const std::vector<int> &totalCols)
{
    if (spec.function == Aggregate::Clear || spec.groupOn < 0 || spec.groupOn >= m_cols) {
        for (const int col : totalCols) {
            SubtotalSpec one = spec;
            one.totalOn = col;
            subtotal(one);
        }
        return;
    }
    std::vector<int> cols;
    for (const int col : totalCols) {
        if (col >= 0 && col < m_cols)
            cols.push_back(col);
    }
    if (cols.empty())
        return;
    subtotalGroups(spec, cols);
    outlineChanged();
    clampCurrent();
}

// One pass over the rows, moving them into new lists with the subtotal rows in place.
// A group is a run of data rows with equal text in the group column; deeper subtotal rows
// inside it belong to it, and a subtotal row of the same or a higher level ends it. An
// existing subtotal row of this level right after the run (an earlier pass) is reused.
void GridModel::subtotalGroups(const SubtotalSpec &spec, const std::vector<int> &totalCols)
{
    const int level = spec.groupOn;
    const int count = rows();
    std::vector<Row> rowsOut;
    std::vector<Cell> cellsOut;
    rowsOut.reserve(m_rows.size() + m_rows.size() / 4 + 1);
    cellsOut.reserve(rowsOut.capacity() * static_cast<size_t>(m_cols));
    const auto take = [&](int r) {
        rowsOut.push_back(std::move(m_rows[static_cast<size_t>(r)]));
        Cell *cells = rowCells(r);
        cellsOut.insert(cellsOut.end(), std::make_move_iterator(cells),
                        std::make_move_iterator(cells + m_cols));
    };

    int i = 0;
    for (; i < fixedRows(); ++i)
        take(i);
    while (i < count) {
        if (m_rows[static_cast<size_t>(i)].flags & Subtotal) {
            take(i++);
            continue;
        }
        const QString key = rowCells(i)[spec.groupOn].text;
        std::vector<Accumulator> acc(totalCols.size(), Accumulator(spec.function));
        int j = i;
        for (; j < count; ++j) {
            const Row &row = m_rows[static_cast<size_t>(j)];
            if (row.flags & Subtotal) {
                if (row.level > level)
                    continue;
                break;
            }
            const Cell *cells = rowCells(j);
            if (cells[spec.groupOn].text != key)
                break;
            for (size_t c = 0; c < totalCols.size(); ++c)
                acc[c].add(cells[totalCols[c]].text);
        }
        for (; i < j; ++i)
            take(i);
        const Row *next = j < count ? &m_rows[static_cast<size_t>(j)] : nullptr;
        if (next && (next->flags & Subtotal) && next->level == level && next->subtotalKey == key) {
            take(j);
            i = j + 1;
        } else {
            appendSubtotalRow(rowsOut, cellsOut, spec, level, key);
        }
        for (size_t c = 0; c < totalCols.size(); ++c)
            writeTotal(rowsOut.back(), cellsOut.data() + cellsOut.size() - m_cols, spec,
                       totalCols[c], acc[c].result());
    }
    m_rows.swap(rowsOut);
    m_cells.swap(cellsOut);
}

void GridModel::subtotalGrand(const SubtotalSpec &spec)
{
    Accumulator acc(spec.function);
    bool anyData = false;
    for (int r = fixedRows(); r < rows(); ++r) {
        if (m_rows[static_cast<size_t>(r)].flags & Subtotal)
            continue;
        anyData = true;
        acc.add(rowCells(r)[spec.totalOn].text);
    }
    if (!anyData)
        return;
    if (m_rows.back().flags & Subtotal && m_rows.back().level < 0) {
        writeTotal(m_rows.back(), rowCells(rows() - 1), spec, spec.totalOn, acc.result());
        return;
    }
    appendSubtotalRow(m_rows, m_cells, spec, -1, QString());
    writeTotal(m_rows.back(), rowCells(rows() - 1), spec, spec.totalOn, acc.result());
}

void GridModel::clearSubtotals()
{
    int kept = fixedRows();
    for (int r = fixedRows(); r < rows(); ++r) {
        if (m_rows[static_cast<size_t>(r)].flags & Subtotal)
            continue;
        if (r != kept) {
            m_rows[static_cast<size_t>(kept)] = std::move(m_rows[static_cast<size_t>(r)]);
            std::move(rowCells(r), rowCells(r) + m_cols, rowCells(kept));
        }
        ++kept;
    }
    if (kept == rows())
        return;
    setRows(kept);
}

CellRange GridModel::outlineGroup(int row) const
{
    if (!isSubtotal(row))
        return {};
    const int level = m_rows[static_cast<size_t>(row)].level;
    int first = fixedRows();
    for (int r = row - 1; r >= fixedRows(); --r) {
        const Row &above = m_rows[static_cast<size_t>(r)];
        if ((above.flags & Subtotal) && above.level <= level) {
            first = r + 1;
            break;
        }
    }
    if (first > row - 1)
        return {};
    return {first, 0, row - 1, std::max(m_cols - 1, 0)};
}

bool GridModel::isCollapsed(int row) const
{
    return isSubtotal(row) && (m_rows[static_cast<size_t>(row)].flags & Collapsed);
}

void GridModel::setCollapsed(int row, bool collapsed)
{
    if (!isSubtotal(row) || isCollapsed(row) == collapsed)
        return;
    quint8 &flags = m_rows[static_cast<size_t>(row)].flags;
    flags = collapsed ? (flags | Collapsed) : (flags & ~Collapsed);
    outlineChanged();
}

void GridModel::outline(int level)
{
    for (Row &row : m_rows) {
        if (!(row.flags & Subtotal))
            continue;
        const bool collapse = level >= 0 && row.level >= level;
        row.flags = collapse ? (row.flags | Collapsed) : (row.flags & ~Collapsed);
    }
    outlineChanged();
}

void GridModel::expandAll()
{
    outline(-1);
}

void GridModel::updateOutlineCache() const
{
    if (!m_outlineDirty && m_outlineHidden.size() == m_rows.size())
        return;
    m_outlineHidden.assign(m_rows.size(), 0);
    for (int r = 0; r < rows(); ++r) {
        if (!isCollapsed(r))
            continue;
        const CellRange group = outlineGroup(r);
        if (!group.isValid())
            continue;
        std::fill(m_outlineHidden.begin() + group.top, m_outlineHidden.begin() + group.bottom + 1,
                  char(1));
    }
    m_outlineDirty = false;
}

double GridModel::aggregate(Aggregate function, int top, int left, int bottom, int right) const
{
    if (function == Aggregate::Clear || !clip(top, left, bottom, right))
        return 0;
    Accumulator acc(function);
    for (int r = top; r <= bottom; ++r) {
        const Cell *cells = rowCells(r);
        for (int c = left; c <= right; ++c)
            acc.add(cells[c].text);
    }
    return acc.result();
}

} // namespace korvesta
