#pragma once

#include <QString>

namespace korvesta {

class GridModel;

// The grid as text, for the headless view command and for a person to read or diff.

// One line per row, every column's text separated by tabs: fixed rows and columns included,
// hidden columns too. A line break inside a cell is written as "\n", a tab as "\t".
QString gridToTsv(const GridModel &grid);

// An HTML page with one table: merged spans, back and fore colours and bold as the grid shows
// them, hidden rows and columns left out, header cells as <th>.
QString gridToHtml(const GridModel &grid);

} // namespace korvesta
