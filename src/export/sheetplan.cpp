#include "sheetplan.h"

#include "exportformat.h"
#include "grid/gridmodel.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace korvesta {

namespace {

// Twips to the spreadsheet's column width in characters of its default font (about 7 pixels
// a character at 96 pixels an inch) and row height in points.
double widthInCharacters(int twips)
{
    return std::max(0.0, std::round(twips / 1440.0 * 96.0 / 7.0 * 100.0) / 100.0);
}

// Texts that are numbers as the grid writes them: "1 234", "-3", "12,5".
bool readNumber(const QString &text, double &value)
{
    if (text.isEmpty() || text.size() > 40)
        return false;
    QString plain = text.trimmed();
    plain.remove(QLatin1Char(' '));
    plain.remove(QChar(0x00A0));
    plain.remove(QChar(0x202F));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    if (plain.isEmpty())
        return false;
    for (const QChar c : plain) {
        if (!c.isDigit() && c != u'.' && c != u'-')
            return false;
    }
    bool ok = false;
    value = plain.toDouble(&ok);
    return ok && std::isfinite(value);
}

// Days since 30.12.1899, the spreadsheet's date numbers.
double serialDate(const QDate &date)
{
    return double(QDate(1899, 12, 30).daysTo(date));
}

// The date of a row of hours worked: the day from "07 Сен", month and year from
// "Сентябрь '26". Invalid when either does not read so.
QDate dayDate(const QString &day, const QString &month)
{
    const int quote = int(month.lastIndexOf(QStringLiteral(" '")));
    if (quote < 0)
        return {};
    bool ok = false;
    const int year = month.mid(quote + 2).trimmed().toInt(&ok);
    if (!ok)
        return {};
    const QString name = month.left(quote).trimmed();
    const QLocale russian(QLocale::Russian);
    int monthNumber = 0;
    for (int m = 1; m <= 12 && monthNumber == 0; ++m) {
        if (russian.standaloneMonthName(m, QLocale::LongFormat).compare(name, Qt::CaseInsensitive)
            == 0)
            monthNumber = m;
    }
    const int dayNumber = day.section(QLatin1Char(' '), 0, 0).toInt(&ok);
    if (monthNumber == 0 || !ok)
        return {};
    return QDate(year < 100 ? 2000 + year : year, monthNumber, dayNumber);
}

class Planner
{
public:
    Planner(const GridModel &grid, const ExportFormat &format)
        : m_grid(grid)
        , m_format(format)
    {}

    bool plan(SheetPlan &sheet, const ExportProgress &progress);

private:
    int styleOf(const SheetStyle &style);
    SheetStyle gridStyle(int row, int col) const;
    void mapColumns();
    void fillCell(int row, int col, SheetCell &cell);
    void writeTotals(int row);
    bool numericColumn(int sheetCol, int row); // a number or a formula above the row
    void writeRowTotal(int row);
    void addMerges();
    void addOutline();
    void sizeRowsAndColumns();
    bool isBody(int row) const { return row >= m_grid.fixedRows(); }

