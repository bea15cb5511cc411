#include "gridview.h"

#include "gridlayout.h"
#include "gridmodel.h"
#include "gridpainter.h"
#include "twips.h"

#include <QFontMetrics>
#include <QHash>

namespace korvesta {

namespace {

struct Measure
{
    QString text;
    int width;
    bool bold;
    friend bool operator==(const Measure &, const Measure &) = default;
};

size_t qHash(const Measure &m, size_t seed = 0)
{
    return qHashMulti(seed, m.text, m.width, m.bold);
}

// The height of a cell's text in pixels: line by line when every line fits, as the painter
// draws it; through a full text layout only when a line must wrap.
int textHeight(const QFontMetrics &fm, const QString &text, int width, bool wordWrap)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool fits = true;
    for (const QString &line : lines) {
        if (fm.horizontalAdvance(line) > width) {
            fits = false;
            break;
        }
    }
    if (fits || !wordWrap)
        return int(lines.size() - 1) * fm.lineSpacing() + fm.height();
    return fm.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, text).height();
}

} // namespace

void GridView::fitRowsToText()
{
    const GridLayout &lay = layout();
    QFont boldFont = m_model->font();
    boldFont.setBold(true);
    const QFontMetrics normal(m_model->font());
    const QFontMetrics bold(boldFont);
    constexpr int padX = 2 * GridPainter::PaddingX + 1;
    constexpr int padY = 2 * GridPainter::PaddingY + 1;

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
            const QString text = m_model->text(row, col);
            if (text.isEmpty())
                continue;
            const CellRange span = m_model->mergedRange(row, col);
            if (span.isValid() && (span.top != span.bottom || span.left != col))
                continue; // measured once, and not at all when it spans rows
            int width = span.isValid() ? lay.colRight(span.right) - lay.colLeft(span.left)
                                       : lay.colWidth(col);
            width -= padX;
            if (!m_model->cellPicture(row, col).isEmpty())
                width -= GridPainter::IconSize + 3;
            if (width <= 0)
                continue;
            const bool isBold = m_model->cellBold(row, col);
            const Measure key{text, width, isBold};
            auto known = heights.constFind(key);
            if (known == heights.cend())
                known = heights.insert(key, textHeight(isBold ? bold : normal, text, width,
                                                       m_model->wordWrap()));
            needed = std::max(needed, *known + padY);
        }
        if (needed > lay.rowHeight(row))
            grown.emplace_back(row, needed);
    }
    for (const auto &[row, pixels] : grown)
        m_model->setRowHeight(row, pixelsToTwips(pixels, logicalDpiY()));
}

} // namespace korvesta
