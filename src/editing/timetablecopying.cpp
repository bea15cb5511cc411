#include "timetablecopying.h"

#include "progress.h"

#include "data/calendar.h"
#include "data/database.h"
#include "data/dberror.h"
#include "data/dberrorhandler.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/isodate.h"
#include "data/prompts.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

#include <QStringList>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace korvesta {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString dayText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

// "14.09–18.09.2026"; the years are both written when they differ.
QString rangeText(const QDate &first, const QDate &last)
{
    if (first == last)
        return dayText(first);
    const QString from =
        first.year() == last.year() ? first.toString(QStringLiteral("dd.MM")) : dayText(first);
    return from + QStringLiteral("–") + dayText(last);
}

QString datesText(const std::vector<QDate> &dates)
{
    QStringList texts;
    for (const QDate &d : dates)
        texts << dayText(d);
    return texts.join(QStringLiteral(", "));
}

QDate mondayOf(const QDate &date)
{
    return date.addDays(1 - date.dayOfWeek());
}

int clampedWorkDays(int workDays)
{
    return std::clamp(workDays, 1, 7);
}

// The hours left of the load lines met during a command, so that each line is asked about
// once (qryCheckCopyOverJob) and the copies and deletions made since are counted in.
class LoadLedger
{
public:
    // False when the line's hours are used up; otherwise the lesson is counted against them.
    // A group without such a load line is never refused.
    bool take(const Database &db, int keyGroup, int keyJob)
    {
        Line &line = m_lines[{keyGroup, keyJob}];
        if (!line.asked) {
            QueryDef query = db.queryDef(QStringLiteral("qryCheckCopyOverJob"));
            query.setParameter(QStringLiteral("pKeyGroup"), keyGroup);
            query.setParameter(QStringLiteral("pKeyJob"), keyJob);
            const Recordset rs = query.openRecordset();
            line.asked = true;
            if (!rs.isEmpty()) {
                line.known = true;
                line.hours = rs.value(QStringLiteral("Hours")).toInt();
                line.count += rs.value(QStringLiteral("CountHours")).toInt();
            }
        }
        if (!line.known)
            return true;
        if (line.count >= line.hours)
            return false;
        ++line.count;
        return true;
    }

    // A lesson of the line goes (or is about to go, in the transaction that asks next).
    void release(int keyGroup, int keyJob) { --m_lines[{keyGroup, keyJob}].count; }

private:
    struct Line
    {
        bool asked = false;
        bool known = false;
        int hours = 0;
        int count = 0; // before it is asked: the lessons released meanwhile, as a negative
    };
    std::map<std::pair<int, int>, Line> m_lines;
};

// One lesson of the source date: what finds the lessons it replaces and counts its hours.
struct SourceLesson
{
    qint64 key = 0;
    QVariant keyJob, keyGroup, lesson, subGroup;
};

const QString &allUsedUpText()
{
    static const QString text =
        QStringLiteral("Не могу скопировать расписание, потому что") + kLineBreak
        + QStringLiteral("У всех преподавателей, занятых на дату исходного расписания") + kLineBreak
        + QStringLiteral("полностью отработана нагрузка.") + kLineBreak + kLineBreak
        + QStringLiteral("Но если Вы, таки, настаиваете на участии в этом безнадежном деле,")
        + kLineBreak
        + QStringLiteral("то прежде отключите в Настройках функцию ограничения переработки")
        + kLineBreak + QStringLiteral("или добавьте коллегам часов нагрузки,") + kLineBreak
        + QStringLiteral("только я Вам этого не говорил.");
    return text;
}

const QString kCopying = QStringLiteral("Копирование расписания");

// Runs head + "tblTimeTableContent.Key In (...)" + tail for the keys, a few hundred at a time,
// in the keys' order.
void executeForKeys(const Database &db, const QString &head, const std::vector<qint64> &keys,
                    const QString &tail)
{
    constexpr size_t kChunk = 500;
    for (size_t i = 0; i < keys.size(); i += kChunk) {
        QStringList texts;
        for (size_t j = i; j < std::min(keys.size(), i + kChunk); ++j)
            texts << QString::number(keys[j]);
        db.execute(head + QStringLiteral("tblTimeTableContent.Key In (")
                   + texts.join(QLatin1Char(',')) + QLatin1Char(')') + tail);
    }
}

CopyReport failedReport()
{
    CopyReport report;
    report.outcome = CopyOutcome::Failed;
    return report;
}

} // namespace

