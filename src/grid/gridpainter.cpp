#include "grid/gridpainter.h"

#include "grid/gridicons.h"
#include "grid/gridlayout.h"
#include "grid/gridmodel.h"
#include "grid/gridtextcache.h"
#include "grid/gridtextfit.h"

#include <QPainter>

#include <algorithm>
#include <climits>

namespace korvesta {

namespace {

constexpr int PaddingX = GridPainter::PaddingX;
constexpr int PaddingY = GridPainter::PaddingY;
constexpr int IconSize = GridPainter::IconSize;
constexpr int ButtonSize = 9;

QFont boldOf(QFont font)
{
    font.setBold(true);
    return font;
}

// General alignment puts numbers to the right, as a spreadsheet does.
bool looksNumeric(const QString &text)
{
    bool digit = false;
    for (const QChar ch : text) {
        if (ch.isDigit())
            digit = true;
        else if (ch != u' ' && ch != u',' && ch != u'.' && ch != u'-' && ch != u'+'
                 && ch != QChar(0x00A0))
            return false;
    }
    return digit;
}

QColor blend(const QColor &base, const QColor &tint, int percent)
{
    const auto mix = [percent](int a, int b) { return (a * (100 - percent) + b * percent) / 100; };
    return QColor(mix(base.red(), tint.red()), mix(base.green(), tint.green()),
                  mix(base.blue(), tint.blue()));
}

bool intersects(int a1, int a2, int b1, int b2)
{
    return a1 <= b2 && b1 <= a2;
}

// A cell shows no more lines than fit in its height and, on each, no more characters than it
// has pixels across. Cutting a long text to that before it is measured keeps painting fast
// whatever its length; what is cut would not have shown, and a cut line is still drawn short
// with an ellipsis.
QString visiblePart(const QString &text, const QRect &inner, int lineSpacing, bool wordWrap)
{
    const qsizetype maxLines = inner.height() / std::max(lineSpacing, 1) + 2;
    const qsizetype maxChars = inner.width() + 1;
    if (text.size() <= maxLines * maxChars)
        return text;
    if (wordWrap)
        return text.left(maxLines * maxChars);
    QString shown;
    qsizetype start = 0;
    for (qsizetype line = 0; line < maxLines && start <= text.size(); ++line) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        if (line > 0)
            shown += QLatin1Char('\n');
        shown += QStringView(text).mid(start, std::min(end - start, maxChars));
        start = end + 1;
    }
    return shown;
}

} // namespace

GridPainter::GridPainter(const GridModel &model, const GridLayout &layout,
                         const GridPaintState &state)
    : m_model(model)
    , m_layout(layout)
    , m_state(state)
    , m_font(model.font())
    , m_boldFont(boldOf(model.font()))
    , m_metrics(m_font)
    , m_boldMetrics(m_boldFont)
    , m_selection(model.selection())
{
    const int row = model.currentRow();
    const int col = model.currentCol();
    m_currentInBody = model.isDataCell(row, col);
    if (m_currentInBody)
        m_current = model.mergedRange(row, col);
}

QRect GridPainter::outlineButton(const QRect &cell, int depth, int depths)
{
    const int room = std::max(cell.width() - ButtonSize - 4, 0);
    const int step = depths > 1 ? std::min(room / (depths - 1), 10) : 0;
    const int x = cell.left() + 2 + depth * step;
    const int y = cell.top() + (cell.height() - ButtonSize) / 2;
    return QRect(x, y, ButtonSize, ButtonSize);
}

void GridPainter::paint(QPainter &painter)
{
    painter.fillRect(QRect(QPoint(0, 0), m_state.viewport), m_model.backColorBkg());
    painter.setFont(m_font);
    m_bold = false;
    // The body first, then the headers over it.
    for (const auto &[fixedRows, fixedCols] :
         {std::pair(false, false), std::pair(true, false), std::pair(false, true),
          std::pair(true, true)}) {
        const Region r = region(fixedRows, fixedCols);
        if (r.firstRow > r.lastRow || r.firstCol > r.lastCol || r.clip.isEmpty())
            continue;
        painter.setClipRect(r.clip);
        paintRegion(painter, r);
        paintOutline(painter, r);
        if (!fixedRows && !fixedCols)
            paintSelection(painter);
    }
    paintTitles(painter);
    painter.setClipping(false);
}

