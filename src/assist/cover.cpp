#include "cover.h"

#include "data/database.h"
#include "data/history.h"
#include "data/isodate.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/studyperiod.h"
#include "data/tutorabsence.h"
#include "editing/documentchange.h"
#include "editing/lessonclashes.h"
#include "editing/loadchanges.h"
#include "editing/timetablerows.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace korvesta {

namespace {

// The hours of a load line added for a cover: the one lesson it takes.
constexpr int kCoverHours = 1;

int firstKey(const Database &db, const QString &sql)
{
    const Recordset rs = db.openRecordset(sql);
    return rs.isEof() ? 0 : rs.value(0).toInt();
}

// The tutor's line of the discipline for the group, as the document has it now.
// Hours of the line (job and group) not yet given lessons.
int hoursLeft(const Database &db, int keyJob, int keyGroup)
{
    return firstKey(db, QStringLiteral("SELECT tblJobList.Hours - (SELECT Count(*) FROM "
                                       "tblTimeTableContent WHERE tblTimeTableContent.Key_Job = "
                                       "%1 AND tblTimeTableContent.Key_Group = %2) FROM "
                                       "tblJobList WHERE tblJobList.Key_Job = %1 AND "
                                       "tblJobList.Key_Group = %2;")
                            .arg(keyJob)
                            .arg(keyGroup));
}

int coverJob(const Database &db, int keyTutor, int keyDiscipline, int keyGroup)
{
    return firstKey(db, QStringLiteral("SELECT tblJob.Key FROM tblJob INNER JOIN tblJobList ON "
                                       "tblJob.Key = tblJobList.Key_Job "
                                       "WHERE (((tblJob.Key_Tutor)=%1) "
                                       "AND ((tblJob.Key_Discipline)=%2) "
                                       "AND ((tblJobList.Key_Group)=%3)) "
                                       "ORDER BY tblJob.Key;")
                            .arg(keyTutor)
                            .arg(keyDiscipline)
                            .arg(keyGroup));
}

// Appends a line to the note of the date, whose timetable row exists (the lesson is on it).
void appendToNote(const Database &db, const QDate &date, const QString &line)
{
    const int day = existingDayKey(db, date);
    const Recordset note = db.openRecordset(QStringLiteral("SELECT tblNotes.Note FROM tblNotes "
                                                           "WHERE (((tblNotes.Key_TTL)=%1));")
                                                .arg(day));
    if (note.isEmpty()) {
        db.execute(QStringLiteral("INSERT INTO tblNotes (Key_TTL, Note) VALUES (%1, %2);")
                       .arg(QString::number(day), sqlText(line)));
        return;
    }
    QString text = note.value(0).toString();
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + line;
    db.execute(QStringLiteral("UPDATE tblNotes SET tblNotes.Note = %1 "
                              "WHERE (((tblNotes.Key_TTL)=%2));")
                   .arg(sqlText(text), QString::number(day)));
}

// What a cover list reads once for all its dates: the absent tutor, every other tutor's load
// lines with their hours left, and every exception.
struct CoverLists
{
    struct Line
    {
        int keyTutor, keyJob, keyGroup, keyDiscipline, left;
        QString tutor;
    };
    int absent = 0;
    QString absentName;
    std::vector<Line> lines;
    std::vector<std::pair<int, TutorAbsence>> exceptions; // by tutor
};

// Nothing when the document has no tutor of the name.
std::optional<CoverLists> readCoverLists(const Database &db, const QString &tutor)
{
    const Recordset found = db.openRecordset(
        QStringLiteral("SELECT tblTutors.Key, tblTutors.Tutor FROM tblTutors "
                       "WHERE tblTutors.Tutor = %1;")
            .arg(sqlText(tutor.trimmed())));
    if (found.isEmpty())
        return std::nullopt;
    CoverLists lists;
    lists.absent = found.value(0).toInt();
    lists.absentName = found.value(1).toString();
    // Hours left: the load less the lessons of the study period.
    for (Recordset rs = db.openRecordset(
             QStringLiteral(
                 "SELECT tblJob.Key_Tutor, tblJob.Key, tblJobList.Key_Group, tblJob.Key_Discipline, "
                 "tblJobList.Hours - %1 AS LeftHours, tblTutors.Tutor FROM (tblJobList INNER JOIN "
                 "tblJob ON tblJobList.Key_Job = tblJob.Key) INNER JOIN tblTutors ON "
                 "tblJob.Key_Tutor = tblTutors.Key;")
                 .arg(studyLessonCountSql(QStringLiteral("tblJob.Key"),
                                          QStringLiteral("tblJobList.Key_Group"))));
         !rs.isEof(); rs.moveNext()) {
        if (rs.value(0).toInt() != lists.absent)
            lists.lines.push_back({rs.value(0).toInt(), rs.value(1).toInt(), rs.value(2).toInt(),
                                   rs.value(3).toInt(), rs.value(4).toInt(),
                                   rs.value(5).toString()});
    }
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTutorOut.KeyTutor, tblTutorOut.FreeLocalDate, "
                            "tblTutorOut.FreeDay, tblTutorOut.FreeLesson FROM tblTutorOut;"));
         !rs.isEof(); rs.moveNext())
        lists.exceptions.emplace_back(
            rs.value(0).toInt(), TutorAbsence::fromFields(rs.value(1), rs.value(2), rs.value(3)));
    return lists;
}

