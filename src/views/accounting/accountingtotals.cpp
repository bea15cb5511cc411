#include "accountingtotals.h"

#include "grid/gridmodel.h"
#include "text/numberformat.h"

namespace korvesta::accounting {

namespace {

double numberIn(const QString &text)
{
    if (text.isEmpty())
        return 0;
    QString plain = text;
    plain.remove(QLatin1Char(' '));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    return plain.toDouble();
}

} // namespace

Totals::Totals(GridModel &grid, int firstSum, int firstValue)
    : m_grid(grid)
    , m_firstSum(firstSum)
    , m_firstValue(firstValue)
{
    m_grid.setOutlineBar(true);
    m_grid.setOutlineCol(0);
}

void Totals::writeSums(int row, const std::vector<double> &sums)
{
    for (int col = m_firstSum; col < m_grid.cols(); ++col) {
        const double sum = sums[size_t(col - m_firstSum)];
        m_grid.setText(row, col,
                       col >= m_firstValue && sum == 0 ? QString()
                                                       : formatNumber(sum, u"#,##0"));
    }
}

std::vector<Totals::Added> Totals::add(int groupOn, int captionCol, const QString &caption)
{
    // The grid makes the rows of the outline; the sums are taken here in one pass rather
    // than one pass of the grid per column.
    SubtotalSpec spec;
    spec.function = Aggregate::Count;
    spec.groupOn = groupOn;
    spec.totalOn = groupOn;
    spec.backColor = m_grid.backColorFixed();
    spec.caption = caption;
    spec.captionCol = captionCol;
    m_grid.subtotal(spec);

    std::vector<Added> added;
    std::vector<double> sums(size_t(std::max(m_grid.cols() - m_firstSum, 0)), 0.0);
    int dataRows = 0;
    for (int row = m_grid.fixedRows(); row < m_grid.rows(); ++row) {
        if (!m_grid.isSubtotal(row)) {
            for (int col = m_firstSum; col < m_grid.cols(); ++col)
                sums[size_t(col - m_firstSum)] += numberIn(m_grid.text(row, col));
            ++dataRows;
            continue;
        }
        if (m_grid.rowOutlineLevel(row) != groupOn)
            continue;
        // The name of the group in place of the count the grid wrote, so that the totals
        // read on their own when the outline is collapsed.
        m_grid.setText(row, groupOn, m_grid.subtotalKey(row));
        writeSums(row, sums);
        std::fill(sums.begin(), sums.end(), 0.0);
        added.push_back({row, dataRows});
        dataRows = 0;
    }
    return added;
}

int Totals::addGrand(int captionCol, const QString &caption)
{
    SubtotalSpec spec;
    spec.function = Aggregate::Count;
    spec.groupOn = -1;
    spec.totalOn = captionCol;
    spec.backColor = m_grid.backColorFixed();
    spec.bold = true;
    spec.caption = caption;
    spec.captionCol = captionCol;
    const int before = m_grid.rows();
    m_grid.subtotal(spec);
    if (m_grid.rows() == before)
        return -1;
    const int row = m_grid.rows() - 1;
    std::vector<double> sums(size_t(std::max(m_grid.cols() - m_firstSum, 0)), 0.0);
    for (int r = m_grid.fixedRows(); r < row; ++r) {
        if (m_grid.isSubtotal(r))
            continue;
        for (int col = m_firstSum; col < m_grid.cols(); ++col)
            sums[size_t(col - m_firstSum)] += numberIn(m_grid.text(r, col));
    }
    m_grid.setText(row, captionCol, caption);
    writeSums(row, sums);
    m_grid.setCellBold(row, 0, row, m_grid.cols() - 1, true);
    return row;
}

} // namespace korvesta::accounting