std::vector<std::pair<QDate, QDate>> copyPlan(const CopyRequest &request, int workDays)
{
    workDays = clampedWorkDays(workDays);
    std::vector<std::pair<QDate, QDate>> plan;
    const QDate &s = request.source;
    const QDate &d = request.destination;
    if (!s.isValid() || !d.isValid())
        return plan;
    if (request.period == CopyPeriod::Week) {
        const QDate ms = mondayOf(s);
        const QDate md = mondayOf(d);
        for (int i = 0; i < workDays; ++i)
            plan.emplace_back(ms.addDays(i), md.addDays(i));
    } else if (request.replicate) {
        const int step = s < d ? 1 : -1;
        for (QDate day = s; day != d;) {
            day = day.addDays(step);
            if (day.dayOfWeek() <= workDays)
                plan.emplace_back(s, day);
        }
    } else {
        plan.emplace_back(s, d);
    }
    return plan;
}

QString copyCaption(const CopyRequest &request, int workDays)
{
    workDays = clampedWorkDays(workDays);
    if (request.period == CopyPeriod::Week) {
        const QDate ms = mondayOf(request.source);
        const QDate md = mondayOf(request.destination);
        return QStringLiteral("копирование недели ") + rangeText(ms, ms.addDays(workDays - 1))
               + QStringLiteral(" на ") + rangeText(md, md.addDays(workDays - 1));
    }
    if (request.replicate)
        return QStringLiteral("размножение дня ") + dayText(request.source) + QStringLiteral(" до ")
               + dayText(request.destination);
    return QStringLiteral("копирование дня ") + dayText(request.source) + QStringLiteral(" на ")
           + dayText(request.destination);
}

// What one command keeps while it goes from date to date.
struct TimetableCopying::Run
{
    Run(const Database &database, const CopyRequest &copyRequest)
        : db(database)
        , request(copyRequest)
    {}

    const Database &db;
    const CopyRequest &request;
    bool jobOverFlow = true;
    bool saveCurrTable = false;
    LoadLedger ledger;
    std::map<QDate, int> sourceCounts;
    std::map<QDate, std::vector<SourceLesson>> sources;
    std::map<QDate, int> sourceDays; // the Key of each source date's row
    int done = 0;                    // progress steps: two per source lesson of every planned date
    int total = 0;

    int sourceCount(const QDate &s)
    {
        const auto found = sourceCounts.find(s);
        if (found != sourceCounts.end())
            return found->second;
        const Recordset rs = db.openRecordset(
            QStringLiteral("SELECT Count(tblTimeTableContent.Lesson) AS CountLesson FROM "
                           "tblTimeTableList INNER JOIN tblTimeTableContent ON "
                           "tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE "
                           "(((tblTimeTableList.Date)=%1));")
                .arg(sqlDateLiteral(s)));
        const int count = rs.isEmpty() ? 0 : rs.value(0).toInt();
        sourceCounts.emplace(s, count);
        return count;
    }

    // The source date's lessons in the order they were written. The source dates are never
    // destinations of the same command, so they are read once.
    const std::vector<SourceLesson> &sourceLessons(const QDate &s)
    {
        const auto found = sources.find(s);
        if (found != sources.end())
            return found->second;
        std::vector<SourceLesson> lessons;
        for (Recordset rs = db.openRecordset(
                 QStringLiteral("SELECT tblTimeTableContent.*, tblTimeTableList.ReadOnly FROM "
                                "tblTimeTableList INNER JOIN tblTimeTableContent ON "
                                "tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE "
                                "(((tblTimeTableList.Date)=%1)) ORDER BY "
                                "tblTimeTableContent.Key;")
                     .arg(sqlDateLiteral(s)));
             !rs.isEof(); rs.moveNext()) {
            sourceDays[s] = rs.value(QStringLiteral("Key_TTList")).toInt();
            lessons.push_back(
                {rs.value(QStringLiteral("Key")).toLongLong(), rs.value(QStringLiteral("Key_Job")),
                 rs.value(QStringLiteral("Key_Group")), rs.value(QStringLiteral("Lesson")),
                 rs.value(QStringLiteral("SubGroup"))});
        }
        return sources.emplace(s, std::move(lessons)).first->second;
    }

    int sourceDay(const QDate &s) const { return sourceDays.at(s); }
};

TimetableCopying::TimetableCopying(DocumentSession &session, const SettingsRecord &settings,
                                   const SettingsStore &store, Prompts &prompts, Progress &progress)
    : m_session(session)
    , m_settings(settings)
    , m_store(store)
    , m_prompts(prompts)
    , m_progress(progress)
{}

