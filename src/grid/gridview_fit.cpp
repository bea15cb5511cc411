#include "gridview.h"

#include "gridlayout.h"
#include "gridmodel.h"
#include "gridpainter.h"
#include "gridtextfit.h"
#include "twips.h"

#include <QFontMetrics>
#include <QHash>

#include <climits>

namespace korvesta {

namespace {

constexpr qsizetype MeasuredChars = 10000;

struct Measure
{
    QString text;
    int width;
    bool bold;
    bool picture;
    friend bool operator==(const Measure &, const Measure &) = default;
};

size_t qHash(const Measure &m, size_t seed = 0)
{
    return qHashMulti(seed, m.text, m.width, m.bold, m.picture);
}

// The height a cell needs in pixels, padding included, for its text wrapped as the painter
// wraps it, and for its picture when that goes above the text.
int cellHeight(const QFontMetrics &fm, const QString &text, int width, bool picture,
               bool wordWrap)
{
    int pictureAbove = 0;
    if (picture && wordWrap && GridPainter::pictureGoesAbove(text, width, fm, &pictureAbove))
        return GridPainter::heightWithPictureAbove(pictureAbove);
    const QRect area =
        GridPainter::place(QRect(0, 0, width, 1 << 20), picture, QString(u'x'), fm, false).text;
    if (area.width() <= 0)
        return 0;
    const TextWidth measure = [&fm](const QString &line) { return fm.horizontalAdvance(line); };
    const qsizetype lines = fitText(text, area.width(), INT_MAX, wordWrap, measure).lines.size();
    return GridPainter::textHeight(static_cast<int>(lines), fm) + 2 * GridPainter::PaddingY + 1;
}

} // namespace

void GridView::fitRowsToText()
{
    // Rows grown by the last fit return to the height they had, unless changed since, so that
    // a smaller font gives lower rows again.
    for (const FittedRow &fitted : m_fittedRows) {
        if (fitted.row < m_model->rows() && m_model->rowHeight(fitted.row) == fitted.grownTo)
            m_model->setRowHeight(fitted.row, fitted.before);
    }
    m_fittedRows.clear();

    const GridLayout &lay = layout();
    QFont boldFont = m_model->font();
    boldFont.setBold(true);
    const QFontMetrics normal(m_model->font());
    const QFontMetrics bold(boldFont);

    // Timetables repeat the same few texts in columns of one width.
    QHash<Measure, int> heights;
    std::vector<std::pair<int, int>> grown; // row, pixels
    for (int row = 0; row < m_model->rows(); ++row) {
        if (m_model->isRowHidden(row))
            continue;
        int needed = 0;
        for (int col = 0; col < m_model->cols(); ++col) {
            if (m_model->isColHidden(col))
                continue;
            // A row is at most a hundred inches high: more text than that would fill is not
            // measured.
            QString text = m_model->text(row, col).left(MeasuredChars);
            if (text.isEmpty())
                continue;
            const CellRange span = m_model->shownRange(row, col);
            if (span.isValid() && (span.top != span.bottom || span.left != col))
                continue; // measured once, and not at all when it spans rows
            const int width = span.isValid() ? lay.colRight(span.right) - lay.colLeft(span.left)
                                             : lay.colWidth(col);
            if (width <= 0)
                continue;
            if (text.contains(QLatin1Char('\r'))) {
                text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
                text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            }
            const bool isBold = m_model->cellBold(row, col);
            const bool picture = !m_model->cellPicture(row, col).isEmpty();
            const Measure key{text, width, isBold, picture};
            auto known = heights.constFind(key);
            if (known == heights.cend())
                known = heights.insert(key, cellHeight(isBold ? bold : normal, text, width,
                                                       picture, m_model->wordWrap()));
            needed = std::max(needed, *known);
        }
        if (needed > lay.rowHeight(row))
            grown.emplace_back(row, needed);
    }
    for (const auto &[row, pixels] : grown) {
        const int before = m_model->rowHeight(row);
        const int twips = pixelsToTwips(pixels, logicalDpiY());
        m_model->setRowHeight(row, twips);
        m_fittedRows.push_back({row, before, m_model->rowHeight(row)});
    }
}

void GridView::fitColumnsToText(int first, int last, int maxTwips)
{
    first = std::max(first, 0);
    last = std::min(last, m_model->cols() - 1);
    const int maxPixels = twipsToPixels(maxTwips);
    QFont boldFont = m_model->font();
    boldFont.setBold(true);
    const QFontMetrics normal(m_model->font());
    const QFontMetrics bold(boldFont);

    QHash<std::pair<QString, bool>, int> widths; // text and boldness: pixels of its widest line
    std::vector<int> fitted; // columns that take a share of the spare width
    int used = 0;            // pixels of every shown column
    for (int col = 0; col < m_model->cols(); ++col) {
        if (m_model->isColHidden(col) || m_model->colWidth(col) == 0)
            continue;
        int width = twipsToPixels(m_model->colWidth(col));
        if (col >= first && col <= last) {
            int needed = 0;
            for (int row = 0; row < m_model->rows(); ++row) {
                if (m_model->isRowHidden(row))
                    continue;
                const CellRange span = m_model->shownRange(row, col);
                if (span.isValid() && span.left != span.right)
                    continue; // a text across columns is not this column's to hold
                const QString text = m_model->text(row, col).left(MeasuredChars);
                if (text.isEmpty())
                    continue;
                const bool strong = row < m_model->fixedRows() || m_model->cellBold(row, col);
                // A timetable repeats its few texts in every column: each is measured once.
                auto known = widths.constFind({text, strong});
                if (known == widths.constEnd()) {
                    const QFontMetrics &fm = strong ? bold : normal;
                    int widest = 0;
                    for (const QString &line : QString(text).replace(QLatin1Char('\r'), QString())
                                                   .split(QLatin1Char('\n')))
                        widest = std::max(widest, fm.horizontalAdvance(line));
                    known = widths.insert({text, strong}, widest);
                }
                const int widest = *known;
                const bool picture = !m_model->cellPicture(row, col).isEmpty();
                needed = std::max(needed, widest + 2 * GridPainter::PaddingX + 2
                                              + (picture ? GridPainter::IconSize + 2 : 0));
            }
            if (needed > width)
                width = std::min(needed, std::max(width, maxPixels));
            fitted.push_back(col);
            m_model->setColWidth(col, pixelsToTwips(width));
        }
        used += width;
    }
    int spare = viewport()->width() - used - 2;
    // The spare width in equal shares; a column at its most passes its share on.
    for (int round = 0; round < 3 && spare > 0 && !fitted.empty(); ++round) {
        const int share = spare / int(fitted.size());
        if (share <= 0)
            break;
        std::vector<int> still;
        for (const int col : fitted) {
            const int width = twipsToPixels(m_model->colWidth(col));
            const int grown = std::min(width + share, std::max(width, maxPixels));
            spare -= grown - width;
            m_model->setColWidth(col, pixelsToTwips(grown));
            if (grown < maxPixels)
                still.push_back(col);
        }
        fitted.swap(still);
    }
}

} // namespace korvesta