// The absent tutor's lessons of a date with their candidates, added to the list.
void coverDay(const Database &db, const CoverLists &lists, const QDate &date, CoverList &list)
{
    const int absent = lists.absent;
    const QString day = sqlDateLiteral(date);

    // Who teaches at each lesson of the date, and how many lessons each tutor has.
    QHash<int, QSet<int>> busy; // lesson -> tutors
    // tutor -> the lesson numbers he teaches that day: a lecture to several groups is one
    QHash<int, QSet<int>> lessonsOf;
    struct Own
    {
        int key, keyJob, lesson, keyGroup, keyDiscipline;
        QString group, groupText, discipline;
    };
    std::vector<Own> own;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTimeTableContent.Key, tblTimeTableContent.Lesson, "
                            "tblJob.Key_Tutor, tblTimeTableContent.Key_Group, "
                            "tblJob.Key_Discipline, tblGroups.[Group], tblGroups.Course, "
                            "tblDisciplines.Discipline, tblTypeFaculty.TypeFaculty, "
                            "tblTimeTableContent.Key_Job "
                            "FROM ((((tblTimeTableContent INNER JOIN "
                            "tblTimeTableList ON tblTimeTableContent.Key_TTList = "
                            "tblTimeTableList.Key) INNER JOIN tblJob ON "
                            "tblTimeTableContent.Key_Job = tblJob.Key) INNER JOIN tblGroups ON "
                            "tblTimeTableContent.Key_Group = tblGroups.Key) INNER JOIN "
                            "tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key) "
                            "LEFT JOIN tblTypeFaculty ON "
                            "tblGroups.Key_TypeFaculty = tblTypeFaculty.Key "
                            "WHERE tblTimeTableList.[Date] = %1 ORDER BY "
                            "tblTimeTableContent.Lesson, tblGroups.[Group];")
                 .arg(day));
         !rs.isEof(); rs.moveNext()) {
        const int lesson = rs.value(1).toInt();
        const int keyTutor = rs.value(2).toInt();
        busy[lesson].insert(keyTutor);
        lessonsOf[keyTutor].insert(lesson);
        if (keyTutor != absent)
            continue;
        const QString name = rs.value(5).toString(), course = rs.value(6).toString();
        const QString faculty = rs.value(8).toString().trimmed();
        // The load finds a group by name, course and faculty.
        own.push_back({rs.value(0).toInt(), rs.value(9).toInt(), lesson, rs.value(3).toInt(),
                       rs.value(4).toInt(),
                       name + QStringLiteral(" (") + course + QLatin1Char(')'),
                       name + QStringLiteral("  (") + course + QLatin1Char(')')
                           + (faculty.isEmpty() ? QString() : QLatin1Char(' ') + faculty),
                       rs.value(7).toString()});
    }
    if (own.empty())
        return;

    // Exceptions of every tutor on that date.
    QHash<int, QSet<int>> awayAt; // tutor -> the lessons he is away
    for (const auto &[keyTutor, exception] : lists.exceptions) {
        for (const Own &o : own) {
            if (exception.covers(date, o.lesson))
                awayAt[keyTutor].insert(o.lesson);
        }
    }

    for (const Own &o : own) {
        UncoveredLesson lesson{o.key,      o.keyJob,  date,
                               o.lesson,   o.keyGroup, o.group,
                               o.groupText, o.keyDiscipline, o.discipline,
                               lists.absentName, {}};
        QHash<int, CoverCandidate> byTutor;
        for (const CoverLists::Line &l : lists.lines) {
            const bool discipline = l.keyDiscipline == o.keyDiscipline;
            const bool group = l.keyGroup == o.keyGroup;
            if (!discipline && !group)
                continue;
            if (busy.value(o.lesson).contains(l.keyTutor)
                || awayAt.value(l.keyTutor).contains(o.lesson))
                continue;
            CoverCandidate &c = byTutor[l.keyTutor];
            c.keyTutor = l.keyTutor;
            c.tutor = l.tutor;
            c.lessonsThatDay = int(lessonsOf.value(l.keyTutor).size());
            c.teachesGroup = c.teachesGroup || group;
            if (discipline && group) {
                c.keyJob = l.keyJob;
                c.hoursLeft = l.left;
            } else if (discipline && c.keyJob == 0) {
                c.keyJob = -l.keyJob; // teaches the discipline, not yet to this group
            }
        }
        for (CoverCandidate c : std::as_const(byTutor)) {
            c.why = c.keyJob > 0 ? QStringLiteral("ведёт эту дисциплину в группе")
                    : c.keyJob < 0 ? QStringLiteral("ведёт эту дисциплину в других группах")
                                   : QStringLiteral("ведёт в группе другую дисциплину");
            if (c.keyJob < 0)
                c.keyJob = 0;
            lesson.candidates.push_back(c);
        }
        // The discipline in the group first, then the discipline, then the group; more hours
        // left and fewer lessons that day before the rest.
        const auto rank = [](const CoverCandidate &c) {
            return c.keyJob != 0 ? 0 : c.why.contains(QStringLiteral("других")) ? 1 : 2;
        };
        std::sort(lesson.candidates.begin(), lesson.candidates.end(),
                  [&](const CoverCandidate &a, const CoverCandidate &b) {
                      if (rank(a) != rank(b))
                          return rank(a) < rank(b);
                      if (a.hoursLeft != b.hoursLeft)
                          return a.hoursLeft > b.hoursLeft;
                      if (a.lessonsThatDay != b.lessonsThatDay)
                          return a.lessonsThatDay < b.lessonsThatDay;
                      return a.tutor < b.tutor;
                  });
        list.lessons.push_back(std::move(lesson));
    }
}


} // namespace

