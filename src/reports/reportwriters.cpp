#include "reportwriters.h"

#include "reportpainter.h"

#include "text/printable.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace korvesta {

namespace {

// Text -------------------------------------------------------------------------------------

constexpr int kTextWidth = 100;      // characters of a portrait page
constexpr int kLandscapeWidth = 140;

// Lines of at most `width` characters, broken at blanks where a line allows.
QStringList wrapText(const QString &text, int width)
{
    QStringList lines;
    for (QString rest : printableText(text).split(u'\n')) {
        rest = rest.trimmed();
        while (rest.size() > width) {
            qsizetype cut = rest.lastIndexOf(u' ', width);
            if (cut <= 0)
                cut = width;
            lines << rest.left(cut).trimmed();
            rest = rest.mid(cut).trimmed();
        }
        lines << rest;
    }
    return lines;
}

QString padded(const QString &text, int width, ReportContent::Align align)
{
    const int gap = std::max(0, width - int(text.size()));
    switch (align) {
    case ReportContent::Align::Right:
        return QString(gap, u' ') + text;
    case ReportContent::Align::Center:
        return QString(gap / 2, u' ') + text + QString(gap - gap / 2, u' ');
    default:
        return text + QString(gap, u' ');
    }
}

QString centred(const QString &source, int width)
{
    const QString text = printableText(source);
    const int gap = std::max(0, (width - int(text.size())) / 2);
    return QString(gap, u' ') + text;
}

// Column widths in characters: each column as wide as its longest text, the columns shrunk in
// proportion to their shares of the page when they do not fit.
std::vector<int> textColumnWidths(const ReportContent &content, int pageWidth)
{
    const std::size_t count = content.columns.size();
    std::vector<int> widths(count, 1);
    const auto measure = [&](const ReportContent::Row &row) {
        for (std::size_t c = 0; c < row.cells.size() && c < count; ++c)
            if (row.cells[c].span <= 1)
                widths[c] = std::max(widths[c], int(row.cells[c].text.size()));
    };
    for (const ReportContent::Row &row : content.headings)
        measure(row);
    for (const ReportContent::Block &block : content.blocks)
        for (const ReportContent::Row &row : block.rows)
            measure(row);
    const int gaps = 2 * int(std::max<std::size_t>(count, 1) - 1);
    int total = gaps;
    for (int w : widths)
        total += w;
    if (total <= pageWidth)
        return widths;
    double shares = 0;
    for (const ReportContent::Column &column : content.columns)
        shares += column.width;
    const int room = std::max(int(count) * 4, pageWidth - gaps);
    for (std::size_t c = 0; c < count; ++c) {
        const int share = int(std::floor(room * content.columns[c].width / std::max(shares, 1e-9)));
        widths[c] = std::min(widths[c], std::max(4, share));
    }
    return widths;
}

void appendTextRow(QStringList &out, const ReportContent &content,
                   const ReportContent::Row &row, const std::vector<int> &widths)
{
    std::vector<QStringList> cells;
    std::vector<int> cellWidths;
    std::vector<ReportContent::Align> aligns;
    std::size_t most = 1;
    for (std::size_t c = 0; c < row.cells.size() && c < widths.size();) {
        const int span = std::max(1, row.cells[c].span);
        int width = 0;
        for (std::size_t s = c; s < c + std::size_t(span) && s < widths.size(); ++s)
            width += widths[s] + (s > c ? 2 : 0);
        cells.push_back(wrapText(row.cells[c].text, width));
        cellWidths.push_back(width);
        aligns.push_back(content.columns[c].align);
        most = std::max<std::size_t>(most, std::size_t(cells.back().size()));
        c += std::size_t(span);
    }
    for (std::size_t line = 0; line < most; ++line) {
        QString text;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c > 0)
                text += QStringLiteral("  ");
            text += padded(cells[c].value(qsizetype(line)), cellWidths[c], aligns[c]);
        }
        out << (text.trimmed().isEmpty() ? QString() : text);
        // Trailing blanks are noise in a text file.
        while (out.last().endsWith(u' '))
            out.last().chop(1);
    }
}

// HTML -------------------------------------------------------------------------------------

QString escaped(const QString &text)
{
    QString html = printableText(text).toHtmlEscaped();
    html.replace(u'\n', QStringLiteral("<br>"));
    return html;
}

