#pragma once

#include <QDate>
#include <QString>

namespace korvesta {

class Database;
class DocumentSession;
class Progress;
class Prompts;
struct SettingsRecord;

// What a cleared cell or a deletion came to.
enum class ClearingOutcome {
    Done,    // the document was changed
    Empty,   // the cell held no lesson: nothing to remove
    Refused, // a protected date, a declined question, an unknown group or tutor
    Failed   // a document error, told through the shared handler
};

// A deletion of whole dates: how far it went.
struct TimetableDeletion
{
    ClearingOutcome outcome = ClearingOutcome::Done;
    int deleted = 0;        // dates whose lessons were removed
    int protectedDates = 0; // dates skipped as protected
    bool cancelled = false; // the user stopped it; nothing was deleted
    QDate first;            // the span of the dates gone through, in date order (null: none)
    QDate last;
};

// Removing placed lessons: one cell of a timetable view (the Delete key), or whole dates (a
// date, a week, the whole period). Protected dates are never changed. Every removal is one
// undo step and one transaction: a failure, a Cancel or a kill leaves every date as it was.
//
// A date's row goes with its last lesson, except when it carries a note: the note needs it.
class TimetableClearing
{
public:
    TimetableClearing(DocumentSession &session, const SettingsRecord &settings, Prompts &prompts);

    // The lessons of the group at the lesson on the date, every subgroup. The group is named
    // as its timetable column shows it; the faculty may be empty.
    ClearingOutcome clearGroupCell(const QDate &date, int lesson, const QString &group,
                                   const QString &course, const QString &faculty);
    // The tutor's lessons at the lesson on the date, for every group of a lecture.
    ClearingOutcome clearTutorCell(const QDate &date, int lesson, const QString &tutor);

    // Every date from first to last (either order), and every date that has lessons. The
    // status texts go to progress: each protected date skipped, "Удаление завершено" at the
    // end, or that nothing changed when the user stopped it.
    TimetableDeletion deleteRange(const QDate &first, const QDate &last, Progress &progress);
    TimetableDeletion deleteAll(Progress &progress);

    // The status bar's text after clearing a cell ("" when there is none to show).
    const QString &statusText() const { return m_status; }

    static QString completedText() { return QStringLiteral("Удаление завершено"); }
    // "Дата 16.09.2026 заблокирована для редактирования".
    static QString protectedDateText(const QDate &date);

private:
    enum class Column { Group, Tutor };
    ClearingOutcome clearCell(Column column, const QDate &date, int lesson, const QString &name,
                              const QString &course, const QString &faculty);
    // Dates is the statement listing Key and Date of the dates to delete.
    TimetableDeletion deleteDates(const QString &dates, const QString &caption, Progress &progress);

    DocumentSession &m_session;
    const SettingsRecord &m_settings;
    Prompts &m_prompts;
    QString m_status;
};

// Removes the lessons of a date (by the Key of its tblTimeTableList row) and, unless it has
// a note, the date's row; in the caller's transaction. Throws DbError.
void removeTimetableDate(const Database &db, int keyDay);

} // namespace korvesta
