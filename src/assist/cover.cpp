#include "cover.h"

#include "data/database.h"
#include "data/history.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "editing/documentchange.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace korvesta {

namespace {

QDate dateOf(const QVariant &value)
{
    return value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
}

// Whether an exception row keeps a tutor from a lesson of a date.
bool covers(const Recordset &rs, const QDate &date, int lesson)
{
    const QDate on = dateOf(rs.value(1));
    const int weekday = rs.value(2).toInt();
    const int at = rs.value(3).toInt();
    if (at != 0 && at != lesson)
        return false;
    if (on.isValid())
        return on == date;
    if (weekday != 0)
        return weekday == date.dayOfWeek();
    return at != 0;
}

} // namespace

CoverList coverList(const Database &db, const QString &tutor, const QDate &date)
{
    CoverList list;
    const Recordset found = db.openRecordset(
        QStringLiteral("SELECT tblTutors.Key FROM tblTutors WHERE tblTutors.Tutor = %1;")
            .arg(sqlText(tutor.trimmed())));
    if (found.isEmpty()) {
        list.refusal = QStringLiteral("Преподаватель «%1» не найден").arg(tutor.trimmed());
        return list;
    }
    const int absent = found.value(0).toInt();
    const QString day = sqlDateLiteral(date);

    // Who teaches at each lesson of the date, and how many lessons each tutor has.
    QHash<int, QSet<int>> busy; // lesson -> tutors
    QHash<int, int> lessonsOf;  // tutor -> lessons that day
    struct Own
    {
        int key, lesson, keyGroup, keyDiscipline;
        QString group, discipline;
    };
    std::vector<Own> own;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTimeTableContent.Key, tblTimeTableContent.Lesson, "
                            "tblJob.Key_Tutor, tblTimeTableContent.Key_Group, "
                            "tblJob.Key_Discipline, tblGroups.[Group], tblGroups.Course, "
                            "tblDisciplines.Discipline FROM (((tblTimeTableContent INNER JOIN "
                            "tblTimeTableList ON tblTimeTableContent.Key_TTList = "
                            "tblTimeTableList.Key) INNER JOIN tblJob ON "
                            "tblTimeTableContent.Key_Job = tblJob.Key) INNER JOIN tblGroups ON "
                            "tblTimeTableContent.Key_Group = tblGroups.Key) INNER JOIN "
                            "tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key "
                            "WHERE tblTimeTableList.[Date] = %1 ORDER BY "
                            "tblTimeTableContent.Lesson, tblGroups.[Group];")
                 .arg(day));
         !rs.isEof(); rs.moveNext()) {
        const int lesson = rs.value(1).toInt();
        const int keyTutor = rs.value(2).toInt();
        busy[lesson].insert(keyTutor);
        ++lessonsOf[keyTutor];
        if (keyTutor == absent)
            own.push_back({rs.value(0).toInt(), lesson, rs.value(3).toInt(), rs.value(4).toInt(),
                           rs.value(5).toString() + QStringLiteral(" (") + rs.value(6).toString()
                               + QLatin1Char(')'),
                           rs.value(7).toString()});
    }
    if (own.empty()) {
        list.refusal = QStringLiteral("У преподавателя %1 нет занятий %2")
                           .arg(tutor.trimmed(), date.toString(QStringLiteral("dd.MM.yyyy")));
        return list;
    }

    // Every other tutor's load lines with their hours left.
    struct Line
    {
        int keyTutor, keyJob, keyGroup, keyDiscipline, left;
        QString tutor;
    };
    std::vector<Line> lines;
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblJob.Key_Tutor, tblJob.Key, tblJobList.Key_Group, tblJob.Key_Discipline, "
             "tblJobList.Hours - (SELECT Count(*) FROM tblTimeTableContent WHERE "
             "tblTimeTableContent.Key_Job = tblJob.Key AND tblTimeTableContent.Key_Group = "
             "tblJobList.Key_Group) AS LeftHours, tblTutors.Tutor FROM (tblJobList INNER JOIN "
             "tblJob ON tblJobList.Key_Job = tblJob.Key) INNER JOIN tblTutors ON "
             "tblJob.Key_Tutor = tblTutors.Key;"));
         !rs.isEof(); rs.moveNext()) {
        if (rs.value(0).toInt() != absent)
            lines.push_back({rs.value(0).toInt(), rs.value(1).toInt(), rs.value(2).toInt(),
                             rs.value(3).toInt(), rs.value(4).toInt(), rs.value(5).toString()});
    }
    // Exceptions of every tutor on that date.
    QHash<int, QSet<int>> awayAt; // tutor -> the lessons he is away
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTutorOut.KeyTutor, tblTutorOut.FreeLocalDate, "
                            "tblTutorOut.FreeDay, tblTutorOut.FreeLesson FROM tblTutorOut;"));
         !rs.isEof(); rs.moveNext()) {
        for (const Own &o : own) {
            if (covers(rs, date, o.lesson))
                awayAt[rs.value(0).toInt()].insert(o.lesson);
        }
    }

    for (const Own &o : own) {
        UncoveredLesson lesson{o.key, o.lesson, o.keyGroup, o.group, o.discipline, {}};
        QHash<int, CoverCandidate> byTutor;
        for (const Line &l : lines) {
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
            c.lessonsThatDay = lessonsOf.value(l.keyTutor);
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
    return list;
}

bool assignCover(DocumentSession &session, Prompts &prompts, const UncoveredLesson &lesson,
                 const CoverCandidate &candidate)
{
    if (candidate.keyJob == 0) {
        prompts.message(QStringLiteral("У преподавателя %1 нет строки нагрузки по дисциплине "
                                       "«%2» в группе %3: добавьте её в нагрузку")
                            .arg(candidate.tutor, lesson.discipline, lesson.group),
                        Prompts::Icon::Warning);
        return false;
    }
    return runDocumentChange<bool>(session, prompts, false, [&](const Database &db) {
        const History::Step step(db, QStringLiteral("замена: %1, урок %2, %3")
                                         .arg(lesson.group)
                                         .arg(lesson.lesson)
                                         .arg(candidate.tutor));
        return db.execute(QStringLiteral("UPDATE tblTimeTableContent SET "
                                         "tblTimeTableContent.Key_Job = %1 WHERE "
                                         "tblTimeTableContent.Key = %2;")
                              .arg(candidate.keyJob)
                              .arg(lesson.keyContent))
               == 1;
    });
}

} // namespace korvesta
