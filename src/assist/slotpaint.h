#pragma once

#include "slotmap.h"

#include <QColor>
#include <QDate>
#include <QHash>
#include <QString>

namespace korvesta {

class GridModel;
struct TimetableLayout;

// The placement assistant over a day or week timetable: the cells of the line's group are
// green where the line can go, yellow where it can go with soft problems and keep their own
// colour where it cannot; each cell's tooltip tells why.
class SlotPaint
{
public:
    static QColor colorOf(SlotFit fit); // invalid for None

    // Paints the grid of a timetable view of that layout showing `date` (the day view) or
    // its week (the week view). False when no column of the grid shows the line's group.
    bool paint(GridModel &grid, const TimetableLayout &layout, const SlotMap &map,
               const AssistLine &line, const QDate &date);
    // What the assistant says of a cell painted last; empty for any other cell.
    QString toolTip(int row, int col) const;
    void clear() { m_tips.clear(); }

private:
    QHash<QPair<int, int>, QString> m_tips;
};

// The column of a day or week timetable grid showing the group; -1 when none does.
int groupColumn(const GridModel &grid, const TimetableLayout &layout, const AssistLine &line);

} // namespace korvesta
