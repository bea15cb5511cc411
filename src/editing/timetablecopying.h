#pragma once

#include <QDate>
#include <QString>

#include <utility>
#include <vector>

namespace korvesta {

class Database;
class DocumentSession;
class Progress;
class Prompts;
class SettingsStore;
struct SettingsRecord;

// Copying the timetable of one date to another, of the working days of one week to another
// week, or of one date onto every working day of a period ("размножить").

enum class CopyPeriod { Day, Week };

// What becomes of the lessons the destination already has.
enum class CopyOverwrite {
    ClearFirst, // the destination's timetable is deleted before the copy
    Over        // the copy is added; only the lessons each copied one replaces go
};

struct CopyRequest
{
    CopyPeriod period = CopyPeriod::Day;
    QDate source;
    // Day: the date that receives the copy, or with `replicate` the last date of the period.
    // Week: any day of the week that receives the copy.
    QDate destination;
    CopyOverwrite overwrite = CopyOverwrite::ClearFirst;
    // Day only: the source goes onto every working day after it up to the destination (or
    // before it down to the destination).
    bool replicate = false;
};

enum class CopyOutcome {
    Done,      // every planned date was dealt with (some may have been skipped)
    Refused,   // a check or a question refused before anything was written; the user was told
    Cancelled, // the user stopped it; nothing was written
    Failed     // a document error stopped it; nothing was written; the user was told
};

// A lesson of the source that its destination did not receive, and why.
struct SkippedLesson
{
    QDate date; // the destination
    int lesson = 0;
    QString group; // "П-9 (1)"
    int subGroup = 0;
    QString discipline;
    QString tutor;
    QString reason; // "часы строки нагрузки отработаны", "преподаватель отсутствует", ...
};

struct CopyReport
{
    CopyOutcome outcome = CopyOutcome::Refused;
    // Destination dates that received the copy, in the order they were written.
    std::vector<QDate> copied;
    // Destination dates left alone: protected, or a vacation, a holiday or a date outside
    // the study period.
    std::vector<QDate> skippedProtected;
    std::vector<QDate> skippedHoliday;
    // Destination dates whose source day had no lesson, or whose every lesson's load line
    // was used up.
    std::vector<QDate> emptySource;
    std::vector<QDate> loadUsedUp;
    int rowsWritten = 0;
    // Lessons the destinations held that the copy removed or replaced.
    int rowsReplaced = 0;
    std::vector<SkippedLesson> skipped;
    // The status bar's last text: what was skipped; empty when there is nothing to say.
    QString summary;
};

// The skipped lessons as a table for the user: the headings, then a row per lesson.
QStringList skippedLessonHeadings();
QStringList skippedLessonCells(const SkippedLesson &lesson);

// The (source, destination) pairs of a command, in the order they are copied, before any
// check of the destinations. Week: from each week's Monday, `workDays` days. Replication:
// every date after the source towards the last date, that date included, whose weekday
// (Monday = 1) is not above `workDays`.
std::vector<std::pair<QDate, QDate>> copyPlan(const CopyRequest &request, int workDays);

// The undo step's caption: "копирование дня 14.09.2026 на 15.09.2026", "копирование недели
// 14.09–18.09.2026 на 21.09–25.09.2026", "размножение дня 14.09.2026 до 12.10.2026".
QString copyCaption(const CopyRequest &request, int workDays);

// The copy dialog's "Копировать" on the current document.
class TimetableCopying
{
public:
    TimetableCopying(DocumentSession &session, const SettingsRecord &settings,
                     const SettingsStore &store, Prompts &prompts, Progress &progress);

    // The checks in their order, the question about the lessons the destinations hold, then
    // every date of the plan in one transaction: the whole command is one undo step, and a
    // failure, a Cancel or a kill leaves the document as it was. Each source lesson is
    // checked on its destination as a placement would be (the load line's hours, the tutor's
    // exceptions, the clashes with what stays there); the ones left out are listed with the
    // reason. Never throws.
    CopyReport run(const CopyRequest &request);

private:
    struct Run;
    CopyReport copy(const Database &db, const CopyRequest &request, int workDays);
    // The lessons the destinations hold (those of protected dates aside): their number and
    // the sum of their keys, which stay the same only while nobody changes them.
    struct HeldLessons
    {
        qint64 count = 0;
        qint64 keys = 0;
        bool operator==(const HeldLessons &) const = default;
    };
    static HeldLessons heldLessons(const Database &db,
                                   const std::vector<std::pair<QDate, QDate>> &plan);
    // Asks before the lessons the destinations hold are removed or replaced; false when
    // refused.
    bool replacingAccepted(const CopyRequest &request, const HeldLessons &held);
    // Every date of the plan, in the caller's transaction. Throws DbError.
    void copyDates(Run &run, const std::vector<std::pair<QDate, QDate>> &plan);
    // One date: what it receives, what it loses and what it is refused go to the run's report.
    void copyDate(Run &run, const QDate &source, const QDate &destination);

    DocumentSession &m_session;
    const SettingsRecord &m_settings;
    const SettingsStore &m_store;
    Prompts &m_prompts;
    Progress &m_progress;
};

} // namespace korvesta