GridPainter::Region GridPainter::region(bool fixedRows, bool fixedCols) const
{
    const int fw = m_layout.fixedWidth();
    const int fh = m_layout.fixedHeight();
    const int width = m_state.viewport.width();
    const int height = m_state.viewport.height();
    Region r;
    // Content coordinates seen by this region: [lo, hi).
    const int xLo = fixedCols ? 0 : fw + m_state.scrollX;
    const int xHi = fixedCols ? std::min(fw, width) : m_state.scrollX + width;
    const int yLo = fixedRows ? 0 : fh + m_state.scrollY;
    const int yHi = fixedRows ? std::min(fh, height) : m_state.scrollY + height;
    r.clip = QRect(QPoint(fixedCols ? 0 : fw, fixedRows ? 0 : fh),
                   QPoint((fixedCols ? std::min(fw, width) : width) - 1,
                          (fixedRows ? std::min(fh, height) : height) - 1));
    if (xLo >= std::min(xHi, m_layout.totalWidth())
        || yLo >= std::min(yHi, m_layout.totalHeight()))
        return r;
    r.firstCol = std::max(m_layout.colAt(xLo), fixedCols ? 0 : m_layout.fixedCols());
    r.lastCol = std::min(m_layout.colAt(std::min(xHi, m_layout.totalWidth()) - 1),
                         fixedCols ? m_layout.fixedCols() - 1 : m_layout.cols() - 1);
    r.firstRow = std::max(m_layout.rowAt(yLo), fixedRows ? 0 : m_layout.fixedRows());
    r.lastRow = std::min(m_layout.rowAt(std::min(yHi, m_layout.totalHeight()) - 1),
                         fixedRows ? m_layout.fixedRows() - 1 : m_layout.rows() - 1);
    return r;
}

