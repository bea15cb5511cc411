#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <vector>

namespace korvesta {

// A report laid out and filled, ready to be painted on pages or written to a file: the title
// and the lines under it, a table of columns with its rows in blocks (one block per group of
// the layout, or one block), and the lines after the table. Every writer works from this, so
// that the preview, the printout and each kind of file show the same report.
struct ReportContent
{
    enum class Align { Left, Center, Right };

    struct Column
    {
        QString caption;
        double width = 1; // a share of the printable width; the shares need not add up to 1
        Align align = Align::Left;
    };

    struct Cell
    {
        QString text;
        QColor background; // invalid: none
        QColor foreground; // invalid: the text colour
        bool bold = false;
        int span = 1; // columns this cell covers; the covered cells follow it empty
        // A cell under the top of a block merged down (a day beside its lessons) is empty;
        // this is the block's text, shown again where the row begins a page.
        QString carried;
    };

    // One row of the table; a row of the grid's heading kind repeats on every page.
    struct Row
    {
        std::vector<Cell> cells;
        bool total = false; // a total line (bold, shaded)
    };

    struct Block
    {
        QString heading; // empty: the block has none
        std::vector<Row> rows;
    };

    QString name;           // the report's name (its title in capitals)
    QString title;          // shown large at the top of the first page
    QStringList lines;      // under the title
    QString pageHeader;     // centred at the top of every page; empty: none
    double headerPoints = 7.5;
    QString pageFooter;     // small, at the left of every page's foot; empty: none
    bool landscape = false;
    double fontPoints = 9;  // the table's text
    double leftMarginMm = 15;

    std::vector<Column> columns;
    std::vector<Row> headings; // the column headings, repeated on every page
    std::vector<Block> blocks;
    QStringList summary; // after the table

    // The rows of the table, not counting headings and total lines.
    int dataRowCount() const
    {
        int count = 0;
        for (const Block &block : blocks)
            for (const Row &row : block.rows)
                count += row.total ? 0 : 1;
        return count;
    }
};

} // namespace korvesta