QString alignClass(ReportContent::Align align)
{
    switch (align) {
    case ReportContent::Align::Center:
        return QStringLiteral(" class=\"c\"");
    case ReportContent::Align::Right:
        return QStringLiteral(" class=\"r\"");
    default:
        return QString();
    }
}

QString htmlRow(const ReportContent &content, const ReportContent::Row &row, const char *cellTag)
{
    QString html = row.total ? QStringLiteral("<tr class=\"total\">") : QStringLiteral("<tr>");
    for (std::size_t c = 0; c < row.cells.size() && c < content.columns.size();) {
        const ReportContent::Cell &cell = row.cells[c];
        const int span = std::max(1, cell.span);
        QString style;
        if (cell.background.isValid())
            style += QStringLiteral("background:%1;").arg(cell.background.name());
        if (cell.foreground.isValid())
            style += QStringLiteral("color:%1;").arg(cell.foreground.name());
        if (cell.bold && !row.total && QLatin1String(cellTag) == u"td")
            style += QStringLiteral("font-weight:bold;");
        html += QLatin1Char('<') + QLatin1String(cellTag) + alignClass(content.columns[c].align);
        if (span > 1)
            html += QStringLiteral(" colspan=\"%1\"").arg(span);
        if (!style.isEmpty())
            html += QStringLiteral(" style=\"%1\"").arg(style);
        html += QLatin1Char('>') + escaped(cell.text) + QStringLiteral("</")
                + QLatin1String(cellTag) + QLatin1Char('>');
        c += std::size_t(span);
    }
    return html + QStringLiteral("</tr>\n");
}

QString htmlTableStart(const ReportContent &content)
{
    double shares = 0;
    for (const ReportContent::Column &column : content.columns)
        shares += column.width;
    QString html = QStringLiteral("<table>\n<colgroup>");
    for (const ReportContent::Column &column : content.columns)
        html += QStringLiteral("<col style=\"width:%1%\">")
                    .arg(shares > 0 ? column.width * 100 / shares : 0, 0, 'f', 1);
    html += QStringLiteral("</colgroup>\n<thead>\n");
    for (const ReportContent::Row &row : content.headings)
        html += htmlRow(content, row, "th");
    return html + QStringLiteral("</thead>\n<tbody>\n");
}

QString blockHeadingRow(const ReportContent &content, const QString &heading, bool continued)
{
    return QStringLiteral("<tr class=\"group\"><td colspan=\"%1\">%2</td></tr>\n")
        .arg(std::max<std::size_t>(1, content.columns.size()))
        .arg(escaped(heading) + (continued ? QStringLiteral(" (продолжение)") : QString()));
}

QString htmlHead(const ReportContent &content)
{
    QString title = content.title.isEmpty() ? content.pageHeader : content.title;
    if (!content.lines.isEmpty())
        title += QStringLiteral(" - ") + content.lines.first();
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<title>%1</title>\n<style>\n"
               "body { font-family: 'DejaVu Sans', Arial, sans-serif; font-size: 10pt; "
               "margin: 1.5em; }\n"
               "h1 { text-align: center; font-size: 15pt; margin: 0.3em 0; }\n"
               "p.line { text-align: center; font-size: 11pt; margin: 0.15em 0; }\n"
               "p.header, p.footer, p.page { font-size: 8pt; color: #444; }\n"
               "p.header { text-align: center; }\n"
               "p.page { text-align: right; }\n"
               "table { border-collapse: collapse; width: 100%; margin-top: 0.8em; }\n"
               "th, td { border: 1px solid #777; padding: 2px 5px; vertical-align: middle; }\n"
               "th { background: #ddd; }\n"
               "tr.group td { background: #eee; font-weight: bold; }\n"
               "tr.total td { background: #f4f4f4; font-weight: bold; }\n"
               ".c { text-align: center; } .r { text-align: right; }\n"
               "nav ul { columns: 3; } h2 { font-size: 12pt; margin: 1em 0 0; }\n"
               "div.sheet { page-break-after: always; margin-bottom: 2em; }\n"
               "div.sheet:last-child { page-break-after: auto; }\n"
               "</style>\n</head>\n<body>\n")
        .arg(escaped(title));
}

