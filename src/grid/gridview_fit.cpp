#include "gridview.h"

#include "gridlayout.h"
#include "gridmodel.h"
#include "gridpainter.h"
#include "twips.h"

#include <QFontMetrics>

namespace korvesta {

void GridView::fitRowsToText()
{
    const GridLayout &lay = layout();
    QFont boldFont = m_model->font();
    boldFont.setBold(true);
    const QFontMetrics normal(m_model->font());
    const QFontMetrics bold(boldFont);
    constexpr int padX = 2 * GridPainter::PaddingX + 1;
    constexpr int padY = 2 * GridPainter::PaddingY + 1;

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
            const QFontMetrics &fm = m_model->cellBold(row, col) ? bold : normal;
            const int flags = m_model->wordWrap() ? int(Qt::TextWordWrap) : 0;
            const QRect box = fm.boundingRect(QRect(0, 0, width, 1 << 20), flags, text);
            needed = std::max(needed, box.height() + padY);
        }
        if (needed > lay.rowHeight(row))
            grown.emplace_back(row, needed);
    }
    for (const auto &[row, pixels] : grown)
        m_model->setRowHeight(row, pixelsToTwips(pixels, logicalDpiY()));
}

} // namespace korvesta
