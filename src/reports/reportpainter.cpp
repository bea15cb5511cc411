#include "reportpainter.h"

#include <QFont>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace korvesta {

namespace {

// Everything is laid out in tenths of a point, so that fonts can be given in whole pixels
// of that unit and measure the same on every device.
constexpr double kUnit = 10;
constexpr double kPadX = 2.5 * kUnit;
constexpr double kPadY = 1.5 * kUnit;
constexpr double kTitlePoints = 14;
constexpr double kLinePoints = 10.5;
constexpr double kSmallPoints = 7.5;
constexpr double kMarginMm = 15;

const QColor kBorder(0x70, 0x70, 0x70);
const QColor kHeadingBack(0xdd, 0xdd, 0xdd);
const QColor kBlockBack(0xee, 0xee, 0xee);
const QColor kTotalBack(0xf4, 0xf4, 0xf4);

QFont reportFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, int(std::lround(points * kUnit))));
    font.setBold(bold);
    // Laid out once and printed on other devices: no hinting, so that widths carry over.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

Qt::Alignment alignmentOf(ReportContent::Align align)
{
    switch (align) {
    case ReportContent::Align::Center:
        return Qt::AlignHCenter;
    case ReportContent::Align::Right:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

// A text laid out in lines of the given width; a word longer than the width is broken.
struct TextBlock
{
    TextBlock(const QString &text, const QFont &font, double width, Qt::Alignment align)
        : layout(lines(text), wordsFit(text, font, width))
    {
        QTextOption option(align);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.setCacheEnabled(true);
        layout.beginLayout();
        double y = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max(1.0, width));
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout.endLayout();
        height = text.isEmpty() ? QFontMetricsF(font).height() : y;
    }
    void draw(QPainter &painter, const QPointF &at) const { layout.draw(&painter, at); }

    // The font, made smaller (to seven tenths at most) when a word of the text is wider than
    // the width: a word is broken only when even that does not make it fit.
    static QFont wordsFit(const QString &text, const QFont &font, double width)
    {
        const QFontMetricsF metrics(font);
        double widest = 0;
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        for (const QString &word : text.split(blanks, Qt::SkipEmptyParts))
            widest = std::max(widest, metrics.horizontalAdvance(word));
        if (widest <= width || width <= 0 || font.pointSizeF() <= 0)
            return font;
        QFont smaller(font);
        smaller.setPointSizeF(font.pointSizeF() * std::max(0.7, width / widest * 0.98));
        return smaller;
    }

    // A layout breaks lines only at the line separator: each line of the text (a subgroup's
    // lesson under another's) keeps its own line.
    static QString lines(QString text)
    {
        text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
        text.replace(u'\n', QChar::LineSeparator);
        text.replace(u'\r', QChar::LineSeparator);
        return text;
    }

    QTextLayout layout;
    double height = 0;
};

struct Metrics
{
    explicit Metrics(const ReportContent &content)
        : table(reportFont(content.fontPoints))
        , tableBold(reportFont(content.fontPoints, true))
        , block(reportFont(content.fontPoints + 0.5, true))
        , title(reportFont(kTitlePoints, true))
        , line(reportFont(kLinePoints))
        , small(reportFont(kSmallPoints))
        , header(reportFont(content.headerPoints, content.headerPoints > kSmallPoints))
    {}
    QFont table, tableBold, block, title, line, small, header;
};

const ReportContent::Row &rowOf(const ReportContent &content, int block, int row)
{
    return content.blocks[std::size_t(block)].rows[std::size_t(row)];
}

// The x and width of a cell that starts at column c and spans `span` columns.
std::pair<double, double> cellSpan(const ReportPagination &pages, std::size_t c, int span)
{
    const std::size_t last = std::min(pages.columnX.size(), c + std::size_t(std::max(1, span))) - 1;
    return {pages.columnX[c], pages.columnX[last] + pages.columnWidth[last] - pages.columnX[c]};
}

double rowHeight(const ReportContent::Row &row, const ReportPagination &pages,
                 const ReportContent &content, const Metrics &metrics)
{
    double height = 0;
    for (std::size_t c = 0; c < row.cells.size() && c < pages.columnX.size();) {
        const ReportContent::Cell &cell = row.cells[c];
        const auto [x, width] = cellSpan(pages, c, cell.span);
        Q_UNUSED(x)
        const bool bold = cell.bold || row.total;
        const TextBlock text(cell.text, bold ? metrics.tableBold : metrics.table,
                             width - 2 * kPadX, alignmentOf(content.columns[c].align));
        height = std::max(height, text.height);
        c += std::size_t(std::max(1, cell.span));
    }
    if (height == 0)
        height = QFontMetricsF(metrics.table).height();
    return height + 2 * kPadY;
}

double textHeight(const QString &text, const QFont &font, double width)
{
    return TextBlock(text, font, width, Qt::AlignHCenter).height;
}

double blockHeadingHeight(const QString &heading, const ReportPagination &pages,
                          const Metrics &metrics)
{
    return textHeight(heading, metrics.block, pages.area.width() - 2 * kPadX) + 2 * kPadY;
}

QString pageNumberText(int page, int pages)
{
    return QStringLiteral("Страница %1 из %2").arg(page).arg(pages);
}

void paintCell(QPainter &painter, const ReportContent::Cell &cell, const QRectF &rect,
               const QFont &font, Qt::Alignment align, const QColor &back)
{
    const QColor fill = cell.background.isValid() ? cell.background : back;
    if (fill.isValid())
        painter.fillRect(rect, fill);
    painter.setPen(QPen(kBorder, 0.5 * kUnit));
    painter.drawRect(rect);
    if (cell.text.isEmpty())
        return;
    const TextBlock text(cell.text, font, rect.width() - 2 * kPadX, align);
    painter.setPen(cell.foreground.isValid() ? cell.foreground : QColor(Qt::black));
    const double top = rect.top() + std::max(kPadY, (rect.height() - text.height) / 2);
    text.draw(painter, QPointF(rect.left() + kPadX, top));
}

void paintRow(QPainter &painter, const ReportContent &content, const ReportContent::Row &row,
              const ReportPagination &pages, const Metrics &metrics, double y, double height,
              const QColor &back, bool beginsPage = false)
{
    for (std::size_t c = 0; c < row.cells.size() && c < pages.columnX.size();) {
        ReportContent::Cell cell = row.cells[c];
        if (beginsPage && cell.text.isEmpty())
            cell.text = cell.carried; // the day a continued block belongs to
        const auto [x, width] = cellSpan(pages, c, cell.span);
        const bool bold = cell.bold || row.total;
        paintCell(painter, cell, QRectF(x, y, width, height),
                  bold ? metrics.tableBold : metrics.table, alignmentOf(content.columns[c].align),
                  row.total ? kTotalBack : back);
        c += std::size_t(std::max(1, cell.span));
    }
}

void paintCentred(QPainter &painter, const QString &text, const QFont &font, double y,
                  double width)
{
    const TextBlock block(text, font, width, Qt::AlignHCenter);
    painter.setPen(Qt::black);
    block.draw(painter, QPointF(0, y));
}

void paintPage(QPainter &painter, const ReportContent &content, const ReportPagination &pages,
               const Metrics &metrics, int index)
{
    const double width = pages.area.width();
    const ReportPage &page = pages.pages[std::size_t(index)];
    if (!content.pageHeader.isEmpty())
        paintCentred(painter, content.pageHeader, metrics.header, 0, width);

    bool firstRow = true;
    for (const ReportPageItem &item : page.items) {
        switch (item.kind) {
        case ReportPageItem::Kind::Title:
            paintCentred(painter, content.title, metrics.title, item.y, width);
            break;
        case ReportPageItem::Kind::Line:
            paintCentred(painter, content.lines[item.row], metrics.line, item.y, width);
            break;
        case ReportPageItem::Kind::Headings:
            paintRow(painter, content, content.headings[std::size_t(item.row)], pages, metrics,
                     item.y, item.height, kHeadingBack);
            break;
        case ReportPageItem::Kind::BlockHeading: {
            ReportContent::Cell cell;
            cell.text = content.blocks[std::size_t(item.block)].heading;
            if (item.continued)
                cell.text += QStringLiteral(" (продолжение)");
            paintCell(painter, cell, QRectF(0, item.y, width, item.height), metrics.block,
                      Qt::AlignLeft, kBlockBack);
            break;
        }
        case ReportPageItem::Kind::Row:
            paintRow(painter, content, rowOf(content, item.block, item.row), pages, metrics,
                     item.y, item.height, QColor(), firstRow && index > 0);
            firstRow = false;
            break;
        case ReportPageItem::Kind::Summary: {
            const TextBlock text(content.summary[item.row], metrics.line, width, Qt::AlignLeft);
            painter.setPen(Qt::black);
            text.draw(painter, QPointF(0, item.y));
            break;
        }
        }
    }

    // The foot: who made the report and when, and the page's number.
    const double footY = pages.bodyBottom + 2 * kUnit;
    painter.setPen(QPen(kBorder, 0.3 * kUnit));
    painter.drawLine(QPointF(0, footY), QPointF(width, footY));
    const double textY = footY + 1.5 * kUnit;
    const QString number = pageNumberText(index + 1, int(pages.pages.size()));
    const TextBlock right(number, metrics.small, width, Qt::AlignRight);
    painter.setPen(Qt::black);
    right.draw(painter, QPointF(0, textY));
    if (!content.pageFooter.isEmpty()) {
        const double numberWidth = QFontMetricsF(metrics.small).horizontalAdvance(number);
        const TextBlock left(content.pageFooter, metrics.small,
                             std::max(1.0, width - numberWidth - 6 * kUnit), Qt::AlignLeft);
        left.draw(painter, QPointF(0, textY));
    }
}

} // namespace