QString coverNoteLine(const UncoveredLesson &lesson, const QString &coveringTutor)
{
    return QStringLiteral("Замена: %1 урок, %2, %3: %4 → %5")
        .arg(QString::number(lesson.lesson), lesson.group, lesson.discipline, lesson.absentTutor,
             coveringTutor);
}

std::optional<CoverNote> parseCoverNoteLine(const QString &line)
{
    // The group ends with its course in brackets; a tutor's name holds no colon.
    static const QRegularExpression form(
        QStringLiteral("^\\s*Замена: (\\d+) урок, (.*?\\(.*?\\)), (.*): ([^:]*) → (.*?)\\s*$"));
    const QRegularExpressionMatch m = form.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    return CoverNote{m.captured(1).toInt(), m.captured(2), m.captured(3), m.captured(4).trimmed(),
                     m.captured(5)};
}

CoverList coverList(const Database &db, const QString &tutor, const QDate &date)
{
    return coverList(db, tutor, date, date);
}

CoverList coverList(const Database &db, const QString &tutor, const QDate &from,
                    const QDate &to)
{
    CoverList list;
    const std::optional<CoverLists> lists = readCoverLists(db, tutor);
    if (!lists) {
        list.refusal = QStringLiteral("Преподаватель «%1» не найден").arg(tutor.trimmed());
        return list;
    }
    for (QDate date = from; date.isValid() && date <= to; date = date.addDays(1))
        coverDay(db, *lists, date, list);
    if (list.lessons.empty())
        list.refusal = from == to
                           ? QStringLiteral("У преподавателя %1 нет занятий %2")
                                 .arg(tutor.trimmed(), from.toString(QStringLiteral("dd.MM.yyyy")))
                           : QStringLiteral("У преподавателя %1 нет занятий с %2 по %3")
                                 .arg(tutor.trimmed(),
                                      from.toString(QStringLiteral("dd.MM.yyyy")),
                                      to.toString(QStringLiteral("dd.MM.yyyy")));
    return list;
}