QString htmlTitle(const ReportContent &content)
{
    QString html;
    if (!content.title.isEmpty())
        html += QStringLiteral("<h1>%1</h1>\n").arg(escaped(content.title));
    for (const QString &line : content.lines)
        html += QStringLiteral("<p class=\"line\">%1</p>\n").arg(escaped(line));
    return html;
}

QString htmlSummary(const ReportContent &content)
{
    QString html;
    for (const QString &line : content.summary)
        html += QStringLiteral("<p class=\"summary\">%1</p>\n").arg(escaped(line));
    return html;
}

QString htmlPlain(const ReportContent &content)
{
    QString html = htmlTableStart(content);
    for (const ReportContent::Block &block : content.blocks) {
        if (!block.heading.isEmpty())
            html += blockHeadingRow(content, block.heading, false);
        for (const ReportContent::Row &row : block.rows)
            html += htmlRow(content, row, "td");
    }
    return html + QStringLiteral("</tbody>\n</table>\n");
}

QString htmlStructured(const ReportContent &content)
{
    QString html;
    bool headed = false;
    for (const ReportContent::Block &block : content.blocks)
        headed = headed || !block.heading.isEmpty();
    if (!headed)
        return htmlPlain(content);
    html += QStringLiteral("<nav>\n<ul>\n");
    for (std::size_t b = 0; b < content.blocks.size(); ++b) {
        const QString &heading = content.blocks[b].heading;
        if (!heading.isEmpty())
            html += QStringLiteral("<li><a href=\"#g%1\">%2</a></li>\n")
                        .arg(b + 1)
                        .arg(escaped(heading));
    }
    html += QStringLiteral("</ul>\n</nav>\n");
    for (std::size_t b = 0; b < content.blocks.size(); ++b) {
        const ReportContent::Block &block = content.blocks[b];
        html += QStringLiteral("<section id=\"g%1\">\n").arg(b + 1);
        if (!block.heading.isEmpty())
            html += QStringLiteral("<h2>%1</h2>\n").arg(escaped(block.heading));
        html += htmlTableStart(content);
        for (const ReportContent::Row &row : block.rows)
            html += htmlRow(content, row, "td");
        html += QStringLiteral("</tbody>\n</table>\n</section>\n");
    }
    return html;
}

QString htmlPaged(const ReportContent &content)
{
    const ReportPagination pages = paginateReport(content, reportArea(content));
    const int count = int(pages.pages.size());
    QString html;
    for (int p = 0; p < count; ++p) {
        html += QStringLiteral("<div class=\"sheet\">\n");
        if (!content.pageHeader.isEmpty())
            html += QStringLiteral("<p class=\"header\">%1</p>\n").arg(escaped(content.pageHeader));
        bool inTable = false;
        const auto openTable = [&] {
            if (!inTable)
                html += htmlTableStart(content);
            inTable = true;
        };
        for (const ReportPageItem &item : pages.pages[std::size_t(p)].items) {
            switch (item.kind) {
            case ReportPageItem::Kind::Title:
                html += QStringLiteral("<h1>%1</h1>\n").arg(escaped(content.title));
                break;
            case ReportPageItem::Kind::Line:
                html += QStringLiteral("<p class=\"line\">%1</p>\n")
                            .arg(escaped(content.lines[item.row]));
                break;
            case ReportPageItem::Kind::Headings:
                openTable();
                break;
            case ReportPageItem::Kind::BlockHeading:
                openTable();
                html += blockHeadingRow(content, content.blocks[std::size_t(item.block)].heading,
                                        item.continued);
                break;
            case ReportPageItem::Kind::Row:
                openTable();
                html += htmlRow(content,
                                content.blocks[std::size_t(item.block)].rows[std::size_t(item.row)],
                                "td");
                break;
            case ReportPageItem::Kind::Summary:
                if (inTable)
                    html += QStringLiteral("</tbody>\n</table>\n");
                inTable = false;
                html += QStringLiteral("<p class=\"summary\">%1</p>\n")
                            .arg(escaped(content.summary[item.row]));
                break;
            }
        }
        if (inTable)
            html += QStringLiteral("</tbody>\n</table>\n");
        if (!content.pageFooter.isEmpty())
            html += QStringLiteral("<p class=\"footer\">%1</p>\n").arg(escaped(content.pageFooter));
        html += QStringLiteral("<p class=\"page\">Страница %1 из %2</p>\n</div>\n")
                    .arg(p + 1)
                    .arg(count);
    }
    return html;
}