    const GridModel &m_grid;
    const ExportFormat &m_format;
    SheetPlan *m_sheet = nullptr;
    std::vector<int> m_sheetCol; // by grid column; -1 when left out
    int m_totalCol = -1;         // the row totals' column on the sheet
    int m_firstSummed = -1;      // the sheet columns the row totals sum
    int m_lastSummed = -1;
    std::unordered_map<quint64, std::vector<int>> m_styleIndex;
    std::vector<std::pair<int, bool>> m_numeric; // per sheet column: rows looked at, a number
};

int Planner::styleOf(const SheetStyle &style)
{
    const quint64 key = (quint64(style.back) << 32) ^ quint64(style.fore)
                        ^ (quint64(style.bold) << 60) ^ (quint64(style.wrap) << 61)
                        ^ (quint64(style.align) << 24) ^ (quint64(style.valign) << 28)
                        ^ (quint64(style.number) << 62);
    std::vector<int> &same = m_styleIndex[key];
    for (const int i : same) {
        if (m_sheet->styles[size_t(i)] == style)
            return i;
    }
    m_sheet->styles.push_back(style);
    same.push_back(int(m_sheet->styles.size() - 1));
    return same.back();
}

SheetStyle Planner::gridStyle(int row, int col) const
{
    SheetStyle style;
    style.bold = m_grid.cellBold(row, col);
    const QString text = m_grid.text(row, col);
    style.wrap = m_grid.wordWrap() || text.contains(QLatin1Char('\n'));
    const Qt::Alignment align = m_grid.cellAlignment(row, col);
    style.align = quint8(align & Qt::AlignHorizontal_Mask);
    style.valign = quint8((align & Qt::AlignVertical_Mask) >> 5);
    const QColor back = m_grid.cellBackColor(row, col);
    if (back.isValid() && back != m_grid.backColor() && back.rgb() != qRgb(255, 255, 255))
        style.back = back.rgb() | 0xff000000u;
    const QColor fore = m_grid.cellForeColor(row, col);
    if (fore.isValid() && fore.rgb() != qRgb(0, 0, 0))
        style.fore = fore.rgb() | 0xff000000u;
    return style;
}

void Planner::mapColumns()
{
    m_sheetCol.assign(size_t(m_grid.cols()), -1);
    int next = 0;
    for (int col = 0; col < m_grid.cols(); ++col) {
        if (col == m_format.rowTotalsAt)
            m_totalCol = next++;
        const bool out = std::find(m_format.leftOut.begin(), m_format.leftOut.end(), col)
                         != m_format.leftOut.end();
        if (!out)
            m_sheetCol[size_t(col)] = next++;
    }
    m_sheet->cols = next;
    if (m_totalCol >= 0) {
        m_firstSummed = m_totalCol + 1;
        m_lastSummed = next - 1;
        if (m_firstSummed > m_lastSummed)
            m_totalCol = -1; // nothing to sum: no column either
    }
}

void Planner::fillCell(int row, int col, SheetCell &cell)
{
    QString text = m_grid.text(row, col);
    SheetStyle style = gridStyle(row, col);
    if (text.size() > MaxCellText)
        text.truncate(MaxCellText);
    double number = 0;
    if (text.isEmpty()) {
        cell.kind = SheetCell::Empty;
    } else if (isBody(row) && col == m_format.dayDateCol && !m_grid.isSubtotal(row)) {
        const QDate date = dayDate(text, m_grid.text(row, m_format.monthCol));
        if (date.isValid()) {
            cell.kind = SheetCell::Number;
            cell.value = serialDate(date);
            style.number = SheetStyle::DayDate;
        } else {
            cell.kind = SheetCell::Text;
            cell.text = text;
        }
    } else if (isBody(row) && m_format.firstNumberCol >= 0 && col >= m_format.firstNumberCol
               && readNumber(text, number)) {
        cell.kind = SheetCell::Number;
        cell.value = number;
    } else {
        cell.kind = SheetCell::Text;
        cell.text = text;
    }
    cell.style = styleOf(style);
}

// A totals row sums the rows of its block: the rows straight above it up to the previous
// totals row of its level or a higher one, taking the totals of the blocks inside it rather
// than their rows. A total the grid shows that no such sum gives stays a number, so the sheet
// never shows other figures than the window did.
void Planner::writeTotals(int row)
{
    const CellRange group = m_grid.outlineGroup(row);
    if (!group.isValid())
        return;
    // The parts of the block as sheet row ranges, bottom to top.
    std::vector<std::pair<int, int>> parts;
    bool nested = false;
    for (int r = row - 1; r >= group.top;) {
        if (m_grid.isSubtotal(r)) {
            parts.emplace_back(r, r);
            nested = true;
            const CellRange inner = m_grid.outlineGroup(r);
            r = inner.isValid() ? inner.top - 1 : r - 1;
            continue;
        }
        if (!parts.empty() && !m_grid.isSubtotal(parts.back().first)
            && parts.back().first == r + 1)
            parts.back().first = r;
        else
            parts.emplace_back(r, r);
        --r;
    }
    std::reverse(parts.begin(), parts.end());

    for (int col = std::max(m_format.firstNumberCol, 0); col < m_grid.cols(); ++col) {
        const int sc = m_sheetCol[size_t(col)];
        SheetCell &cell = m_sheet->at(row, std::max(sc, 0));
        // An empty total of a column of numbers (nothing to add up yet) still gets its sum,
        // so that it follows what is typed into the block later.
        const bool empty = sc >= 0 && cell.kind == SheetCell::Empty && numericColumn(sc, row);
        if (sc < 0 || (cell.kind != SheetCell::Number && !empty))
            continue;
        const QString letter = columnName(sc);
        double sum = 0;
        int numbers = 0;
        int filled = 0;
        QStringList ranges;
        for (const auto &[top, bottom] : parts) {
            for (int r = top; r <= bottom; ++r) {
                const SheetCell &c = m_sheet->at(r, sc);
                if (c.kind == SheetCell::Number || c.kind == SheetCell::Formula) {
                    sum += c.value;
                    ++numbers;
                }
                if (c.kind != SheetCell::Empty)
                    ++filled;
            }
            ranges << (top == bottom ? letter + QString::number(top + 1)
                                     : letter + QString::number(top + 1) + QLatin1Char(':')
                                           + letter + QString::number(bottom + 1));
        }
        if (empty)
            cell.value = sum;
        const double shown = cell.value;
        const auto same = [shown](double v) {
            return std::abs(v - shown) <= 1e-9 * std::max(1.0, std::abs(shown));
        };
        QString function;
        if (same(sum))
            function = QStringLiteral("SUM");
        else if (!nested && same(numbers) && numbers == filled)
            function = QStringLiteral("COUNT");
        else if (!nested && same(filled))
            function = QStringLiteral("COUNTA");
        const QString formula = QLatin1Char('=') + function + QLatin1Char('(')
                                + ranges.join(QLatin1Char(',')) + QLatin1Char(')');
        if (function.isEmpty() || formula.size() > 8000)
            continue;
        cell.kind = SheetCell::Formula;
        cell.text = formula;
        SheetStyle style = m_sheet->styles[size_t(cell.style)];
        style.number = SheetStyle::Comma;
        cell.style = styleOf(style);
    }
}

// The rows above `row` are filled; each column is looked at from where it was left.
bool Planner::numericColumn(int sheetCol, int row)
{
    if (m_numeric.size() != size_t(m_sheet->cols))
        m_numeric.assign(size_t(m_sheet->cols), {0, false});
    auto &[scanned, found] = m_numeric[size_t(sheetCol)];
    for (; !found && scanned < row; ++scanned) {
        const SheetCell::Kind kind = m_sheet->at(scanned, sheetCol).kind;
        found = kind == SheetCell::Number || kind == SheetCell::Formula;
    }
    return found;
}

void Planner::writeRowTotal(int row)
{
    SheetCell &cell = m_sheet->at(row, m_totalCol);
    SheetStyle style = m_sheet->styles[size_t(m_sheet->at(row, m_firstSummed).style)];
    style.back = 0;
    style.align = quint8(Qt::AlignHCenter);
    if (!isBody(row)) {
        if (row == 0) {
            cell.kind = SheetCell::Text;
            cell.text = QStringLiteral("Всего");
            style.align = quint8(Qt::AlignHCenter);
        }
        cell.style = styleOf(style);
        return;
    }
    double sum = 0;
    for (int c = m_firstSummed; c <= m_lastSummed; ++c) {
        const SheetCell &summed = m_sheet->at(row, c);
        if (summed.kind == SheetCell::Number || summed.kind == SheetCell::Formula)
            sum += summed.value;
    }
    const QString r = QString::number(row + 1);
    cell.kind = SheetCell::Formula;
    cell.value = sum;
    cell.text = QStringLiteral("=SUM(%1:%2)")
                    .arg(columnName(m_firstSummed) + r, columnName(m_lastSummed) + r);
    style.number = SheetStyle::Comma;
    cell.style = styleOf(style);
}

void Planner::addMerges()
{
    // The row totals' caption stands over both header rows.
    if (m_totalCol >= 0 && m_grid.fixedRows() > 1)
        m_sheet->merges.push_back({0, m_totalCol, m_grid.fixedRows() - 1, m_totalCol});
    if (m_grid.mergeCells() == MergeMode::Never)
        return;
    std::vector<char> covered(size_t(m_grid.rows()) * size_t(m_grid.cols()), 0);
    const auto index = [&](int r, int c) { return size_t(r) * size_t(m_grid.cols()) + size_t(c); };
    for (int row = 0; row < m_grid.rows(); ++row) {
        for (int col = 0; col < m_grid.cols(); ++col) {
            if (covered[index(row, col)])
                continue;
            const CellRange block = m_grid.mergedRange(row, col);
            if (!block.isValid() || block.isSingleCell() || block.top != row || block.left != col)
                continue;
            bool free = true;
            for (int r = block.top; r <= block.bottom && free; ++r)
                for (int c = block.left; c <= block.right && free; ++c)
                    free = !covered[index(r, c)];
            if (!free)
                continue;
            for (int r = block.top; r <= block.bottom; ++r)
                for (int c = block.left; c <= block.right; ++c)
                    covered[index(r, c)] = 1;
            // The block's columns that stay on the sheet.
            int left = -1, right = -1;
            for (int c = block.left; c <= block.right; ++c) {
                if (m_sheetCol[size_t(c)] < 0)
                    continue;
                if (left < 0)
                    left = m_sheetCol[size_t(c)];
                right = m_sheetCol[size_t(c)];
            }
            if (left < 0 || (left == right && block.top == block.bottom))
                continue;
            if (!m_format.cornerTexts.isEmpty() && left == 0 && block.top < m_grid.fixedRows())
                continue;
            m_sheet->merges.push_back({block.top, left, block.bottom, right});
        }
    }
}

// Each row's level is the number of totals blocks it lies in.
void Planner::addOutline()
{
    std::vector<int> change(size_t(m_grid.rows()) + 1, 0);
    for (int row = m_grid.fixedRows(); row < m_grid.rows(); ++row) {
        if (!m_grid.isSubtotal(row))
            continue;
        const CellRange group = m_grid.outlineGroup(row);
        if (!group.isValid())
            continue;
        ++change[size_t(group.top)];
        --change[size_t(group.bottom) + 1];
    }
    int level = 0;
    for (int row = 0; row < m_grid.rows(); ++row) {
        level += change[size_t(row)];
        m_sheet->rowLevels[size_t(row)] = std::clamp(level, 0, 7);
    }
}

void Planner::sizeRowsAndColumns()
{
    const int defaultWidth = 1000; // twips, for a column the grid leaves at its default
    const auto widthOf = [&](int col) {
        const int twips = m_grid.colWidth(col);
        return twips < 0 ? defaultWidth : twips;
    };
    double scale = 1;
    if (m_format.widthsToPage) {
        // A4 across, less the margins and room for the cells' padding. A program whose
        // default font is wider than the width unit's scales the page to fit (see the page
        // setup).
        const double page =
            (8.27 - m_format.margins.left - m_format.margins.right) * 1440 * 0.9;
        double total = 0;
        for (int col = 0; col < m_grid.cols(); ++col) {
            if (m_sheetCol[size_t(col)] >= 0 && !m_grid.isColHidden(col))
                total += widthOf(col);
        }
        if (total > page)
            scale = page / total;
    }
    for (int col = 0; col < m_grid.cols(); ++col) {
        const int sc = m_sheetCol[size_t(col)];
        if (sc < 0)
            continue;
        m_sheet->colWidths[size_t(sc)] = widthInCharacters(int(widthOf(col) * scale));
        m_sheet->colHidden[size_t(sc)] = m_grid.isColHidden(col);
    }
    if (m_totalCol >= 0)
        m_sheet->colWidths[size_t(m_totalCol)] = widthInCharacters(800);
    // The totals' number format pads its digits on both sides: a column too narrow for that
    // shows "###" where the window showed the figure. Widths count characters of the book's
    // default font (11 points), the cells' is smaller.
    for (int sc = 0; sc < m_sheet->cols; ++sc) {
        int digits = 0;
        for (int row = 0; row < m_sheet->rows; ++row) {
            const SheetCell &cell = m_sheet->at(row, sc);
            if ((cell.kind == SheetCell::Number || cell.kind == SheetCell::Formula)
                && m_sheet->styles[size_t(cell.style)].number == SheetStyle::Comma)
                digits = std::max(digits, int(QString::number(std::llround(std::abs(cell.value)))
                                                   .size()));
        }
        if (digits == 0 || m_sheet->colHidden[size_t(sc)])
            continue;
        const double needed = (digits + (digits > 3 ? 1 : 0) + 4) * m_sheet->fontSize / 11 + 0.6;
        double &width = m_sheet->colWidths[size_t(sc)];
        width = std::max(width < 0 ? 8.43 : width, needed);
    }
    const double line = m_sheet->fontSize * 1.3 + 1;
    // The lines a cell's text takes: its own, and those its words wrap into in a column of
    // that many characters (of the book's default font, wider than the cells').
    const auto linesOf = [this](const QString &text, int sc) {
        const double chars = m_sheet->colWidths[size_t(sc)] < 0 ? 8.43
                                                                 : m_sheet->colWidths[size_t(sc)];
        const double perLine = std::max(1.0, chars * 11 / m_sheet->fontSize * 0.9);
        int lines = 0;
        for (const QString &part : QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'))) {
            int inLine = 0, count = 1;
            for (const QString &word : part.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const int length = int(word.size());
                if (inLine > 0 && inLine + 1 + length > perLine) {
                    ++count;
                    inLine = 0;
                }
                inLine += (inLine > 0 ? 1 : 0) + length;
            }
            lines += count;
        }
        return std::max(lines, 1);
    };
    for (int row = 0; row < m_grid.rows(); ++row) {
        int lines = 1;
        for (int col = 0; col < m_grid.cols(); ++col) {
            const int sc = m_sheetCol[size_t(col)];
            const QString text = m_grid.text(row, col);
            if (sc < 0 || text.isEmpty())
                continue;
            const CellRange span = m_grid.shownRange(row, col);
            const bool alone = !span.isValid() || span.isSingleCell();
            lines = std::max(lines, alone && m_sheet->styles[size_t(m_sheet->at(row, sc).style)].wrap
                                        ? linesOf(text, sc)
                                        : int(text.count(QLatin1Char('\n'))) + 1);
        }
        const int twips = m_grid.rowHeight(row);
        double points = twips < 0 ? -1 : twips / 20.0;
        // Lines that the grid's height would cut, as the grid shows them whole.
        if (lines > 1)
            points = std::max(points, lines * line + 2);
        m_sheet->rowHeights[size_t(row)] = std::min(points, 409.0);
    }
    if (m_format.headerRowsEven && m_grid.rows() > 1)
        m_sheet->rowHeights[0] = m_sheet->rowHeights[1];
}

bool Planner::plan(SheetPlan &sheet, const ExportProgress &progress)
{
    m_sheet = &sheet;
    const double points = m_grid.font().pointSizeF();
    sheet.fontSize = points > 0 ? points : 8;
    mapColumns();
    sheet.rows = m_grid.rows();
    sheet.cells.assign(size_t(sheet.rows) * size_t(sheet.cols), SheetCell{});
    sheet.colWidths.assign(size_t(sheet.cols), -1);
    sheet.colHidden.assign(size_t(sheet.cols), false);
    sheet.rowHeights.assign(size_t(sheet.rows), -1);
    sheet.rowLevels.assign(size_t(sheet.rows), 0);
    sheet.totalRows.assign(size_t(sheet.rows), false);
    styleOf(SheetStyle{});

    for (int row = 0; row < m_grid.rows(); ++row) {
        for (int col = 0; col < m_grid.cols(); ++col) {
            if (const int sc = m_sheetCol[size_t(col)]; sc >= 0)
                fillCell(row, col, sheet.at(row, sc));
        }
        sheet.totalRows[size_t(row)] = m_grid.isSubtotal(row);
        if (m_format.formulas && m_grid.isSubtotal(row))
            writeTotals(row);
        if (m_totalCol >= 0)
            writeRowTotal(row);
        if (progress && !progress(row + 1, m_grid.rows()))
            return false;
    }
    for (int i = 0; i < m_format.cornerTexts.size() && i < sheet.rows && sheet.cols > 0; ++i) {
        SheetCell &corner = sheet.at(i, 0);
        corner.kind = SheetCell::Text;
        corner.text = m_format.cornerTexts[i];
    }
    addMerges();
    addOutline();
    sizeRowsAndColumns();
    return true;
}

} // namespace

QString columnName(int col)
{
    QString name;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

SheetPlan planSheet(const GridModel &grid, const ExportFormat &format,
                    const ExportProgress &progress)
{
    SheetPlan sheet;
    Planner planner(grid, format);
    if (!planner.plan(sheet, progress))
        return SheetPlan{};
    return sheet;
}

} // namespace korvesta
