#pragma once

#include <vector>

namespace korvesta {

struct ExportFormat;
struct SheetPlan;

// Where the printed pages of an exported sheet begin, set by hand so that the spreadsheet
// program does not break where a reader is lost: never inside a block merged across the
// break (a month's heading, a tutor's rows), and never leaving a page with the grand total
// alone. The pages are measured as the program prints them: A4 within the format's margins,
// the repeated title rows and columns on each, the sheet's own row heights and column widths.
struct PageBreaks
{
    std::vector<int> rows; // a page starts at each of these rows
    std::vector<int> cols; // and at each of these columns
    int scale = 100;       // the print scale, in percent, that keeps a block on one page
};

// None for a sheet fitted to its page or narrowed to its width.
PageBreaks planPageBreaks(const SheetPlan &plan, const ExportFormat &format);

} // namespace korvesta
