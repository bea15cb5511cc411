#pragma once

#include <QStringList>

namespace korvesta {

class GridModel;
struct ViewContext;

// The steps every frame shares: an emptied grid of the given shape with the outline bar off,
// header captions, widths as hundredths of the grid's width.
namespace frame {

// Empties the grid and gives it its shape.
void start(GridModel &grid, int rows, int cols, int fixedRows, int fixedCols);
// Writes the captions into a row from column `first` on, centred.
void setCaptions(GridModel &grid, int row, const QStringList &captions, int first = 0);
// `hundredths` of the width W, truncated to whole twips.
int share(int width, int hundredths);
// W: the grid's width as the window gave it, else the width the grid last knew.
int width(const ViewContext &ctx);
// Every frame leaves the current cell at the top left.
void finish(GridModel &grid);

} // namespace frame
} // namespace korvesta