CopyReport TimetableCopying::run(const CopyRequest &request)
{
    CopyReport refused;
    const int workDays =
        clampedWorkDays(m_store.readInt(QStringLiteral("Settings"), QStringLiteral("WorkDays"), 5));
    if (!request.source.isValid() || !request.destination.isValid()) {
        m_prompts.message(QStringLiteral("Не указана дата исходного или нового расписания"),
                          Prompts::Icon::Warning);
        return refused;
    }
    const bool week = request.period == CopyPeriod::Week;
    if (week ? mondayOf(request.source) == mondayOf(request.destination)
             : request.source == request.destination) {
        m_prompts.message(
            week ? QStringLiteral("Неделя нового расписания совпадает с неделей исходного.")
                       + kLineBreak + QStringLiteral("Выберите другую неделю назначения.")
                 : QStringLiteral("Дата нового расписания совпадает с датой исходного.")
                       + kLineBreak + QStringLiteral("Выберите другую дату назначения."),
            Prompts::Icon::Warning);
        return refused;
    }
    if (!week && request.replicate && std::abs(request.source.daysTo(request.destination)) > 366) {
        m_prompts.message(QStringLiteral("Период размножения расписания длиннее года (%1 - %2).")
                                  .arg(dayText(request.source), dayText(request.destination))
                              + kLineBreak + QStringLiteral("Проверьте дату нового расписания."),
                          Prompts::Icon::Warning);
        return refused;
    }
    const std::optional<Database> db = m_session.access();
    if (!db)
        return failedReport();
    try {
        return copy(*db, request, workDays);
    } catch (const DbError &error) {
        // Only the checks before the first date can get here: the dates catch their own.
        m_progress.status(QString());
        m_session.handleError(error);
        return failedReport();
    }
}

