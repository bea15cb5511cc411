// The timetable views and the group passport: lesson assignment by double click with its
// checks of the date, the object pane that follows the cell, the exam date, and the
// busy-time menu's display switches.

#include "gridrouter.h"

#include "data/calendar.h"
#include "data/isodate.h"
#include "data/prompts.h"
#include "data/queries.h"
#include "editingtargets.h"
#include "grid/gridmodel.h"
#include "interactionhost.h"
#include "settings/settingsrecord.h"

namespace korvesta {

namespace {

const QString kCourseSuffix = QStringLiteral(" курс");

// A date or weekday named by a header cell: "Понедельник", "12.01.2026" or the two on
// separate lines. Invalid when the text names neither.
QDate dateInHeader(const QString &text, const QDate &calendarDate)
{
    const QDate monday = calendarDate.addDays(1 - calendarDate.dayOfWeek());
    for (const QString &part : text.split(QLatin1Char('\n'))) {
        const QString trimmed = part.trimmed();
        const QDateTime moment = parseMoment(trimmed);
        if (moment.isValid())
            return moment.date();
        if (const int weekday = weekdayNumber(trimmed); weekday > 0)
            return monday.addDays(weekday - 1);
    }
    return {};
}

} // namespace

// The day of a cell: the calendar date, and in the week view the day its row or column
// heading names.
QDate GridRouter::cellDate(int row) const
{
    const QDate calendar = m_host.calendarDate();
    if (code() != 41 || !calendar.isValid())
        return calendar;
    for (int col = 0; col < m_grid.fixedCols(); ++col) {
        if (const QDate date = dateInHeader(m_grid.text(row, col), calendar); date.isValid())
            return date;
    }
    for (int headerRow = 0; headerRow < m_grid.fixedRows(); ++headerRow) {
        const QDate date = dateInHeader(m_grid.text(headerRow, m_grid.currentCol()), calendar);
        if (date.isValid())
            return date;
    }
    return calendar;
}

void GridRouter::announceExam(int col, const QDate &date)
{
    const int fixed = m_grid.fixedRows();
    if (fixed < 2)
        return;
    const QString group = m_grid.text(fixed - 1, col).trimmed();
    if (group.isEmpty())
        return;
    QString course = m_grid.text(fixed - 2, col).trimmed();
    if (course.endsWith(kCourseSuffix, Qt::CaseInsensitive))
        course.chop(kCourseSuffix.size());
    const QString faculty =
        m_settings.UseTypeFaculty && fixed > 2 ? m_grid.text(0, col) : QString();
    if (m_queries.GetGroupExamDate(group, course, faculty) == date) {
        m_prompts.message(QStringLiteral("На данный день назначен экзамен в группе ") + group,
                          Prompts::Icon::Information);
    }
}

void GridRouter::assignLesson(int row, int col)
{
    if (!m_grid.isDataCell(row, col))
        return;
    const QDate date = cellDate(row);
    if (!date.isValid())
        return;
    if (date.dayOfWeek() > m_settings.WorkDays) {
        m_prompts.message(QStringLiteral("Выбран выходной день"), Prompts::Icon::Information);
        return;
    }
    if (code() == 42) {
        m_targets->assignLessonByTutor(row, col, date);
        return;
    }
    announceExam(col, date);
    m_targets->assignLessonByGroup(row, col, date);
}

void GridRouter::followTimetableCell()
{
    if (code() == 41) {
        const QDate date = cellDate(m_grid.currentRow());
        if (date.isValid() && date != m_host.calendarDate())
            m_host.setCalendarDate(date);
    }
    m_host.refreshObjectPane();
}

void GridRouter::examDateEdited(int row, int col)
{
    const QString text = m_grid.text(row, col).trimmed();
    QDate date;
    if (!text.isEmpty()) {
        date = parseMoment(text).date();
        if (!date.isValid()) {
            m_grid.setText(row, col, m_textBeforeEdit);
            m_prompts.message(QStringLiteral("Неверный формат даты"), Prompts::Icon::Critical);
            return;
        }
        m_grid.setText(row, col, date.toString(QStringLiteral("dd.MM.yyyy")));
    }
    m_targets->saveExamDate(row, date);
}

void GridRouter::busyKindShown(int kind, bool shown)
{
    m_targets->showBusyKind(kind, shown);
    m_host.repeatObjectClick();
}

void GridRouter::busyIconsShown(bool icons)
{
    m_targets->showBusyIcons(icons);
    m_host.repeatObjectClick();
}

void GridRouter::busyEveryWeek(bool everyWeek)
{
    m_targets->setBusyEveryWeek(everyWeek);
    m_host.repeatObjectClick();
}

} // namespace korvesta