// RTF --------------------------------------------------------------------------------------

// Text in RTF: the characters of Windows-1251 as \'hh, the rest as \uN?.
QByteArray rtfText(const QString &source)
{
    const QString text = printableText(source);
    QByteArray out;
    out.reserve(text.size() * 5);
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\n') {
            out += "\\line ";
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c < 0x80) {
            out += char(c);
        } else if (c >= 0x0410 && c <= 0x044F) {
            out += "\\'" + QByteArray::number(0xC0 + (c - 0x0410), 16);
        } else if (c == 0x0401) {
            out += "\\'a8";
        } else if (c == 0x0451) {
            out += "\\'b8";
        } else {
            out += "\\u" + QByteArray::number(qint16(c)) + '?';
        }
    }
    return out;
}

QByteArray rtfAlign(ReportContent::Align align)
{
    switch (align) {
    case ReportContent::Align::Center:
        return "\\qc";
    case ReportContent::Align::Right:
        return "\\qr";
    default:
        return "\\ql";
    }
}

constexpr int kTwipsPerMm10 = 567; // twips in a centimetre

QByteArray rtfRow(const ReportContent &content, const ReportContent::Row &row,
                  const std::vector<int> &edges, bool heading, const char *shade,
                  bool leftAligned = false)
{
    QByteArray out = "\\trowd\\trgaph60\\trleft0";
    if (heading)
        out += "\\trhdr";
    out += "\\trkeep";
    QByteArray cells;
    for (std::size_t c = 0; c < row.cells.size() && c < edges.size();) {
        const ReportContent::Cell &cell = row.cells[c];
        const std::size_t span = std::size_t(std::max(1, cell.span));
        const std::size_t last = std::min(edges.size(), c + span) - 1;
        out += "\\clvertalc\\clbrdrt\\brdrs\\brdrw5\\clbrdrl\\brdrs\\brdrw5"
               "\\clbrdrb\\brdrs\\brdrw5\\clbrdrr\\brdrs\\brdrw5";
        if (shade)
            out += shade;
        out += "\\cellx" + QByteArray::number(edges[last]);
        const bool bold = cell.bold || row.total || heading;
        cells += "\\pard\\intbl"
                 + rtfAlign(heading       ? ReportContent::Align::Center
                            : leftAligned ? ReportContent::Align::Left
                                          : content.columns[c].align);
        cells += bold ? "\\b " : " ";
        cells += rtfText(cell.text);
        cells += bold ? "\\b0\\cell " : "\\cell ";
        c += span;
    }
    return out + '\n' + cells + "\\row\n";
}

} // namespace

QString reportToText(const ReportContent &content)
{
    const int pageWidth = content.landscape ? kLandscapeWidth : kTextWidth;
    const std::vector<int> widths = textColumnWidths(content, pageWidth);
    int tableWidth = 0;
    for (std::size_t c = 0; c < widths.size(); ++c)
        tableWidth += widths[c] + (c > 0 ? 2 : 0);
    const int width = std::max(tableWidth, 40);

    QStringList out;
    if (!content.pageHeader.isEmpty())
        for (const QString &line : wrapText(content.pageHeader, width))
            out << centred(line, width);
    if (!content.title.isEmpty())
        out << centred(content.title.toUpper(), width);
    for (const QString &line : content.lines)
        out << centred(line, width);
    out << QString();
    for (const ReportContent::Row &row : content.headings)
        appendTextRow(out, content, row, widths);
    out << QString(tableWidth, u'-');
    for (const ReportContent::Block &block : content.blocks) {
        if (!block.heading.isEmpty()) {
            if (out.last() != QString(tableWidth, u'-'))
                out << QString();
            out << block.heading;
        }
        for (const ReportContent::Row &row : block.rows) {
            if (row.total)
                out << QString(tableWidth, u'-');
            appendTextRow(out, content, row, widths);
        }
    }
    out << QString(tableWidth, u'-');
    for (const QString &line : content.summary)
        out << line;
    if (!content.pageFooter.isEmpty())
        out << QString() << content.pageFooter;
    // Headings, totals and the footer go out as they are: whatever control character they
    // hold is left out here.
    return printableText(out.join(u'\n')) + u'\n';
}