ReportPagination paginateReport(const ReportContent &content, const QSizeF &areaPoints)
{
    const Metrics metrics(content);
    ReportPagination pages;
    pages.area = areaPoints * kUnit;
    const double width = pages.area.width();

    double shares = 0;
    for (const ReportContent::Column &column : content.columns)
        shares += std::max(0.0, column.width);
    double x = 0;
    for (const ReportContent::Column &column : content.columns) {
        const double w = shares > 0 ? width * std::max(0.0, column.width) / shares : 0;
        pages.columnX.push_back(x);
        pages.columnWidth.push_back(w);
        x += w;
    }

    pages.bodyTop = content.pageHeader.isEmpty()
                        ? 0
                        : textHeight(content.pageHeader, metrics.header, width) + 4 * kUnit;
    const double footHeight = QFontMetricsF(metrics.small).height() + 4 * kUnit;
    pages.bodyBottom = std::max(pages.bodyTop + 10 * kUnit, pages.area.height() - footHeight);

    std::vector<double> headingHeights;
    for (const ReportContent::Row &row : content.headings)
        headingHeights.push_back(rowHeight(row, pages, content, metrics));

    ReportPage page;
    double y = pages.bodyTop;
    bool pageHasRows = false;
    const auto add = [&](ReportPageItem item) {
        item.y = y;
        y += item.height;
        page.items.push_back(item);
    };
    const auto addHeadings = [&] {
        for (std::size_t h = 0; h < content.headings.size(); ++h)
            add({ReportPageItem::Kind::Headings, -1, int(h), false, 0, headingHeights[h]});
    };
    const auto newPage = [&] {
        pages.pages.push_back(std::move(page));
        page = ReportPage();
        y = pages.bodyTop;
        pageHasRows = false;
        addHeadings();
    };

    if (!content.title.isEmpty())
        add({ReportPageItem::Kind::Title, -1, -1, false, 0,
             textHeight(content.title, metrics.title, width) + 3 * kUnit});
    for (qsizetype l = 0; l < content.lines.size(); ++l)
        add({ReportPageItem::Kind::Line, -1, int(l), false, 0,
             textHeight(content.lines[l], metrics.line, width) + 1 * kUnit});
    if (!content.title.isEmpty() || !content.lines.isEmpty())
        y += 6 * kUnit;
    addHeadings();

    const double bottom = pages.bodyBottom;
    for (std::size_t b = 0; b < content.blocks.size(); ++b) {
        const ReportContent::Block &block = content.blocks[b];
        const double headingHeight =
            block.heading.isEmpty() ? 0 : blockHeadingHeight(block.heading, pages, metrics);
        std::vector<double> heights;
        heights.reserve(block.rows.size());
        for (const ReportContent::Row &row : block.rows)
            heights.push_back(rowHeight(row, pages, content, metrics));
        if (!block.heading.isEmpty()) {
            // A heading is kept with the first row under it.
            const double first = heights.empty() ? 0 : heights.front();
            if (pageHasRows && y + headingHeight + first > bottom)
                newPage();
            add({ReportPageItem::Kind::BlockHeading, int(b), -1, false, 0, headingHeight});
            pageHasRows = true;
        }
        for (std::size_t r = 0; r < block.rows.size(); ++r) {
            if (pageHasRows && y + heights[r] > bottom) {
                newPage();
                if (!block.heading.isEmpty())
                    add({ReportPageItem::Kind::BlockHeading, int(b), -1, true, 0,
                         headingHeight});
            }
            add({ReportPageItem::Kind::Row, int(b), int(r), false, 0, heights[r]});
            pageHasRows = true;
        }
    }

    y += 4 * kUnit;
    for (qsizetype s = 0; s < content.summary.size(); ++s) {
        const double height = textHeight(content.summary[s], metrics.line, width) + 1 * kUnit;
        if (y + height > bottom) {
            pages.pages.push_back(std::move(page));
            page = ReportPage();
            y = pages.bodyTop;
        }
        add({ReportPageItem::Kind::Summary, -1, int(s), false, 0, height});
    }
    pages.pages.push_back(std::move(page));
    return pages;
}

