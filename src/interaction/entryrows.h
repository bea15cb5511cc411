#pragma once

#include "editing/referencerows.h"

#include <QStringList>

namespace korvesta {

class GridModel;

// The entry row of a reference list (grid row 1) read into the record it describes, and the
// list rows it is filled from and found again in.
namespace entryrows {

// A name as the entry row takes it: a tab or line break typed or pasted into it (a cell copied
// from a spreadsheet) becomes a blank, runs of them one blank, and the ends are trimmed.
QString oneLine(const QString &text);

// The records read with every text on one line.
GroupRow readGroup(const GridModel &grid);
AuditoriumRow readAuditorium(const GridModel &grid);
DisciplineRow readDiscipline(const GridModel &grid);

// Copies the texts and own colours of a list row into the entry row.
void copyToEntryRow(GridModel &grid, int fromRow);

// A row of the list that stands for a record: not a header, a total or the summary row.
bool isRecordRow(const GridModel &grid, int row);

// The first cells (from column 1) that the list shows for the record of the entry row, in
// the form the list writes them; an empty text stands for any.
QStringList listedCells(const GridModel &grid, int viewCode);
// The first record row whose cells from column 1 agree with `cells` (ignoring letter case);
// -1 when none does.
int findListRow(const GridModel &grid, const QStringList &cells);

} // namespace entryrows
} // namespace korvesta
