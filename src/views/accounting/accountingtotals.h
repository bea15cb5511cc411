#pragma once

#include <QString>

#include <vector>

namespace korvesta {

class GridModel;

namespace accounting {

// The totals rows of an accounting view: the outline bar, a total row under each run of one
// name in a column and one under all rows, each summing the number columns from `firstSum` on
// in "#,##0". The value columns (from `firstValue` on: dates or groups) leave a total of 0
// empty, so that a row of a hundred dates shows only the days with lessons.
class Totals
{
public:
    Totals(GridModel &grid, int firstSum, int firstValue);

    struct Added
    {
        int row;      // the total's row
        int dataRows; // the rows it sums
    };
    // Totals under each run of equal texts in `groupOn`, which the total repeats; `caption`
    // in `captionCol`. Returns the rows added, top to bottom.
    std::vector<Added> add(int groupOn, int captionCol, const QString &caption);
    // The total of all data rows, in bold, as the last row. Returns its row (-1 without data).
    int addGrand(int captionCol, const QString &caption);

private:
    void writeSums(int row, const std::vector<double> &sums);

    GridModel &m_grid;
    int m_firstSum;
    int m_firstValue;
};

} // namespace accounting
} // namespace korvesta