void applyReportPageLayout(const ReportContent &content, QPagedPaintDevice &device,
                           bool keepPageSize)
{
    QPageLayout layout = device.pageLayout();
    if (!keepPageSize || !layout.pageSize().isValid())
        layout.setPageSize(QPageSize(QPageSize::A4));
    layout.setOrientation(content.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    layout.setUnits(QPageLayout::Millimeter);
    layout.setMargins(QMarginsF(content.leftMarginMm, 12, kMarginMm, 12));
    device.setPageLayout(layout);
}

double reportWordWidth(const QString &text, double points, bool bold)
{
    const QFontMetricsF metrics(reportFont(points, bold));
    double widest = 0;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (const QString &word : text.split(blanks, Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest > 0 ? (widest + 2 * kPadX) / kUnit + 1 : 0;
}

QSizeF reportArea(const ReportContent &content)
{
    QPageLayout layout(QPageSize(QPageSize::A4),
                       content.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(content.leftMarginMm, 12, kMarginMm, 12),
                       QPageLayout::Millimeter);
    return layout.paintRect(QPageLayout::Point).size();
}

int paintReport(const ReportContent &content, QPagedPaintDevice &device, int first, int last,
                const PageProgress &progress)
{
    const QSizeF area = device.pageLayout().paintRect(QPageLayout::Point).size();
    const ReportPagination pages = paginateReport(content, area);
    const int count = int(pages.pages.size());
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const double scaleX = device.logicalDpiX() / (72.0 * kUnit);
    const double scaleY = device.logicalDpiY() / (72.0 * kUnit);
    const int from = first > 0 ? std::min(first, count) : 1;
    const int to = last > 0 ? std::min(last, count) : count;
    const Metrics metrics(content);
    for (int page = from; page <= to; ++page) {
        if (progress && !progress(page - from + 1, to - from + 1)) {
            painter.end();
            return 0;
        }
        if (page > from)
            device.newPage();
        painter.save();
        painter.scale(scaleX, scaleY);
        paintPage(painter, content, pages, metrics, page - 1);
        painter.restore();
    }
    painter.end();
    return count;
}

} // namespace korvesta
