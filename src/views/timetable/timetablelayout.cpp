#include "timetablelayout.h"

#include "data/calendar.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"

#include <algorithm>

namespace korvesta {

namespace {

const QString kCourseSuffix = QStringLiteral(" курс");

} // namespace

TimetableLayout TimetableLayout::make(TimetableKind kind, const SettingsRecord &record,
                                      int objectCount)
{
    TimetableLayout layout;
    layout.kind = kind;
    layout.objectCount = std::max(0, objectCount);
    layout.lessonsInDay = std::max(0, record.LessonsInDay);
    layout.lessonRowHeight = std::max(1, record.SubGroupCount) * 270;
    const bool groups = kind != TimetableKind::WorkSchedule;
    layout.useFaculty = groups && record.UseTypeFaculty;
    layout.headerRows = layout.useFaculty ? 3 : 2;
    if (kind == TimetableKind::Week) {
        layout.days = std::clamp(record.WorkDays, 1, 7);
        layout.outlineCol = 0;
        layout.dayCol = 1;
        layout.lessonCol = 2;
    }
    int next = layout.lessonCol + 1;
    const bool timeColumn = groups && record.ShowTimeLesson;
    if (timeColumn && !record.TimePlace)
        layout.timeCol = next++;
    layout.firstObjectCol = next;
    if (timeColumn && record.TimePlace)
        layout.timeCol = layout.firstObjectCol + layout.objectCount;
    return layout;
}

TimetableLayout TimetableLayout::ofGrid(TimetableKind kind, const SettingsRecord &record,
                                        const GridModel &grid)
{
    TimetableLayout layout = make(kind, record, 0);
    int count = grid.cols() - layout.firstObjectCol;
    if (layout.timeCol >= 0 && record.TimePlace)
        --count;
    return make(kind, record, count);
}

int TimetableLayout::columnCount() const
{
    const bool timeRight = timeCol >= firstObjectCol;
    return firstObjectCol + objectCount + (timeRight ? 1 : 0);
}

int TimetableLayout::fixedCols() const
{
    return firstObjectCol;
}

int TimetableLayout::lessonOfRow(const GridModel &grid, int row) const
{
    if (row < headerRows || row >= grid.rows() || grid.isSubtotal(row))
        return 0;
    QString text = grid.text(row, lessonCol);
    text = text.left(text.indexOf(QLatin1Char('\n')));
    bool ok = false;
    const int lesson = text.trimmed().toInt(&ok);
    return ok && lesson > 0 ? lesson : 0;
}

int TimetableLayout::weekdayOfRow(const GridModel &grid, int row) const
{
    if (row < headerRows || row >= grid.rows() || grid.isSubtotal(row))
        return 0;
    if (dayCol < 0)
        return 0;
    return weekdayNumber(grid.text(row, dayCol));
}

QString courseHeader(const QString &course)
{
    return course.toUpper() + kCourseSuffix;
}

QString courseFromHeader(const QString &header)
{
    if (header.endsWith(kCourseSuffix, Qt::CaseInsensitive))
        return header.chopped(kCourseSuffix.size());
    return header.section(QLatin1Char(' '), 0, 0);
}

QString weekdayName(int weekday)
{
    static const QString names[] = {
        QStringLiteral("Понедельник"), QStringLiteral("Вторник"), QStringLiteral("Среда"),
        QStringLiteral("Четверг"),     QStringLiteral("Пятница"), QStringLiteral("Суббота"),
        QStringLiteral("Воскресенье"),
    };
    return weekday >= 1 && weekday <= 7 ? names[weekday - 1] : QString();
}

} // namespace korvesta
