#pragma once

#include "reportcontent.h"

#include <QString>

namespace korvesta {

class GridModel;

// How a view's grid is laid out as a printable table.
struct GridPrintOptions
{
    QString title;          // centred at the top of every page
    bool teachingLoad = false; // the load's first two columns take 38 % and 20 % of the width
    double fontPoints = 8;
};

// The grid as a table of pages: its shown columns that hold some text with widths in proportion to the grid's
// (as shares of the printable width), its fixed rows as the headings of every page, each
// shown row with its texts, colours and bold; cells merged across columns span them, cells
// merged down show their text once. Landscape for a grid of 6 columns or more; the left
// margin is an inch.
ReportContent gridReport(const GridModel &grid, const GridPrintOptions &options);

} // namespace korvesta