CopyReport TimetableCopying::copy(const Database &db, const CopyRequest &request, int workDays)
{
    CopyReport report;
    const StudyCalendar calendar(db);
    const auto isProtected = [&](const QDate &date) {
        QueryDef query = db.queryDef(QStringLiteral("qryDateReadOnly"));
        query.setParameter(QStringLiteral("pDate"), date);
        const Recordset rs = query.openRecordset();
        return !rs.isEmpty() && rs.value(QStringLiteral("ReadOnly")).toBool();
    };

    if (request.period == CopyPeriod::Day) {
        const QDate &d = request.destination;
        if (isProtected(d)) {
            m_prompts.message(QStringLiteral("Расписание на ") + dayText(d)
                                  + QStringLiteral(" года") + kLineBreak
                                  + QStringLiteral("заблокировано для редактирования") + kLineBreak
                                  + QStringLiteral("Операция остановлена."),
                              Prompts::Icon::Warning);
            return report;
        }
        if (d.dayOfWeek() > workDays) {
            m_prompts.message(QStringLiteral("Выбран нерабочий день"));
            return report;
        }
        if (!request.replicate) {
            if (const QString refusal = calendar.refusal(d); !refusal.isEmpty()) {
                m_prompts.message(refusal + kLineBreak + QStringLiteral("Операция остановлена."),
                                  Prompts::Icon::Warning);
                return report;
            }
        }
    }

    const std::vector<std::pair<QDate, QDate>> plan = copyPlan(request, workDays);
    Run run(db, request);
    run.jobOverFlow = m_settings.JobOverFlow;
    run.saveCurrTable = m_settings.SaveCurrTable;
    for (const auto &[s, d] : plan)
        run.total += 2 * run.sourceCount(s);

    const History::Step step(db, copyCaption(request, workDays));
    bool toldUsedUp = false;
    bool cancelled = false;
    bool failed = false;
    for (const auto &[s, d] : plan) {
        if (m_progress.cancelled()) {
            cancelled = true;
            break;
        }
        const int steps = 2 * run.sourceCount(s);
        const int doneBefore = run.done;
        if (steps == 0) {
            report.emptySource.push_back(d); // nothing to copy, nothing said
            continue;
        }
        if (!calendar.refusal(d).isEmpty()) {
            report.skippedHoliday.push_back(d);
            run.done += steps;
            m_progress.advance(run.done, run.total);
            continue;
        }
        // A date is written whole or not at all; a document another program holds may be
        // waited for and the date tried again.
        const LoadLedger ledgerBefore = run.ledger;
        std::optional<int> written;
        for (;;) {
            try {
                if (!isProtected(d))
                    written = copyDate(run, s, d);
                break;
            } catch (const DbError &error) {
                run.ledger = ledgerBefore;
                run.done = doneBefore;
                if (askToRetryLocked(error, m_prompts))
                    continue;
                m_progress.status(QString());
                if (error.code() != dberr::Locked)
                    m_session.handleError(error);
                failed = true;
                break;
            }
        }
        if (failed)
            break;
        run.done = doneBefore + steps;
        m_progress.advance(run.done, run.total);
        if (!written) {
            report.skippedProtected.push_back(d);
            continue;
        }
        if (*written > 0) {
            report.copied.push_back(d);
            report.rowsWritten += *written;
            continue;
        }
        run.ledger = ledgerBefore;
        report.loadUsedUp.push_back(d);
        if (!toldUsedUp) {
            toldUsedUp = true;
            m_progress.status(QString());
            m_prompts.message(allUsedUpText(), Prompts::Icon::Warning);
        }
    }

    // Short enough for the status bar: the counts only.
    QStringList said;
    if (!report.skippedProtected.empty())
        said << QStringLiteral("заблокированных: %1").arg(report.skippedProtected.size());
    if (!report.skippedHoliday.empty())
        said << QStringLiteral("нерабочих: %1").arg(report.skippedHoliday.size());
    if (!report.loadUsedUp.empty() && plan.size() > 1)
        said << QStringLiteral("с отработанной нагрузкой: %1").arg(report.loadUsedUp.size());
    if (!said.isEmpty())
        report.summary = QStringLiteral("Скопировано дат: %1; пропущено ").arg(report.copied.size())
                         + said.join(QStringLiteral(", "));
    m_progress.status(report.summary);

    if (cancelled || failed) {
        report.outcome = cancelled ? CopyOutcome::Cancelled : CopyOutcome::Failed;
        if (plan.size() > 1 || !report.copied.empty()) {
            const QString head = cancelled ? QStringLiteral("Копирование расписания прервано.")
                                           : QStringLiteral("Копирование расписания остановлено "
                                                            "из-за ошибки.");
            const QString doneText =
                report.copied.empty()
                    ? QStringLiteral("Ни одна дата не скопирована.")
                    : QStringLiteral("Скопированы полностью даты (%1): ").arg(report.copied.size())
                          + (report.copied.size() <= 10
                                 ? datesText(report.copied)
                                 : dayText(report.copied.front()) + QStringLiteral(" ... ")
                                       + dayText(report.copied.back()));
            m_prompts.message(head + kLineBreak + doneText + kLineBreak
                                  + QStringLiteral("Остальные даты не изменены."),
                              cancelled ? Prompts::Icon::Information : Prompts::Icon::Warning);
        }
        return report;
    }
    report.outcome = report.copied.empty() && !report.loadUsedUp.empty() ? CopyOutcome::Refused
                                                                         : CopyOutcome::Done;
    return report;
}

