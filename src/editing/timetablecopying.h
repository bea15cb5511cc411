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
    Refused,   // a check refused before anything was written; the user was told
    Cancelled, // the user stopped it; the dates done stay done, the rest are untouched
    Failed     // a document error stopped it; the user was told
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
    // The status bar's last text: what was skipped; empty when there is nothing to say.
    QString summary;
};

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

    // The checks in their order, then every date of the plan, each in its own transaction,
    // the whole command one undo step. Never throws.
    CopyReport run(const CopyRequest &request);

private:
    struct Run;
    CopyReport copy(const Database &db, const CopyRequest &request, int workDays);
    // One date in one transaction: the rows written; 0, with nothing written, when every
    // source lesson's load line is used up. Throws DbError, the date untouched.
    int copyDate(Run &run, const QDate &source, const QDate &destination);

    DocumentSession &m_session;
    const SettingsRecord &m_settings;
    const SettingsStore &m_store;
    Prompts &m_prompts;
    Progress &m_progress;
};

} // namespace korvesta