QString reportToHtml(const ReportContent &content, HtmlKind kind)
{
    QString html = htmlHead(content);
    if (kind != HtmlKind::Paged) {
        if (!content.pageHeader.isEmpty())
            html += QStringLiteral("<p class=\"header\">%1</p>\n").arg(escaped(content.pageHeader));
        html += htmlTitle(content);
        html += kind == HtmlKind::Structured ? htmlStructured(content) : htmlPlain(content);
        html += htmlSummary(content);
        if (!content.pageFooter.isEmpty())
            html += QStringLiteral("<p class=\"footer\">%1</p>\n").arg(escaped(content.pageFooter));
    } else {
        html += htmlPaged(content);
    }
    return html + QStringLiteral("</body>\n</html>\n");
}

QByteArray reportToRtf(const ReportContent &content)
{
    // A4 in twips, margins as printed.
    const int pageWidth = content.landscape ? 16838 : 11906;
    const int pageHeight = content.landscape ? 11906 : 16838;
    const int left = int(content.leftMarginMm * kTwipsPerMm10 / 10);
    const int right = 15 * kTwipsPerMm10 / 10;
    const int vertical = 12 * kTwipsPerMm10 / 10;
    const int printable = pageWidth - left - right;

    double shares = 0;
    for (const ReportContent::Column &column : content.columns)
        shares += column.width;
    std::vector<int> edges;
    double x = 0;
    for (const ReportContent::Column &column : content.columns) {
        x += shares > 0 ? printable * column.width / shares : 0;
        edges.push_back(int(std::lround(x)));
    }
    const int halfPoints = int(std::lround(content.fontPoints * 2));

    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\n"
                     "{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\n"
                     "{\\colortbl;\\red0\\green0\\blue0;\\red221\\green221\\blue221;"
                     "\\red238\\green238\\blue238;\\red244\\green244\\blue244;}\n";
    rtf += "\\paperw" + QByteArray::number(pageWidth) + "\\paperh"
           + QByteArray::number(pageHeight) + "\\margl" + QByteArray::number(left) + "\\margr"
           + QByteArray::number(right) + "\\margt" + QByteArray::number(vertical) + "\\margb"
           + QByteArray::number(vertical);
    if (content.landscape)
        rtf += "\\landscape";
    rtf += "\n\\sectd";
    if (content.landscape)
        rtf += "\\lndscpsxn";
    rtf += '\n';
    if (!content.pageHeader.isEmpty())
        rtf += "{\\header\\pard\\plain\\f0\\qc\\fs15 " + rtfText(content.pageHeader) + "\\par}\n";
    rtf += "{\\footer\\pard\\plain\\f0\\tqr\\tx" + QByteArray::number(printable) + "\\fs15 "
           + rtfText(content.pageFooter)
           + "\\tab " + rtfText(QStringLiteral("Страница "))
           + "{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}" + rtfText(QStringLiteral(" из "))
           + "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}\\par}\n";

    rtf += "\\pard\\qc\\b\\fs28 " + rtfText(content.title) + "\\b0\\par\n";
    for (const QString &line : content.lines)
        rtf += "\\pard\\qc\\fs21 " + rtfText(line) + "\\par\n";
    rtf += "\\pard\\fs" + QByteArray::number(halfPoints) + "\\par\n";

    for (const ReportContent::Row &row : content.headings)
        rtf += rtfRow(content, row, edges, true, "\\clcbpat2");
    for (const ReportContent::Block &block : content.blocks) {
        if (!block.heading.isEmpty()) {
            ReportContent::Row heading;
            ReportContent::Cell cell;
            cell.text = block.heading;
            cell.bold = true;
            cell.span = int(std::max<std::size_t>(1, content.columns.size()));
            heading.cells.push_back(cell);
            QByteArray row = rtfRow(content, heading, edges, false, "\\clcbpat3", true);
            // The heading stays on the page of the row under it.
            row.replace("\\pard\\intbl", "\\pard\\intbl\\keepn");
            rtf += row;
        }
        for (const ReportContent::Row &row : block.rows)
            rtf += rtfRow(content, row, edges, false, row.total ? "\\clcbpat4" : nullptr);
    }
    rtf += "\\pard\\par\n";
    for (const QString &line : content.summary)
        rtf += "\\pard\\ql\\fs21 " + rtfText(line) + "\\par\n";
    rtf += "}\n";
    return rtf;
}

} // namespace korvesta