void GridPainter::paintRegion(QPainter &painter, const Region &region)
{
    const int width = region.lastCol - region.firstCol + 1;
    const int height = region.lastRow - region.firstRow + 1;
    // Cells already painted as part of a merged block.
    std::vector<char> covered(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (int r = region.firstRow; r <= region.lastRow; ++r) {
        for (int c = region.firstCol; c <= region.lastCol; ++c) {
            const size_t index = static_cast<size_t>(r - region.firstRow) * width
                                 + static_cast<size_t>(c - region.firstCol);
            if (covered[index])
                continue;
            const CellRange block = m_model.mergedRange(r, c);
            if (!block.isSingleCell()) {
                for (int br = std::max(block.top, r); br <= std::min(block.bottom, region.lastRow);
                     ++br) {
                    for (int bc = std::max(block.left, region.firstCol);
                         bc <= std::min(block.right, region.lastCol); ++bc) {
                        covered[static_cast<size_t>(br - region.firstRow) * width
                                + static_cast<size_t>(bc - region.firstCol)] = 1;
                    }
                }
            }
            const QRect rect = m_layout.rect(block, m_state.scrollX, m_state.scrollY);
            if (rect.width() > 0 && rect.height() > 0 && rect.intersects(region.clip)) {
                // A title across the fixed columns' edge: its text is painted once, over
                // both parts, when the regions are done.
                bool whole = true;
                if (block.top == block.bottom
                    && (block.right == m_layout.fixedCols() - 1
                        || block.left == m_layout.fixedCols())) {
                    const CellRange shown = m_model.shownRange(block.top, block.left);
                    if (shown != block) {
                        whole = false;
                        if (std::find(m_titles.begin(), m_titles.end(), shown) == m_titles.end())
                            m_titles.push_back(shown);
                    }
                }
                paintBlock(painter, block, rect, region.clip, whole);
            }
        }
    }
}

bool GridPainter::headerHighlighted(const CellRange &block) const
{
    if (!m_currentInBody)
        return false;
    const bool inFixedRows = block.top < m_layout.fixedRows();
    const bool inFixedCols = block.left < m_layout.fixedCols();
    if (inFixedRows && !inFixedCols)
        return intersects(block.left, block.right, m_selection.left, m_selection.right);
    if (inFixedCols && !inFixedRows)
        return intersects(block.top, block.bottom, m_selection.top, m_selection.bottom);
    return false;
}

void GridPainter::paintTitles(QPainter &painter)
{
    const int fc = m_layout.fixedCols();
    const int fh = m_layout.fixedHeight();
    const QSize size = m_state.viewport;
    for (const CellRange &title : m_titles) {
        const QRect fixedPart =
            m_layout.rect({title.top, title.left, title.top, fc - 1}, m_state.scrollX,
                          m_state.scrollY);
        const QRect scrolledPart =
            m_layout.rect({title.top, fc, title.top, title.right}, m_state.scrollX,
                          m_state.scrollY);
        // The scrolled part slides under the fixed one: together they reach from the fixed
        // part's left to wherever the scrolled part ends.
        const QRect rect(QPoint(fixedPart.left(), fixedPart.top()),
                         QPoint(std::max(fixedPart.right(), scrolledPart.right()),
                                fixedPart.bottom()));
        const QRect band = title.top < m_layout.fixedRows()
                               ? QRect(0, 0, size.width(), std::min(fh, size.height()))
                               : QRect(0, fh, size.width(), size.height() - fh);
        const QRect clip = rect.adjusted(0, 0, -1, -1) & band;
        if (clip.isEmpty())
            continue;
        painter.setClipRect(clip);
        paintContent(painter, title.top, title.left, rect, clip);
    }
}

void GridPainter::paintBlock(QPainter &painter, const CellRange &block, const QRect &rect,
                             const QRect &clip, bool content)
{
    const int row = block.top;
    const int col = block.left;
    const bool fixed = row < m_layout.fixedRows() || col < m_layout.fixedCols();
    QColor back = m_model.cellBackColor(row, col);
    if (fixed) {
        if (headerHighlighted(block))
            back = blend(back, m_model.backColorSel(), 22);
    } else if (m_currentInBody && !m_selection.isSingleCell()
               && intersects(block.top, block.bottom, m_selection.top, m_selection.bottom)
               && intersects(block.left, block.right, m_selection.left, m_selection.right)
               && block != m_current) {
        back = blend(back, m_model.backColorSel(), 25);
    }
    painter.fillRect(rect, back);

    if (content)
        paintContent(painter, row, col, rect, clip);

    painter.setPen(fixed ? m_model.gridColorFixed() : m_model.gridColor());
    // No line parts a title at the fixed columns' edge.
    if (content || block.right != m_layout.fixedCols() - 1)
        painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    paintBorder(painter, row, col, rect);
}

int GridPainter::pictureSize(const QRect &cell)
{
    return std::min({IconSize, cell.height() - 2, cell.width() - 2});
}

int GridPainter::textHeight(int lines, const QFontMetrics &metrics)
{
    return (lines - 1) * metrics.lineSpacing() + metrics.height();
}

int GridPainter::heightWithPictureAbove(int textHeight)
{
    return IconSize + 1 + textHeight + 2 * PaddingY + 1;
}

bool GridPainter::pictureGoesAbove(const QString &text, int width, const QFontMetrics &metrics,
                                   int *textHeight)
{
    const QRect padded = QRect(0, 0, width, IconSize + 2)
                             .adjusted(PaddingX, 0, -PaddingX - 1, 0);
    const int beside = padded.width() - (IconSize + 2);
    if (text.isEmpty() || beside <= 0)
        return false;
    const TextWidth measure = [&metrics](const QString &line) {
        return metrics.horizontalAdvance(line);
    };
    const FittedText besideIt = fitText(text, beside, INT_MAX, true, measure);
    if (!besideIt.cut && besideIt.lines.size() == 1)
        return false;
    const FittedText whole = fitText(text, padded.width(), INT_MAX, true, measure);
    if (whole.cut)
        return false;
    if (textHeight)
        *textHeight = GridPainter::textHeight(static_cast<int>(whole.lines.size()), metrics);
    return true;
}

GridPainter::Placement GridPainter::place(const QRect &cell, bool picture, const QString &text,
                                          const QFontMetrics &metrics, bool wrap)
{
    Placement placed;
    placed.text = cell.adjusted(PaddingX, PaddingY, -PaddingX - 1, -PaddingY - 1);
    if (!picture)
        return placed;
    const int size = pictureSize(cell);
    if (size < 6)
        return placed;
    placed.pictureSize = size;
    const int y = cell.top() + (cell.height() - size) / 2;
    if (text.isEmpty()) {
        placed.picture = QPoint(cell.left() + (cell.width() - size) / 2, y);
        return placed;
    }
    // A text that does not stand on one line beside its picture, but stands whole without
    // it, puts the picture above itself where the row has grown for it (a tutor's surname and
    // initials under the tutor's icon).
    int height = 0;
    if (wrap && pictureGoesAbove(text, cell.width(), metrics, &height)
        && cell.height() >= heightWithPictureAbove(height)) {
        const int top = cell.top() + (cell.height() - heightWithPictureAbove(height)) / 2;
        placed.picture = QPoint(cell.left() + (cell.width() - size) / 2, top + PaddingY);
        placed.text.setTop(top + PaddingY + size + 1);
        placed.text.setHeight(height);
        return placed;
    }
    const int x = std::max(cell.left() + 2, placed.text.left() - 1);
    placed.picture = QPoint(x, y);
    placed.text.setLeft(x + size + 3);
    return placed;
}

int GridPainter::linesIn(int height, const QFontMetrics &metrics)
{
    // A line that misses its room by a pixel still shows.
    if (height + 1 < metrics.height())
        return 1;
    return (height + 1 - metrics.height()) / std::max(metrics.lineSpacing(), 1) + 1;
}

FittedText GridPainter::fitCellText(const QString &text, QRect &area, const QRect &cell,
                                    bool picture, const QFontMetrics &metrics, bool wrap,
                                    const TextWidth &measure)
{
    // A single word in a narrow column ("12" under "№") may use the padding rather than be
    // cut; texts of several words wrap or are cut as usual.
    const int room = cell.width() - 3;
    if (!picture && area.width() < room && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char(' '))) {
        const int width = measure(text);
        if (width > area.width() && width <= room) {
            area.setLeft(cell.left() + 1);
            area.setWidth(room);
        }
    }
    return fitText(text, area.width(), linesIn(area.height(), metrics), wrap, measure);
}

