#pragma once

#include "cellcomposer.h"
#include "timetablelayout.h"

#include <QColor>
#include <QHash>
#include <QString>

namespace korvesta {

class AuditoriumLabels;
class GridModel;
class Recordset;
class TooltipCache;

// One row of qryTimeTable or qryTimeTableWork as the timetable fills read it.
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

// Reads the rows of a timetable query, the field positions looked up once. A query without
// one of the fields is of another layout: the constructor throws ItemNotFound. The building
// (Corpus) is read when the query has it, for the auditorium labels given.
class LessonReader
{
public:
    explicit LessonReader(const Recordset &rs, const AuditoriumLabels *labels = nullptr);
    PlacedLesson read(const Recordset &rs) const;

private:
    int m_group, m_course, m_faculty, m_tutor, m_discipline, m_discipline1, m_aud;
    int m_shortType, m_longType, m_lesson, m_subGroup, m_discColor, m_groupColor;
    int m_corpus = -1;
    const AuditoriumLabels *m_labels; // Not owned.
};

// Puts the lessons of a date into the group columns of a day or week grid: the column by
// group, course and (with the faculty row) faculty, the row by lesson number and day.
class GroupLessonPlacer
{
public:
    GroupLessonPlacer(GridModel &grid, const TimetableLayout &layout, int code, bool showColor,
                      const AuditoriumLabels *labels = nullptr);

    // Places every row of the query for day `day` (1 for the day view); each placed lesson
    // is also added to `tooltips` when given.
    void placeAll(Recordset &rs, int day, TooltipCache *tooltips);

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
};

} // namespace korvesta
