#include "slotmap.h"

#include "groupshift.h"

#include "data/calendar.h"
#include "data/database.h"
#include "data/isodate.h"
#include "data/queries.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/tutorabsence.h"
#include "editing/placement.h"
#include "editing/timetablerows.h"
#include "settings/settingsrecord.h"

#include <QSet>

#include "data/studyperiod.h"

#include <algorithm>

namespace korvesta {

namespace {

// The line with everything the assistant reads of it; the condition picks the line.
// The lessons placed count those of the study period.
const char *const kLineQuery =
    "SELECT tblJobList.Key, tblJobList.Key_Job, tblJobList.Key_Group, tblJobList.Hours, "
    "tblJob.Key_Tutor, tblTutors.Tutor, tblTutors.DefaultAud, tblDisciplines.Discipline, "
    "tblDisciplines.LevelDiff, tblGroups.[Group], tblGroups.Course, tblTypeFaculty.TypeFaculty, "
    "%2 AS Placed "
    "FROM ((((tblJobList INNER JOIN tblJob ON tblJobList.Key_Job = tblJob.Key) "
    "INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) "
    "INNER JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key) "
    "INNER JOIN tblGroups ON tblJobList.Key_Group = tblGroups.Key) "
    "LEFT JOIN tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key WHERE %1 "
    "ORDER BY tblJobList.Key;";

std::vector<AssistLine> readLines(const Database &db, const QString &condition)
{
    std::vector<AssistLine> lines;
    for (Recordset rs = db.openRecordset(QString::fromLatin1(kLineQuery)
                                  .arg(condition, studyLessonCountSql(
                                                      QStringLiteral("tblJobList.Key_Job"),
                                                      QStringLiteral("tblJobList.Key_Group"))));
         !rs.isEof(); rs.moveNext()) {
        AssistLine l;
        l.keyJobList = rs.value(0).toInt();
        l.keyJob = rs.value(1).toInt();
        l.keyGroup = rs.value(2).toInt();
        l.hours = rs.value(3).toInt();
        l.keyTutor = rs.value(4).toInt();
        l.tutor = rs.value(5).toString().trimmed();
        l.usualAud = rs.value(6).toString().trimmed();
        l.discipline = rs.value(7).toString().trimmed();
        l.levelDiff = rs.value(8).toInt();
        l.group = rs.value(9).toString().trimmed();
        l.course = rs.value(10).toString().trimmed();
        l.faculty = rs.value(11).toString().trimmed();
        l.placed = rs.value(12).toInt();
        lines.push_back(std::move(l));
    }
    return lines;
}

// The lessons of a date: who and what is taken at each lesson number.
struct Day
{
    QSet<int> groupLessons;      // of the line's group
    QSet<int> tutorLessons;      // of the line's tutor
    QSet<int> disciplineLessons; // the line's own lessons
    int groupDifficulty = 0;     // the difficulties of the group's lessons added up
    QHash<int, QSet<int>> auditoriumsTaken; // by lesson
};

// Empty lessons between a day's first and last.
int gaps(const QSet<int> &lessons)
{
    if (lessons.isEmpty())
        return 0;
    const auto [low, high] = std::minmax_element(lessons.begin(), lessons.end());
    return *high - *low + 1 - int(lessons.size());
}

int gapsWith(QSet<int> lessons, int lesson)
{
    lessons.insert(lesson);
    return gaps(lessons);
}

} // namespace

QString AssistLine::groupText() const
{
    return group + QStringLiteral(" (") + course + QLatin1Char(')');
}

std::optional<AssistLine> findLoadLine(const Database &db, const QString &group,
                                       const QString &discipline, const QString &tutor,
                                       QString *refusal)
{
    const GroupText g = splitGroupText(group);
    QString condition =
        QStringLiteral("tblGroups.[Group] = %1 AND (tblDisciplines.Discipline = %2 OR "
                       "tblDisciplines.Discipline1 = %2)")
            .arg(sqlText(g.group), sqlText(discipline.trimmed()));
    if (g.hasCourse)
        condition += QStringLiteral(" AND tblGroups.Course = %1").arg(sqlText(g.course));
    if (!tutor.trimmed().isEmpty())
        condition += QStringLiteral(" AND tblTutors.Tutor = %1").arg(sqlText(tutor.trimmed()));
    std::vector<AssistLine> lines = readLines(db, condition);
    if (!g.faculty.isEmpty()) {
        std::erase_if(lines, [&](const AssistLine &l) {
            return l.faculty.compare(g.faculty, Qt::CaseInsensitive) != 0;
        });
    }
    if (!lines.empty())
        return lines.front();
    if (refusal) {
        *refusal = tutor.trimmed().isEmpty()
                       ? QStringLiteral("В нагрузке группы «%1» нет дисциплины «%2»")
                             .arg(group.trimmed(), discipline.trimmed())
                       : QStringLiteral("В нагрузке группы «%1» нет дисциплины «%2» у "
                                        "преподавателя %3")
                             .arg(group.trimmed(), discipline.trimmed(), tutor.trimmed());
    }
    return std::nullopt;
}

std::optional<AssistLine> loadLine(const Database &db, int keyJobList)
{
    std::vector<AssistLine> lines =
        readLines(db, QStringLiteral("tblJobList.Key = %1").arg(keyJobList));
    if (lines.empty())
        return std::nullopt;
    return lines.front();
}

SlotMap::SlotMap(const Database &db, const SettingsRecord &settings, const AssistLine &line,
                 const QDate &from, const QDate &to)
{
    // Every auditorium, the tutor's absences and the lessons of the period.
    QHash<int, QString> auditoriums;
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblAuditories.Key, tblAuditories.Auditoria, tblAuditories.Corpus "
             "FROM tblAuditories;"));
         !rs.isEof(); rs.moveNext())
        auditoriums.insert(rs.value(0).toInt(), auditoriumText(rs));
    std::vector<TutorAbsence> absences;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTutorOut.FreeLocalDate, tblTutorOut.FreeDay, "
                            "tblTutorOut.FreeLesson FROM tblTutorOut WHERE "
                            "tblTutorOut.KeyTutor = %1;")
                 .arg(line.keyTutor));
         !rs.isEof(); rs.moveNext())
        absences.push_back(TutorAbsence::fromFields(rs.value(0), rs.value(1), rs.value(2)));
    // Each job's tutor and difficulty, read once rather than joined to every lesson.
    QHash<int, std::pair<int, int>> jobs;
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblJob.Key, tblJob.Key_Tutor, tblDisciplines.LevelDiff FROM tblJob LEFT "
             "JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key;"));
         !rs.isEof(); rs.moveNext())
        jobs.insert(rs.value(0).toInt(), {rs.value(1).toInt(), rs.value(2).toInt()});
    QHash<QDate, Day> days;
    QHash<QDate, QSet<int>> groupHeld; // lessons whose difficulty is counted already
    // The period's dates by key, then their lessons by the key of their date: a lesson's
    // row is read from the index alone.
    QHash<qint64, QDate> dateOfKey;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTimeTableList.Key, tblTimeTableList.[Date] FROM "
                            "tblTimeTableList WHERE tblTimeTableList.[Date] Between %1 And %2;")
                 .arg(sqlDateLiteral(from), sqlDateLiteral(to)));
         !rs.isEof(); rs.moveNext())
        dateOfKey.insert(rs.value(0).toLongLong(), dateOf(rs.value(1)));
    // The numbers are read as they are stored, 64-bit; toInt() would convert each.
    const auto number = [](const Recordset &rs, int column) {
        return int(rs.value(column).toLongLong());
    };
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTimeTableContent.Key_TTList, tblTimeTableContent.Lesson, "
                            "tblTimeTableContent.Key_Group, tblTimeTableContent.Key_Aud, "
                            "tblTimeTableContent.Key_Job FROM tblTimeTableContent WHERE "
                            "tblTimeTableContent.Key_TTList IN (SELECT tblTimeTableList.Key FROM "
                            "tblTimeTableList WHERE tblTimeTableList.[Date] Between %1 And %2);")
                 .arg(sqlDateLiteral(from), sqlDateLiteral(to)));
         !rs.isEof(); rs.moveNext()) {
        const QDate date = dateOfKey.value(rs.value(0).toLongLong());
        Day &day = days[date];
        const int lesson = number(rs, 1);
        const bool ours = number(rs, 2) == line.keyGroup;
        const std::pair<int, int> job = jobs.value(number(rs, 4));
        if (ours) {
            day.groupLessons.insert(lesson);
            if (!groupHeld[date].contains(lesson)) {
                groupHeld[date].insert(lesson);
                day.groupDifficulty += job.second;
            }
        }
        if (job.first == line.keyTutor)
            day.tutorLessons.insert(lesson);
        if (ours && number(rs, 4) == line.keyJob)
            day.disciplineLessons.insert(lesson);
        day.auditoriumsTaken[lesson].insert(number(rs, 3));
    }

    // The free auditoriums of a slot are listed by name.
    std::vector<std::pair<int, QString>> sortedAuditoriums;
    for (auto a = auditoriums.cbegin(); a != auditoriums.cend(); ++a)
        sortedAuditoriums.emplace_back(a.key(), a.value());
    std::sort(sortedAuditoriums.begin(), sortedAuditoriums.end(),
              [](const auto &a, const auto &b) { return a.second < b.second; });
    const StudyCalendar calendar(db);
    const int lessons = std::max<int>(settings.LessonsInDay, 1);
    // The lessons the group is taught at (its shift), learned from its last weeks.
    const std::optional<GroupShift> shift = [&]() -> std::optional<GroupShift> {
        const QHash<int, GroupShift> shifts = readGroupShifts(db, settings, from, line.keyGroup);
        if (const auto s = shifts.constFind(line.keyGroup); s != shifts.constEnd())
            return *s;
        return std::nullopt;
    }();
    const auto absentAt = [&](const QDate &date, int lesson) {
        return std::any_of(absences.begin(), absences.end(),
                           [&](const TutorAbsence &a) { return a.covers(date, lesson); });
    };
    for (QDate date = from; date.isValid() && date <= to; date = date.addDays(1)) {
        m_firstOfDate.insert(date, int(m_states.size()));
        QString dayRefusal = date.dayOfWeek() > settings.WorkDays
                                 ? QStringLiteral("Выбран выходной день")
                                 : calendar.refusal(date);
        if (dayRefusal.isEmpty() && dateProtected(db, date))
            dayRefusal = QStringLiteral("Дата заблокирована для редактирования");
        if (dayRefusal.isEmpty() && line.left() <= 0)
            dayRefusal = QStringLiteral("По строке нагрузки не осталось часов");
        if (dayRefusal.isEmpty() && settings.LessonsToGroup > 0
            && days.value(date).groupLessons.size() >= settings.LessonsToGroup)
            dayRefusal =
                QStringLiteral("Достигнут предел количества занятий в день для учебной группы");
        const Day day = days.value(date);
        for (int lesson = 1; lesson <= lessons; ++lesson) {
            SlotState s;
            s.date = date;
            s.lesson = lesson;
            const QSet<int> taken = day.auditoriumsTaken.value(lesson);
            s.freeAuditoriums.reserve(qsizetype(sortedAuditoriums.size()));
            bool usualFree = false;
            for (const auto &[key, name] : sortedAuditoriums) {
                if (taken.contains(key))
                    continue;
                if (!line.usualAud.isEmpty() && name == line.usualAud)
                    usualFree = true;
                else
                    s.freeAuditoriums.append(name);
            }
            if (usualFree)
                s.freeAuditoriums.prepend(line.usualAud);

            if (!dayRefusal.isEmpty()) {
                s.problems << dayRefusal;
            } else if (day.groupLessons.contains(lesson)) {
                s.problems << QStringLiteral("У группы уже есть занятие");
            } else if (day.tutorLessons.contains(lesson)) {
                s.problems << QStringLiteral("Преподаватель занят на данный урок");
            } else if (absentAt(date, lesson)) {
                const QString why = tutorExceptionText(db, line.keyTutor, date, lesson);
                s.problems << (why.isEmpty() ? QStringLiteral("Преподаватель отсутствует")
                                             : why);
            } else if (s.freeAuditoriums.isEmpty()) {
                s.problems << QStringLiteral("Нет свободной аудитории");
            }
            if (!s.problems.isEmpty()) {
                m_states.push_back(std::move(s));
                continue;
            }

            // The soft problems: the line can go there, not as well as elsewhere.
            s.fit = SlotFit::Free;
            if (settings.LessonsToTutor > 0 && day.tutorLessons.size() >= settings.LessonsToTutor)
                s.problems << QStringLiteral("Достигнут предел дневной нагрузки для преподавателя");
            if (!line.usualAud.isEmpty() && !usualFree)
                s.problems << QStringLiteral("Своя аудитория преподавателя занята");
            const int partner = partnerLesson(lesson);
            if (settings.MergeLessons && partner >= 1 && partner <= lessons
                && !day.disciplineLessons.contains(partner)
                && (day.groupLessons.contains(partner) || day.tutorLessons.contains(partner)
                    || absentAt(date, partner)))
                s.problems << QStringLiteral("Парное занятие невозможно");
            if (!s.problems.isEmpty())
                s.fit = SlotFit::Soft;

            // The rank: no gaps for the group and the tutor, the usual auditorium, a
            // discipline once a day or as a pair, hard disciplines spread over the week.
            s.score = 100;
            const int groupGaps = gapsWith(day.groupLessons, lesson) - gaps(day.groupLessons);
            if (!day.groupLessons.isEmpty() && groupGaps <= 0) {
                s.score += 20;
                s.reasons << QStringLiteral("без окна у группы");
            } else if (groupGaps > 0) {
                s.score -= 10 * groupGaps;
                s.reasons << QStringLiteral("окно у группы");
            }
            const int tutorGaps = gapsWith(day.tutorLessons, lesson) - gaps(day.tutorLessons);
            if (!day.tutorLessons.isEmpty() && tutorGaps <= 0) {
                s.score += 10;
                s.reasons << QStringLiteral("без окна у преподавателя");
            } else if (tutorGaps > 0) {
                s.score -= 5 * tutorGaps;
                s.reasons << QStringLiteral("окно у преподавателя");
            }
            // A usual auditorium taken is among the soft problems already.
            if (!line.usualAud.isEmpty()) {
                s.score += usualFree ? 10 : -5;
                if (usualFree)
                    s.reasons << QStringLiteral("своя аудитория свободна");
            }
            if (day.disciplineLessons.contains(partner)) {
                s.score += 5;
                s.reasons << QStringLiteral("пара с занятием той же дисциплины");
            } else if (!day.disciplineLessons.isEmpty()) {
                s.score -= 15;
                s.reasons << QStringLiteral("дисциплина уже есть в этот день");
            }
            if (line.levelDiff > 0 && day.groupDifficulty > 0) {
                s.score -= 3 * line.levelDiff * day.groupDifficulty;
                s.reasons << QStringLiteral("трудный день у группы");
            }
            if (shift && !shift->contains(lesson)) {
                s.score -= 40;
                s.reasons << QStringLiteral("вне смены группы (уроки %1-%2)")
                                 .arg(shift->first)
                                 .arg(shift->last);
            }
            if (s.fit == SlotFit::Soft)
                s.score -= 10 * int(s.problems.size());
            s.score -= lesson; // earlier in the day, other things equal
            m_states.push_back(std::move(s));
        }
    }
}

const SlotState *SlotMap::state(const QDate &date, int lesson) const
{
    const auto first = m_firstOfDate.constFind(date);
    if (first == m_firstOfDate.cend() || lesson < 1)
        return nullptr;
    const size_t index = size_t(*first) + size_t(lesson) - 1;
    if (index >= m_states.size() || m_states[index].date != date)
        return nullptr;
    return &m_states[index];
}

std::vector<SlotState> SlotMap::ranked(int top) const
{
    std::vector<SlotState> best;
    std::copy_if(m_states.begin(), m_states.end(), std::back_inserter(best),
                 [](const SlotState &s) { return s.fit != SlotFit::None; });
    std::stable_sort(best.begin(), best.end(), [](const SlotState &a, const SlotState &b) {
        return a.score > b.score;
    });
    if (top > 0 && int(best.size()) > top)
        best.resize(size_t(top));
    return best;
}

} // namespace korvesta
