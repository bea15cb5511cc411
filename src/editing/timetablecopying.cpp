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
#include "data/tutorabsence.h"
#include "editing/lessonclashes.h"
#include "editing/linehours.h"
#include "editing/timetablerows.h"
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

QDate mondayOf(const QDate &date)
{
    return date.addDays(1 - date.dayOfWeek());
}

int clampedWorkDays(int workDays)
{
    return std::clamp(workDays, 1, 7);
}

// The hours left of the load lines met during a command, so that each line is asked about
// once (qryCheckCopyOverJob), inside the command's transaction, and the copies and deletions
// made since are counted in: a line is asked before its first lesson is counted either way.
class LoadLedger
{
public:
    // False when the line's hours are used up; otherwise the lesson is counted against them.
    // A group without such a load line is never refused.
    bool take(const Database &db, int keyGroup, int keyJob)
    {
        Line &l = line(db, keyGroup, keyJob);
        if (!l.known)
            return true;
        if (l.count >= l.hours)
            return false;
        ++l.count;
        return true;
    }
    // The lines a command will count, read at once rather than a statement each.
    void preload(const Database &db, const std::vector<std::pair<int, int>> &lines)
    {
        const std::map<std::pair<int, int>, LineHours> read = readLineHours(db, lines);
        for (const std::pair<int, int> &key : lines) {
            const auto found = read.find(key);
            Line l;
            if (found != read.end())
                l = {true, found->second.hours, found->second.lessons};
            m_lines.try_emplace(key, l);
        }
    }
    // A lesson of the line is about to go.
    void release(const Database &db, int keyGroup, int keyJob)
    {
        --line(db, keyGroup, keyJob).count;
    }
    // A release taken back: the lesson stays after all.
    void restore(const Database &db, int keyGroup, int keyJob)
    {
        ++line(db, keyGroup, keyJob).count;
    }

private:
    struct Line
    {
        bool known = false;
        int hours = 0;
        int count = 0;
    };
    Line &line(const Database &db, int keyGroup, int keyJob)
    {
        const auto found = m_lines.find({keyGroup, keyJob});
        if (found != m_lines.end())
            return found->second;
        Line l;
        QueryDef query = db.queryDef(QStringLiteral("qryCheckCopyOverJob"));
        query.setParameter(QStringLiteral("pKeyGroup"), keyGroup);
        query.setParameter(QStringLiteral("pKeyJob"), keyJob);
        const Recordset rs = query.openRecordset();
        if (!rs.isEmpty()) {
            l.known = true;
            l.hours = rs.value(QStringLiteral("Hours")).toInt();
            l.count = rs.value(QStringLiteral("CountHours")).toInt();
        }
        return m_lines.emplace(std::pair{keyGroup, keyJob}, l).first->second;
    }

    std::map<std::pair<int, int>, Line> m_lines;
};

// One lesson of the source date: what finds the lessons it replaces, counts its hours and
// meets the clash rules, and what names it when it is left out.
using SourceLesson = SlotLesson;

const QString kLoadUsedUp = QStringLiteral("часы строки нагрузки отработаны");
const QString kTutorAway = QStringLiteral("преподаватель отсутствует");

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

// The user stopped the command: nothing of it stays.
struct CopyCancelled
{};

} // namespace

QStringList skippedLessonHeadings()
{
    return {QStringLiteral("Дата"),       QStringLiteral("Урок"),
            QStringLiteral("Группа"),     QStringLiteral("Подгруппа"),
            QStringLiteral("Дисциплина"), QStringLiteral("Преподаватель"),
            QStringLiteral("Причина")};
}

QStringList skippedLessonCells(const SkippedLesson &l)
{
    return {dayText(l.date),
            QString::number(l.lesson),
            l.group,
            l.subGroup > 0 ? QString::number(l.subGroup) : QString(),
            l.discipline,
            l.tutor,
            l.reason};
}

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
    Run(const Database &database, const CopyRequest &copyRequest, CopyReport &copyReport)
        : db(database)
        , request(copyRequest)
        , report(copyReport)
        , calendar(database)
        , absences(TutorAbsences::read(database))
    {}

    const Database &db;
    const CopyRequest &request;
    CopyReport &report;
    const StudyCalendar calendar;
    const TutorAbsences absences;
    bool jobOverFlow = true;
    bool saveCurrTable = false;
    LoadLedger ledger;
    std::map<QDate, std::vector<SourceLesson>> sources;
    std::map<QDate, int> sourceDays; // the Key of each source date's row
    int done = 0; // progress steps: one per source lesson of every planned date
    int total = 0;

    // The source date's lessons in the order they were written. The source dates are never
    // destinations of the same command, so they are read once.
    const std::vector<SourceLesson> &sourceLessons(const QDate &s)
    {
        const auto found = sources.find(s);
        if (found != sources.end())
            return found->second;
        std::vector<SourceLesson> lessons = lessonsOfDate(db, s);
        if (!lessons.empty())
            sourceDays[s] = existingDayKey(db, s);
        return sources.emplace(s, std::move(lessons)).first->second;
    }

    int sourceDay(const QDate &s) const { return sourceDays.at(s); }

    void skip(const QDate &destination, const SourceLesson &l, const QString &reason)
    {
        report.skipped.push_back(
            {destination, l.lesson, l.group, l.subGroup, l.discipline, l.tutor, reason});
    }
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
        // Only the checks before the transaction can get here: it catches its own.
        m_progress.status(QString());
        m_session.handleError(error);
        return failedReport();
    }
}