QDate absenceEnd(const Database &db, const QString &tutor, const QDate &date)
{
    QSet<QDate> away;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTutorOut.FreeLocalDate FROM tblTutorOut INNER JOIN "
                            "tblTutors ON tblTutorOut.KeyTutor = tblTutors.Key WHERE "
                            "tblTutors.Tutor = %1 AND Nz(tblTutorOut.FreeLesson, 0) = 0 AND "
                            "tblTutorOut.FreeLocalDate Is Not Null;")
                 .arg(sqlText(tutor.trimmed())));
         !rs.isEof(); rs.moveNext())
        away.insert(dateOf(rs.value(0)));
    if (!away.contains(date))
        return date;
    // Up to three days without a mark (a weekend, a holiday) between two marked days keep
    // the absence going.
    QDate end = date;
    for (bool found = true; found;) {
        found = false;
        for (int step = 1; step <= 4 && !found; ++step) {
            if (away.contains(end.addDays(step))) {
                end = end.addDays(step);
                found = true;
            }
        }
    }
    return end;
}

namespace {

// Why the tutor cannot take the lesson as the document is now, with `job` (0: a line not yet
// made) as its load line; empty when he can.
QString unavailableReason(const Database &db, const UncoveredLesson &lesson,
                          const CoverCandidate &candidate, int job)
{
    if (TutorAbsences::read(db, {candidate.keyTutor})
            .away(candidate.keyTutor, lesson.date, lesson.lesson))
        return QStringLiteral("Преподаватель %1 отсутствует %2 на %3 уроке: замена не записана")
            .arg(candidate.tutor, lesson.date.toString(QStringLiteral("dd.MM.yyyy")))
            .arg(lesson.lesson);
    std::vector<SlotLesson> held = lessonsOfDate(db, lesson.date);
    const auto own = std::find_if(held.begin(), held.end(), [&](const SlotLesson &h) {
        return h.key == lesson.keyContent;
    });
    if (own == held.end())
        return QString();
    SlotLesson given = *own;
    held.erase(own);
    given.keyJob = job;
    given.keyTutor = candidate.keyTutor;
    // The lesson keeps its group and auditorium: only the tutor's rule can break (the other
    // groups of a lecture follow it to him one by one).
    FoundClash clash;
    for (const SlotLesson &h : held) {
        if (breaks(LessonClash::Tutor, h, given)) {
            clash = {LessonClash::Tutor, &h};
            break;
        }
    }
    if (!clash.with)
        return QString();
    return QStringLiteral("Преподаватель %1 уже не свободен на %2 уроке %3 (%4): замена не "
                          "записана")
        .arg(candidate.tutor, QString::number(lesson.lesson),
             lesson.date.toString(QStringLiteral("dd.MM.yyyy")), clashText(clash));
}

} // namespace

bool assignCover(DocumentSession &session, Prompts &prompts, const UncoveredLesson &lesson,
                 const CoverCandidate &candidate)
{
    return giveCover(session, prompts, lesson, candidate) == CoverResult::Given;
}