void GridPainter::paintContent(QPainter &painter, int row, int col, const QRect &rect,
                               const QRect &clip)
{
    QString text = m_model.text(row, col);
    if (text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    const QString picture = m_model.cellPicture(row, col);
    const bool bold = m_model.cellBold(row, col);
    const Placement placed = place(rect, !picture.isEmpty(), text,
                                   bold ? m_boldMetrics : m_metrics, m_model.wordWrap());
    bool pictureShown = false;
    if (placed.pictureSize > 0) {
        const QPixmap pixmap =
            GridIcons::pixmap(picture, placed.pictureSize, m_state.devicePixelRatio);
        if (!pixmap.isNull()) {
            painter.drawPixmap(placed.picture, pixmap);
            pictureShown = true;
        }
    }
    // A picture that cannot be drawn leaves its room to the text.
    const QRect inner = pictureShown || text.isEmpty() ? placed.text
                                                       : place(rect, false, text, m_metrics,
                                                               false)
                                                             .text;
    if (text.isEmpty() || inner.width() <= 0 || inner.height() <= 0)
        return;

    if (bold != m_bold) {
        painter.setFont(bold ? m_boldFont : m_font);
        m_bold = bold;
    }
    painter.setPen(m_model.cellForeColor(row, col));

    Qt::Alignment alignment = m_model.cellAlignment(row, col);
    if (!(alignment & Qt::AlignHorizontal_Mask))
        alignment |= looksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft;
    if (!(alignment & Qt::AlignVertical_Mask))
        alignment |= Qt::AlignVCenter;
    paintText(painter, text, alignment, inner, rect, pictureShown, clip);
}

void GridPainter::paintText(QPainter &painter, const QString &fullText, Qt::Alignment alignment,
                            const QRect &inner, const QRect &cell, bool picture,
                            const QRect &clip)
{
    const QFontMetrics &metrics = m_bold ? m_boldMetrics : m_metrics;
    const QFont &font = m_bold ? m_boldFont : m_font;
    GridTextCache *cache = m_state.textCache;
    // The width of a line as drawn; through the cache, which keeps its glyphs for drawing.
    const auto drawnWidth = [&](const QString &line) {
        return cache ? cache->line(line, m_bold, font).width : metrics.horizontalAdvance(line);
    };
    const QString text = visiblePart(fullText, inner, metrics.lineSpacing(), m_model.wordWrap());
    QStringList lines = text.split(QLatin1Char('\n'));
    QRect area = inner;
    std::vector<int> widths;
    widths.reserve(static_cast<size_t>(lines.size()));
    // Most cells show their text as it is: measured line by line, from the cache.
    bool fits = lines.size() <= linesIn(area.height(), metrics);
    for (qsizetype i = 0; fits && i < lines.size(); ++i) {
        widths.push_back(drawnWidth(lines[i]));
        fits = widths.back() <= area.width();
    }
    if (!fits) {
        // Wrapping and cutting try many candidate lines: measured, not cached.
        const TextWidth measure = [&metrics](const QString &line) {
            return metrics.horizontalAdvance(line);
        };
        const auto make = [&] {
            QRect room = area;
            GridTextCache::Fit fit;
            fit.lines = fitCellText(text, room, cell, picture, metrics, m_model.wordWrap(),
                                    measure)
                            .lines;
            fit.left = room.left() - cell.left();
            fit.width = room.width();
            return fit;
        };
        // A screen repainted shows the same texts in the same rooms: fitted once.
        const GridTextCache::Fit fit =
            cache ? cache->fit(text, m_bold,
                               QStringLiteral("%1,%2,%3,%4,%5,%6")
                                   .arg(area.left() - cell.left())
                                   .arg(area.width())
                                   .arg(area.height())
                                   .arg(cell.width())
                                   .arg(int(picture))
                                   .arg(int(m_model.wordWrap())),
                               make)
                  : make();
        lines = fit.lines;
        area.setLeft(cell.left() + fit.left);
        area.setWidth(fit.width);
        widths.clear();
        for (const QString &line : lines)
            widths.push_back(drawnWidth(line));
    }

    const int height = static_cast<int>(lines.size() - 1) * metrics.lineSpacing()
                       + metrics.height();
    int y = area.top();
    if (height <= area.height()) {
        if (alignment & Qt::AlignVCenter)
            y += (area.height() - height) / 2;
        else if (alignment & Qt::AlignBottom)
            y += area.height() - height;
    }
    // Only a line lower than its cell, or an ellipsis wider than it, needs a clip.
    const bool overflows = height > area.height() + 1
                           || std::any_of(widths.begin(), widths.end(),
                                          [&area](int w) { return w > area.width(); });
    if (overflows) {
        painter.save();
        painter.setClipRect(area.adjusted(0, 0, 1, 1) & clip);
    }
    for (qsizetype i = 0; i < lines.size() && y <= area.bottom(); ++i) {
        const int width = widths[static_cast<size_t>(i)];
        int x = area.left();
        if (width <= area.width()) {
            if (alignment & Qt::AlignRight)
                x = area.right() + 1 - width;
            else if (alignment & Qt::AlignHCenter)
                x = area.left() + (area.width() - width) / 2;
        }
        if (cache) {
            // A copy, cheap as the laid-out text is shared: a later insertion may move the
            // cache's own.
            const GridTextCache::Line line = cache->line(lines[i], m_bold, font);
            painter.drawStaticText(x, y, line.text);
        } else {
            painter.drawText(QPoint(x, y + metrics.ascent()), lines[i]);
        }
        y += metrics.lineSpacing();
    }
    if (overflows)
        painter.restore();
}

void GridPainter::paintBorder(QPainter &painter, int row, int col, const QRect &rect)
{
    const CellBorder border = m_model.cellBorder(row, col);
    if (!border.edges)
        return;
    const int w = border.width;
    if (border.edges & Qt::LeftEdge)
        painter.fillRect(rect.left(), rect.top(), w, rect.height(), border.color);
    if (border.edges & Qt::TopEdge)
        painter.fillRect(rect.left(), rect.top(), rect.width(), w, border.color);
    if (border.edges & Qt::RightEdge)
        painter.fillRect(rect.right() + 1 - w, rect.top(), w, rect.height(), border.color);
    if (border.edges & Qt::BottomEdge)
        painter.fillRect(rect.left(), rect.bottom() + 1 - w, rect.width(), w, border.color);
}

void GridPainter::paintOutline(QPainter &painter, const Region &region)
{
    const int col = m_model.outlineCol();
    if (!m_model.outlineBar() || col < region.firstCol || col > region.lastCol
        || region.lastRow < m_layout.fixedRows())
        return;
    const QColor line = m_model.gridColorFixed().darker(130);
    for (const GridLayout::OutlineNode &node : m_layout.outlineNodes()) {
        const int top = node.collapsed ? node.row : std::min(node.groupTop, node.row);
        if (!intersects(top, node.row, region.firstRow, region.lastRow))
            continue;
        const QRect cell =
            m_layout.rect({node.row, col, node.row, col}, m_state.scrollX, m_state.scrollY);
        if (cell.height() <= 0 || cell.width() <= 0)
            continue;
        const QRect button = outlineButton(cell, node.depth, m_layout.outlineDepths());
        const int x = button.center().x();
        painter.setPen(line);
        if (!node.collapsed && node.groupTop < node.row) {
            const int y1 = m_layout.rect({node.groupTop, col, node.groupTop, col},
                                         m_state.scrollX, m_state.scrollY)
                               .top()
                           + 3;
            painter.drawLine(x, y1, x, button.top() - 1);
            painter.drawLine(x, y1, x + 3, y1);
        }
        painter.fillRect(button, m_model.backColor());
        painter.drawRect(button.adjusted(0, 0, -1, -1));
        painter.setPen(m_model.foreColor());
        const int y = button.center().y();
        painter.drawLine(button.left() + 2, y, button.right() - 2, y);
        if (node.collapsed)
            painter.drawLine(x, button.top() + 2, x, button.bottom() - 2);
    }
}

void GridPainter::paintSelection(QPainter &painter)
{
    if (!m_currentInBody)
        return;
    const QColor accent = m_model.backColorSel();
    if (!m_selection.isSingleCell()) {
        const QRect all = m_layout.rect(m_selection, m_state.scrollX, m_state.scrollY);
        painter.setPen(accent);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(all.adjusted(0, 0, -1, -1));
    }
    const QRect current = m_layout.rect(m_current, m_state.scrollX, m_state.scrollY);
    if (current.isEmpty())
        return;
    QPen pen(m_state.focused ? accent : accent.lighter(140));
    pen.setWidth(2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(current.adjusted(0, 0, -1, -1));
}

} // namespace korvesta
