#pragma once

#include <QString>

namespace korvesta {

class GridModel;
struct SettingsRecord;

enum class TimetableKind { Day, Week, WorkSchedule };

// Where things stand in the grid of a timetable view. Every timetable frame is built from
// this and every reader of a timetable grid (fills, tooltips, editors) finds its rows and
// columns through it.
//
// Day:  [lesson] [time, left] groups... [time, right]
// Week: [outline] [weekday] [lesson] [time, left] groups... [time, right]
// Work schedule: [lesson and time] tutors...
//
// Header rows, top down: the faculty row (groups, only with UseTypeFaculty), the course row
// and the group row; in the work schedule the tutor row and the "занятия" row. Below them
// the lesson rows, one block of LessonsInDay rows per day. The "Время занятия" column of
// the group views stands left of the groups or after them by TimePlace; the work schedule
// joins the time to the lesson number in its first column.
struct TimetableLayout
{
    TimetableKind kind = TimetableKind::Day;
    bool useFaculty = false;
    int headerRows = 2;
    int lessonsInDay = 0;
    int days = 1;
    int lessonRowHeight = 540; // twips
    int outlineCol = -1;
    int dayCol = -1;
    int lessonCol = 0;
    int timeCol = -1;
    int firstObjectCol = 1; // the first group or tutor column
    int objectCount = 0;

    static TimetableLayout make(TimetableKind kind, const SettingsRecord &record,
                                int objectCount);
    // The layout of a grid built by a timetable frame with the same settings.
    static TimetableLayout ofGrid(TimetableKind kind, const SettingsRecord &record,
                                  const GridModel &grid);

    int columnCount() const;
    int rowCount() const { return headerRows + days * lessonsInDay; }
    int fixedCols() const;
    int facultyRow() const { return useFaculty ? 0 : -1; }
    int courseRow() const { return headerRows - 2; }
    // The group row, or the tutor row of the work schedule.
    int objectRow() const { return kind == TimetableKind::WorkSchedule ? 0 : headerRows - 1; }
    bool isObjectCol(int col) const
    {
        return col >= firstObjectCol && col < firstObjectCol + objectCount;
    }
    // The row of a lesson (1-based) of a day (1-based) as the frame builds it.
    int rowOf(int day, int lesson) const
    {
        return headerRows + (day - 1) * lessonsInDay + lesson - 1;
    }
    // The lesson number and the weekday (Monday 1) a grid row belongs to, read from the
    // row's own cells so that subtotal rows in between do not matter; 0 for other rows.
    int lessonOfRow(const GridModel &grid, int row) const;
    int weekdayOfRow(const GridModel &grid, int row) const;
};

// The course header of a group column ("1 курс" for course "1") and the course it names.
QString courseHeader(const QString &course);
QString courseFromHeader(const QString &header);
// The Russian name of a weekday (Monday 1), as the week view's day column shows it.
QString weekdayName(int weekday);

} // namespace korvesta