CoverResult giveCover(DocumentSession &session, Prompts &prompts, const UncoveredLesson &lesson,
                      const CoverCandidate &candidate)
{
    // What the document holds now: the list may have been made before other changes.
    enum class State { Failed, Protected, HasLine, LineSpent, NoLine };
    const State state = runDocumentChange<State>(session, prompts, State::Failed,
                                                 [&](const Database &db) {
        if (dateProtected(db, lesson.date))
            return State::Protected;
        const int job = coverJob(db, candidate.keyTutor, lesson.keyDiscipline, lesson.keyGroup);
        if (job == 0)
            return State::NoLine;
        return hoursLeft(db, job, lesson.keyGroup) > 0 ? State::HasLine : State::LineSpent;
    });
    if (state == State::Failed)
        return CoverResult::Failed;
    if (state == State::Protected) {
        prompts.message(QStringLiteral("Дата заблокирована для редактирования"),
                        Prompts::Icon::Critical);
        return CoverResult::Refused;
    }
    // No line, or one with every hour given (which the lesson would overdraw): the load
    // grows by an hour only when the planner agrees.
    if (state == State::NoLine || state == State::LineSpent) {
        const QString question =
            state == State::NoLine
                ? QStringLiteral("У преподавателя %1 нет нагрузки по дисциплине «%2» в группе "
                                 "%3.\r\nДобавить строку нагрузки на %4 ч и передать это "
                                 "занятие?")
                : QStringLiteral("У преподавателя %1 не осталось часов нагрузки по дисциплине "
                                 "«%2» в группе %3.\r\nДобавить %4 ч к строке нагрузки и "
                                 "передать это занятие?");
        if (prompts.askYesNo(question.arg(candidate.tutor, lesson.discipline, lesson.group,
                                          QString::number(kCoverHours)),
                             Prompts::Icon::Question)
            != Prompts::Answer::Yes)
            return CoverResult::Refused;
    }

    return runDocumentChange<CoverResult>(session, prompts, CoverResult::Failed,
                                          [&](const Database &db) {
        const History::Step step(db, QStringLiteral("замена: %1, урок %2, %3")
                                         .arg(lesson.group)
                                         .arg(lesson.lesson)
                                         .arg(candidate.tutor));
        Database::Transaction transaction(db);
        db.lockDates({lesson.date});
        // Everything again under the write lock: another program may have written since the
        // list was made or the question was asked.
        if (dateProtected(db, lesson.date)) {
            prompts.message(QStringLiteral("Дата заблокирована для редактирования"),
                            Prompts::Icon::Critical);
            return CoverResult::Refused;
        }
        // Only while the lesson is still the absent tutor's: a list shown for a while may
        // offer a lesson that has since been given away or cleared.
        const Recordset still = db.openRecordset(
            QStringLiteral("SELECT tblTimeTableContent.Key FROM tblTimeTableContent WHERE "
                           "(((tblTimeTableContent.Key)=%1) AND "
                           "((tblTimeTableContent.Key_Job)=%2));")
                .arg(lesson.keyContent)
                .arg(lesson.keyJob));
        if (still.isEmpty()) {
            prompts.message(QStringLiteral("Занятие %1 урока группы %2 уже не у преподавателя "
                                           "%3: список замен устарел")
                                .arg(QString::number(lesson.lesson), lesson.group,
                                     lesson.absentTutor),
                            Prompts::Icon::Warning);
            return CoverResult::Refused;
        }
        int job = coverJob(db, candidate.keyTutor, lesson.keyDiscipline, lesson.keyGroup);
        // A line added for the group joins his job of the discipline when he has one.
        const int teaching =
            job != 0 ? job
                     : firstKey(db, QStringLiteral("SELECT tblJob.Key FROM tblJob WHERE "
                                                   "tblJob.Key_Tutor = %1 AND "
                                                   "tblJob.Key_Discipline = %2 ORDER BY tblJob.Key;")
                                        .arg(candidate.keyTutor)
                                        .arg(lesson.keyDiscipline));
        if (const QString reason = unavailableReason(db, lesson, candidate, teaching);
            !reason.isEmpty()) {
            prompts.message(reason, Prompts::Icon::Warning);
            return CoverResult::Unavailable;
        }
        const int spent = job == 0 ? 0 : hoursLeft(db, job, lesson.keyGroup);
        if ((job == 0) != (state == State::NoLine)
            || (job != 0 && (spent <= 0) != (state == State::LineSpent))) {
            // The load changed after the question: what was agreed no longer fits.
            prompts.message(QStringLiteral("Нагрузка преподавателя %1 изменилась, пока шёл "
                                           "вопрос: замена не записана, повторите её")
                                .arg(candidate.tutor),
                            Prompts::Icon::Warning);
            return CoverResult::Refused;
        }
        if (job == 0) {
            // The load's own way of adding a line, with its checks; its refusals are told
            // there and roll everything back here.
            const LoadEntry entry{candidate.tutor, QString(), lesson.discipline,
                                  lesson.groupText, QString::number(kCoverHours)};
            if (!addToLoad(db, prompts, LoadAddition::Discipline, entry))
                return CoverResult::Refused;
            job = coverJob(db, candidate.keyTutor, lesson.keyDiscipline, lesson.keyGroup);
            if (job == 0)
                return CoverResult::Refused;
        } else if (spent <= 0) {
            db.execute(QStringLiteral("UPDATE tblJobList SET tblJobList.Hours = "
                                      "tblJobList.Hours + %1 WHERE tblJobList.Key_Job = %2 AND "
                                      "tblJobList.Key_Group = %3;")
                           .arg(kCoverHours)
                           .arg(job)
                           .arg(lesson.keyGroup));
        }
        db.execute(QStringLiteral("UPDATE tblTimeTableContent SET tblTimeTableContent.Key_Job = "
                                  "%1 WHERE (((tblTimeTableContent.Key)=%2));")
                       .arg(job)
                       .arg(lesson.keyContent));
        appendToNote(db, lesson.date, coverNoteLine(lesson, candidate.tutor));
        transaction.commit();
        return CoverResult::Given;
    });
}

} // namespace korvesta
