#include "gridtext.h"

#include "gridmodel.h"

#include <QStringList>

namespace korvesta {

namespace {

QString escapedCell(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    text.replace(u'\n', QStringLiteral("\\n"));
    text.replace(u'\r', QStringLiteral("\\n"));
    text.replace(u'\t', QStringLiteral("\\t"));
    return text;
}

QString cssColor(const QColor &color)
{
    return color.name(QColor::HexRgb);
}

// The style of a cell that differs from the page's: colours, bold, alignment.
QString cellStyle(const GridModel &grid, int row, int col, bool fixed)
{
    QStringList style;
    const QColor back = grid.cellBackColor(row, col);
    const QColor fore = grid.cellForeColor(row, col);
    if (back.isValid())
        style << QStringLiteral("background:%1").arg(cssColor(back));
    if (fore.isValid())
        style << QStringLiteral("color:%1").arg(cssColor(fore));
    style << QStringLiteral("font-weight:%1")
                 .arg(grid.cellBold(row, col) || fixed ? QStringLiteral("bold")
                                                       : QStringLiteral("normal"));
    const Qt::Alignment align = grid.cellAlignment(row, col);
    if (align & Qt::AlignHCenter)
        style << QStringLiteral("text-align:center");
    else if (align & Qt::AlignRight)
        style << QStringLiteral("text-align:right");
    return style.join(u';');
}

// A merged block is written by its first shown cell, which is not its corner when the
// corner's row or column is hidden.
int firstShownRow(const GridModel &grid, const CellRange &span)
{
    int row = span.top;
    while (row < span.bottom && grid.isRowHidden(row))
        ++row;
    return row;
}

int firstShownCol(const GridModel &grid, const CellRange &span)
{
    int col = span.left;
    while (col < span.right && grid.isColHidden(col))
        ++col;
    return col;
}

} // namespace

QString gridToTsv(const GridModel &grid)
{
    QString out;
    QStringList cells;
    for (int row = 0; row < grid.rows(); ++row) {
        cells.clear();
        for (int col = 0; col < grid.cols(); ++col)
            cells << escapedCell(grid.text(row, col));
        out += cells.join(u'\t');
        out += u'\n';
    }
    return out;
}

QString gridToHtml(const GridModel &grid)
{
    QString out = QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<style>"
        "table{border-collapse:collapse;font-family:sans-serif;font-size:9pt}"
        "td,th{border:1px solid #c0c0c0;padding:1px 4px;vertical-align:top;"
        "white-space:pre-wrap}</style></head>\n<body><table>\n");
    for (int row = 0; row < grid.rows(); ++row) {
        if (grid.isRowHidden(row))
            continue;
        out += QStringLiteral("<tr>");
        for (int col = 0; col < grid.cols(); ++col) {
            if (grid.isColHidden(col))
                continue;
            const CellRange span = grid.shownRange(row, col);
            int rowSpan = 1;
            int colSpan = 1;
            if (span.isValid() && !span.isSingleCell()) {
                if (firstShownRow(grid, span) != row || firstShownCol(grid, span) != col)
                    continue;
                for (int r = row + 1; r <= span.bottom; ++r)
                    rowSpan += grid.isRowHidden(r) ? 0 : 1;
                for (int c = col + 1; c <= span.right; ++c)
                    colSpan += grid.isColHidden(c) ? 0 : 1;
            }
            const bool fixed = row < grid.fixedRows() || col < grid.fixedCols();
            const QString tag = fixed ? QStringLiteral("th") : QStringLiteral("td");
            out += u'<' + tag;
            if (rowSpan > 1)
                out += QStringLiteral(" rowspan=\"%1\"").arg(rowSpan);
            if (colSpan > 1)
                out += QStringLiteral(" colspan=\"%1\"").arg(colSpan);
            out += QStringLiteral(" style=\"%1\">").arg(cellStyle(grid, row, col, fixed));
            out += grid.text(row, col).toHtmlEscaped();
            out += QStringLiteral("</") + tag + u'>';
        }
        out += QStringLiteral("</tr>\n");
    }
    out += QStringLiteral("</table></body></html>\n");
    return out;
}

} // namespace korvesta