TimetableCopying::HeldLessons
TimetableCopying::heldLessons(const Database &db, const std::vector<std::pair<QDate, QDate>> &plan)
{
    QStringList dates;
    for (const auto &[s, d] : plan)
        dates << sqlDateLiteral(d);
    if (dates.isEmpty())
        return {};
    const Recordset rs = db.openRecordset(
        QStringLiteral("SELECT Count(tblTimeTableContent.Key), Sum(tblTimeTableContent.Key) FROM "
                       "tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key "
                       "= tblTimeTableContent.Key_TTList WHERE tblTimeTableList.[Date] In (%1) "
                       "AND tblTimeTableList.ReadOnly = False;")
            .arg(dates.join(QLatin1Char(','))));
    if (rs.isEmpty())
        return {};
    return {rs.value(0).toLongLong(), rs.value(1).toLongLong()};
}

bool TimetableCopying::replacingAccepted(const CopyRequest &request, const HeldLessons &held)
{
    if (held.count == 0)
        return true;
    const bool clear = request.overwrite == CopyOverwrite::ClearFirst;
    const QString question =
        QStringLiteral("На датах назначения уже есть занятия: %1.").arg(held.count) + kLineBreak
        + (clear ? QStringLiteral("Перед копированием они будут удалены.")
                 : QStringLiteral("Занятия тех же групп на тех же уроках будут заменены копией."))
        + kLineBreak + kLineBreak + QStringLiteral("Продолжить?");
    return m_prompts.askYesNo(question, Prompts::Icon::Question) == Prompts::Answer::Yes;
}

CopyReport TimetableCopying::copy(const Database &db, const CopyRequest &request, int workDays)
{
    CopyReport report;
    if (request.period == CopyPeriod::Day) {
        const QDate &d = request.destination;
        if (dateProtected(db, d)) {
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
            if (const QString refusal = StudyCalendar(db).refusal(d); !refusal.isEmpty()) {
                m_prompts.message(refusal + kLineBreak + QStringLiteral("Операция остановлена."),
                                  Prompts::Icon::Warning);
                return report;
            }
        }
    }

    const std::vector<std::pair<QDate, QDate>> plan = copyPlan(request, workDays);
    const HeldLessons held = heldLessons(db, plan);
    if (!replacingAccepted(request, held))
        return report;

    // The whole command is one transaction, read and written under the document's write
    // lock: the hours, exceptions and clashes it checks are those it writes over. A document
    // another program holds may be waited for and the command run again from the start.
    for (;;) {
        CopyReport pending;
        try {
            const History::Step step(db, copyCaption(request, workDays));
            Database::Transaction transaction(db);
            std::vector<QDate> targets;
            for (const auto &[from, onto] : plan)
                targets.push_back(onto);
            db.lockDates(targets);
            // What the user agreed to lose is what the destinations hold now: another
            // planner may have placed or removed lessons there since.
            if (heldLessons(db, plan) != held) {
                m_prompts.message(QStringLiteral("Пока шёл вопрос, другой плановик изменил "
                                                 "расписание на датах назначения.")
                                      + kLineBreak
                                      + QStringLiteral("Расписание не изменено; повторите "
                                                       "копирование."),
                                  Prompts::Icon::Warning);
                return report;
            }
            Run run(db, request, pending);
            run.jobOverFlow = m_settings.JobOverFlow;
            run.saveCurrTable = m_settings.SaveCurrTable;
            copyDates(run, plan);
            transaction.commit();
            report = std::move(pending);
            break;
        } catch (const CopyCancelled &) {
            m_progress.status(QString());
            report.outcome = CopyOutcome::Cancelled;
            m_prompts.message(QStringLiteral("Копирование расписания прервано.") + kLineBreak
                                  + QStringLiteral("Расписание не изменено."),
                              Prompts::Icon::Information);
            return report;
        } catch (const DbError &error) {
            if (askToRetryLocked(error, m_prompts))
                continue;
            m_progress.status(QString());
            if (error.code() != dberr::Locked)
                m_session.handleError(error);
            if (plan.size() > 1)
                m_prompts.message(QStringLiteral("Копирование расписания остановлено из-за "
                                                 "ошибки.")
                                      + kLineBreak + QStringLiteral("Расписание не изменено."),
                                  Prompts::Icon::Warning);
            return failedReport();
        }
    }

    // Told once the copy is written: short enough for the status bar, the counts only.
    QStringList said;
    if (!report.skippedProtected.empty())
        said << QStringLiteral("заблокированных дат: %1").arg(report.skippedProtected.size());
    if (!report.skippedHoliday.empty())
        said << QStringLiteral("нерабочих дат: %1").arg(report.skippedHoliday.size());
    if (!report.skipped.empty())
        said << QStringLiteral("занятий: %1").arg(report.skipped.size());
    report.summary = QStringLiteral("Скопировано дат: %1, занятий: %2")
                         .arg(report.copied.size())
                         .arg(report.rowsWritten);
    if (report.rowsReplaced > 0)
        report.summary += QStringLiteral("; заменено занятий: %1").arg(report.rowsReplaced);
    if (!said.isEmpty())
        report.summary += QStringLiteral("; пропущено ") + said.join(QStringLiteral(", "));
    m_progress.status(report.summary);
    // A date that got nothing because every line of its lessons was used up is told once.
    if (!report.loadUsedUp.empty())
        m_prompts.message(allUsedUpText(), Prompts::Icon::Warning);
    report.outcome = report.copied.empty() && !report.loadUsedUp.empty() ? CopyOutcome::Refused
                                                                         : CopyOutcome::Done;
    return report;
}