int TimetableCopying::copyDate(Run &run, const QDate &source, const QDate &destination)
{
    const Database &db = run.db;
    const std::vector<SourceLesson> &lessons = run.sourceLessons(source);
    const bool over = run.request.overwrite == CopyOverwrite::Over;
    m_progress.status(kCopying + kLineBreak + QStringLiteral("проверяется дата назначения"));

    Database::Transaction transaction(db);
    Recordset row =
        db.openRecordset(QStringLiteral("SELECT tblTimeTableList.* FROM tblTimeTableList WHERE "
                                        "(((tblTimeTableList.Date)=%1));")
                             .arg(sqlDateLiteral(destination)));
    int day = row.isEmpty() ? 0 : row.value(QStringLiteral("Key")).toInt();
    const bool clear = day != 0 && !over;
    const QString ofDay =
        QStringLiteral(" FROM tblTimeTableContent WHERE tblTimeTableContent.Key_TTList = %1;")
            .arg(day);
    // The lessons the destination loses no longer count against their load lines. Nothing is
    // written before it is known that something will be copied.
    if (clear && run.jobOverFlow) {
        for (Recordset gone = db.openRecordset(
                 QStringLiteral("SELECT tblTimeTableContent.Key_Group, tblTimeTableContent.Key_Job")
                 + ofDay);
             !gone.isEof(); gone.moveNext())
            run.ledger.release(gone.value(0).toInt(), gone.value(1).toInt());
    }

    m_progress.status(kCopying + kLineBreak
                      + QStringLiteral("копируются данные из исхоного расписания"));
    std::vector<const SourceLesson *> collected;
    collected.reserve(lessons.size());
    for (const SourceLesson &l : lessons) {
        if (!run.jobOverFlow || run.ledger.take(db, l.keyGroup.toInt(), l.keyJob.toInt()))
            collected.push_back(&l);
        m_progress.advance(++run.done, run.total);
    }
    if (collected.empty())
        return 0; // the date stays as it was

    if (day == 0) {
        day = timetableDayKey(db, destination, run.saveCurrTable);
    } else if (clear) {
        // The destination's timetable goes; its date row stays, with the note it may carry,
        // and is protected as a new one would be.
        db.execute(QStringLiteral("DELETE") + ofDay);
        if (row.value(QStringLiteral("ReadOnly")).toBool() != run.saveCurrTable) {
            row.edit();
            row.setValue(QStringLiteral("ReadOnly"), run.saveCurrTable);
            row.update();
        }
    }

    m_progress.status(kCopying + kLineBreak + QStringLiteral("проводится запись данных"));
    if (over && !row.isEmpty()) {
        // What each copied lesson replaces goes first. Only lessons the date had before are
        // replaced: two source lessons answering for one place (two subgroups of one load
        // line) are both kept.
        // It only ever finds a lesson of the same group at the same lesson number: where
        // the date has none, there is nothing to ask.
        std::set<std::pair<int, int>> held;
        for (Recordset rs = db.openRecordset(
                 QStringLiteral("SELECT tblTimeTableContent.Lesson, tblTimeTableContent.Key_Group "
                                "FROM tblTimeTableContent WHERE "
                                "tblTimeTableContent.Key_TTList = %1;")
                     .arg(day));
             !rs.isEof(); rs.moveNext())
            held.emplace(rs.value(0).toInt(), rs.value(1).toInt());
        QueryDef replaced = db.queryDef(QStringLiteral("qryCopyReWrite"));
        std::set<qint64> gone;
        for (const SourceLesson *l : collected) {
            if (!held.count({l->lesson.toInt(), l->keyGroup.toInt()}))
                continue;
            replaced.setParameter(QStringLiteral("pKeyTTL"), day);
            replaced.setParameter(QStringLiteral("pLesson"), l->lesson);
            replaced.setParameter(QStringLiteral("pKeyGroup"), l->keyGroup);
            replaced.setParameter(QStringLiteral("pSubGroup"), l->subGroup);
            replaced.setParameter(QStringLiteral("pKeyJob"), l->keyJob);
            for (Recordset rs = replaced.openRecordset(); !rs.isEof(); rs.moveNext()) {
                if (gone.insert(rs.value(QStringLiteral("Key")).toLongLong()).second
                    && run.jobOverFlow)
                    run.ledger.release(rs.value(QStringLiteral("Key_Group")).toInt(),
                                       rs.value(QStringLiteral("Key_Job")).toInt());
            }
        }
        executeForKeys(db, QStringLiteral("DELETE FROM tblTimeTableContent WHERE "),
                       std::vector<qint64>(gone.begin(), gone.end()), QStringLiteral(";"));
    }
    // The copies, in the order the source's lessons were written: the whole day in one
    // statement, or the lessons kept by key.
    const QString insert =
        QStringLiteral("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, Key_Group, "
                       "SubGroup, Key_Aud, Key_TypeLesson) SELECT %1, tblTimeTableContent.Lesson, "
                       "tblTimeTableContent.Key_Job, tblTimeTableContent.Key_Group, "
                       "tblTimeTableContent.SubGroup, tblTimeTableContent.Key_Aud, "
                       "tblTimeTableContent.Key_TypeLesson FROM tblTimeTableContent WHERE ")
            .arg(day);
    const QString order = QStringLiteral(" ORDER BY tblTimeTableContent.Key;");
    if (collected.size() == lessons.size()) {
        db.execute(
            insert
            + QStringLiteral("tblTimeTableContent.Key_TTList = %1").arg(run.sourceDay(source))
            + order);
    } else {
        std::vector<qint64> keys;
        keys.reserve(collected.size());
        for (const SourceLesson *l : collected)
            keys.push_back(l->key);
        executeForKeys(db, insert, keys, order);
    }
    run.done += int(collected.size());
    m_progress.advance(run.done, run.total);
    transaction.commit();
    // The status bar keeps the stage's text until the next date's: the command clears it at
    // its end.
    return int(collected.size());
}

} // namespace korvesta
