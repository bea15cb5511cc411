#pragma once

#include "cellcomposer.h"
#include "timetablelayout.h"

#include <QColor>
#include <QDate>
#include <QHash>
#include <QString>

#include <functional>
#include <vector>

namespace korvesta {

class AuditoriumLabels;
class GridModel;
class TooltipCache;

// A lesson as the timetable fills place it.
struct PlacedLesson
{
    LessonTexts texts;
    QString course;
    QString faculty;
    int lesson = 0;
    int subGroup = 0;
    QColor discColor; // invalid when not set
    QColor groupColor;
};

struct DatedLesson;

// Puts the lessons of a date into the group columns of a day or week grid: the column by
// group, course and (with the faculty row) faculty, the row by lesson number and day.
class GroupLessonPlacer
{
public:
    GroupLessonPlacer(GridModel &grid, const TimetableLayout &layout, int code, bool showColor,
                      const AuditoriumLabels *labels = nullptr);

    // Places the lessons, each on its day counted from `firstDay` (day 1); each placed lesson
    // is also added to `tooltips` when given.
    void placeAll(const std::vector<DatedLesson> &lessons, const QDate &firstDay,
                  TooltipCache *tooltips);

    // The grid row of a lesson of a day, -1 to leave the lesson out; the frame's rows (the
    // layout's) unless set.
    void setRows(std::function<int(int day, int lesson)> rows) { m_rows = std::move(rows); }

    // The column a lesson of the group belongs to; -1 when no column shows the group.
    int columnOf(const QString &group, const QString &course, const QString &faculty) const;

private:
    QString columnKey(const QString &group, const QString &course, const QString &faculty) const;
    void place(const PlacedLesson &lesson, int col, int day);

    GridModel &m_grid;
    const TimetableLayout &m_layout;
    int m_code;
    bool m_showColor;
    const AuditoriumLabels *m_labels; // Not owned.
    QHash<QString, int> m_columns;
    QHash<int, int> m_groupColumns; // by group key, as columnOf found them
    std::function<int(int, int)> m_rows;
};

} // namespace korvesta