void TimetableCopying::copyDates(Run &run, const std::vector<std::pair<QDate, QDate>> &plan)
{
    std::vector<std::pair<int, int>> lines;
    for (const auto &[s, d] : plan) {
        run.total += int(run.sourceLessons(s).size());
        for (const SourceLesson &l : run.sourceLessons(s))
            lines.emplace_back(l.keyGroup, l.keyJob);
    }
    // The hours the copies count are the load lines' own until the copy is written.
    run.db.lockLoadLines(lines);
    run.ledger.preload(run.db, lines);
    m_progress.advance(0, run.total);
    for (const auto &[s, d] : plan) {
        if (m_progress.cancelled())
            throw CopyCancelled();
        copyDate(run, s, d);
    }
}

void TimetableCopying::copyDate(Run &run, const QDate &source, const QDate &destination)
{
    const Database &db = run.db;
    CopyReport &report = run.report;
    const std::vector<SourceLesson> &lessons = run.sourceLessons(source);
    if (lessons.empty()) {
        report.emptySource.push_back(destination); // nothing to copy, nothing said
        return;
    }
    const int doneAfter = run.done + int(lessons.size());
    if (!run.calendar.refusal(destination).isEmpty()) {
        report.skippedHoliday.push_back(destination);
        run.done = doneAfter;
        m_progress.advance(run.done, run.total);
        return;
    }
    m_progress.status(kCopying + kLineBreak + QStringLiteral("проверяется дата назначения"));
    Recordset row =
        db.openRecordset(QStringLiteral("SELECT tblTimeTableList.* FROM tblTimeTableList WHERE "
                                        "(((tblTimeTableList.Date)=%1));")
                             .arg(sqlDateLiteral(destination)));
    if (!row.isEmpty() && row.value(QStringLiteral("ReadOnly")).toBool()) {
        report.skippedProtected.push_back(destination);
        run.done = doneAfter;
        m_progress.advance(run.done, run.total);
        return;
    }
    int day = row.isEmpty() ? 0 : row.value(QStringLiteral("Key")).toInt();
    const bool over = run.request.overwrite == CopyOverwrite::Over;
    const bool clear = day != 0 && !over;

    // What the destination holds, by lesson number, and what it loses.
    std::vector<SlotLesson> held = day == 0 ? std::vector<SlotLesson>()
                                            : lessonsOfDate(db, destination);
    std::set<qint64> gone;
    const LoadLedger ledgerBefore = run.ledger;
    if (clear) {
        // The lessons the destination loses no longer count against their load lines.
        for (const SlotLesson &h : held) {
            gone.insert(h.key);
            if (run.jobOverFlow)
                run.ledger.release(db, h.keyGroup, h.keyJob);
        }
    }
    std::map<int, std::vector<SlotLesson>> staying; // by lesson number, what may clash
    if (over) {
        for (const SlotLesson &h : held)
            staying[h.lesson].push_back(h);
    }
    std::map<int, std::vector<SlotLesson>> added;
    std::set<std::pair<int, int>> heldPlaces; // lesson, group
    for (const SlotLesson &h : held)
        heldPlaces.emplace(h.lesson, h.keyGroup);

    m_progress.status(kCopying + kLineBreak
                      + QStringLiteral("копируются данные из исхоного расписания"));
    std::optional<QueryDef> rewrite;
    std::vector<const SourceLesson *> collected;
    collected.reserve(lessons.size());
    bool onlyLoad = true;
    for (const SourceLesson &l : lessons) {
        m_progress.advance(++run.done, run.total);
        const int number = l.lesson;
        // What this lesson would replace: only lessons the date had before, so that two
        // source lessons answering for one place (two subgroups of one load line) are both
        // kept.
        std::vector<qint64> replaces;
        if (over && heldPlaces.count({number, l.keyGroup})) {
            if (!rewrite)
                rewrite.emplace(db.queryDef(QStringLiteral("qryCopyReWrite")));
            rewrite->setParameter(QStringLiteral("pKeyTTL"), day);
            rewrite->setParameter(QStringLiteral("pLesson"), l.lesson);
            rewrite->setParameter(QStringLiteral("pKeyGroup"), l.keyGroup);
            rewrite->setParameter(QStringLiteral("pSubGroup"), l.subGroup);
            rewrite->setParameter(QStringLiteral("pKeyJob"), l.keyJob);
            for (Recordset rs = rewrite->openRecordset(); !rs.isEof(); rs.moveNext()) {
                const qint64 key = rs.value(QStringLiteral("Key")).toLongLong();
                if (!gone.count(key))
                    replaces.push_back(key);
            }
        }
        const auto replaced = [&](const SlotLesson &h) {
            return std::find(replaces.begin(), replaces.end(), h.key) != replaces.end()
                   || gone.count(h.key);
        };
        QString reason;
        if (l.keyTutor != 0 && run.absences.away(l.keyTutor, destination, number)) {
            reason = kTutorAway;
        } else {
            std::vector<SlotLesson> others;
            for (const SlotLesson &h : staying[number]) {
                if (!replaced(h))
                    others.push_back(h);
            }
            // What stays of the destination is checked whole; the copies among themselves
            // keep the source's own auditoriums, whatever the planner accepted there.
            FoundClash clash = findClash(others, l);
            if (!clash.with)
                clash = findClash(added[number], l, false);
            reason = clashText(clash);
        }
        if (reason.isEmpty() && run.jobOverFlow) {
            // The lessons it replaces free their hours before its own are counted.
            for (const SlotLesson &h : staying[number]) {
                if (std::find(replaces.begin(), replaces.end(), h.key) != replaces.end())
                    run.ledger.release(db, h.keyGroup, h.keyJob);
            }
            if (!run.ledger.take(db, l.keyGroup, l.keyJob)) {
                for (const SlotLesson &h : staying[number]) {
                    if (std::find(replaces.begin(), replaces.end(), h.key) != replaces.end())
                        run.ledger.restore(db, h.keyGroup, h.keyJob);
                }
                reason = kLoadUsedUp;
            }
        }
        if (!reason.isEmpty()) {
            onlyLoad = onlyLoad && reason == kLoadUsedUp;
            run.skip(destination, l, reason);
            continue;
        }
        gone.insert(replaces.begin(), replaces.end());
        collected.push_back(&l);
        added[number].push_back(l);
    }
    if (collected.empty()) {
        // The date stays as it was.
        run.ledger = ledgerBefore;
        if (onlyLoad)
            report.loadUsedUp.push_back(destination);
        return;
    }

    m_progress.status(kCopying + kLineBreak + QStringLiteral("проводится запись данных"));
    if (day == 0) {
        day = timetableDayKey(db, destination, run.saveCurrTable);
    } else if (clear) {
        // The destination's timetable goes; its date row stays, with the note it may carry,
        // and is protected as a new one would be.
        db.execute(QStringLiteral("DELETE FROM tblTimeTableContent WHERE "
                                  "tblTimeTableContent.Key_TTList = %1;")
                       .arg(day));
        if (row.value(QStringLiteral("ReadOnly")).toBool() != run.saveCurrTable) {
            row.edit();
            row.setValue(QStringLiteral("ReadOnly"), run.saveCurrTable);
            row.update();
        }
    } else {
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
    report.copied.push_back(destination);
    report.rowsWritten += int(collected.size());
    report.rowsReplaced += int(gone.size());
    run.done = doneAfter;
    m_progress.advance(run.done, run.total);
}

} // namespace korvesta
