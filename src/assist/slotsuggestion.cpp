#include "slotsuggestion.h"

#include "data/calendar.h"
#include "data/database.h"
#include "data/queries.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "editing/placement.h"
#include "editing/timetablerows.h"
#include "settings/settingsrecord.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace korvesta {

namespace {

QDate dateOf(const QVariant &value)
{
    return value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
}

// The lessons of a date: who and what is taken at each lesson number.
struct Day
{
    QSet<int> groupLessons;     // of the line's group
    QSet<int> tutorLessons;     // of the line's tutor
    QSet<int> disciplineLessons; // the line's discipline for its group
    QHash<int, QSet<int>> auditoriumsTaken; // by lesson
};

struct Absence
{
    QDate date;
    int weekday = 0;
    int lesson = 0;

    bool covers(const QDate &d, int l) const
    {
        if (lesson != 0 && lesson != l)
            return false;
        if (date.isValid())
            return date == d;
        if (weekday != 0)
            return weekday == d.dayOfWeek();
        return lesson != 0;
    }
};

} // namespace

SlotSuggestions suggestSlots(const Database &db, const SettingsRecord &settings,
                             const SlotRequest &request)
{
    SlotSuggestions result;
    const GroupText group = splitGroupText(request.group);
    // The load line of the group and discipline.
    const Recordset line = db.openRecordset(
        QStringLiteral("SELECT tblJobList.Key_Job, tblJobList.Key_Group, tblJobList.Hours, "
                       "tblJob.Key_Tutor, tblTutors.Tutor, tblTutors.DefaultAud "
                       "FROM (((tblJobList INNER JOIN tblJob ON tblJobList.Key_Job = tblJob.Key) "
                       "INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) "
                       "INNER JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key) "
                       "INNER JOIN tblGroups ON tblJobList.Key_Group = tblGroups.Key "
                       "WHERE tblGroups.[Group] = %1%2 AND (tblDisciplines.Discipline = %3 OR "
                       "tblDisciplines.Discipline1 = %3);")
            .arg(sqlText(group.group),
                 group.hasCourse ? QStringLiteral(" AND tblGroups.Course = %1")
                                       .arg(sqlText(group.course))
                                 : QString(),
                 sqlText(request.discipline.trimmed())));
    if (line.isEmpty()) {
        result.refusal = QStringLiteral("В нагрузке группы «%1» нет дисциплины «%2»")
                             .arg(request.group.trimmed(), request.discipline.trimmed());
        return result;
    }
    const int keyJob = line.value(0).toInt();
    const int keyGroup = line.value(1).toInt();
    const int hours = line.value(2).toInt();
    const int keyTutor = line.value(3).toInt();
    result.tutor = line.value(4).toString();
    const QString usualAud = line.value(5).toString().trimmed();
    const Recordset placedRows = db.openRecordset(
        QStringLiteral("SELECT Count(*) FROM tblTimeTableContent WHERE "
                       "tblTimeTableContent.Key_Job = %1 AND tblTimeTableContent.Key_Group = %2;")
            .arg(keyJob)
            .arg(keyGroup));
    result.hoursLeft = hours - placedRows.value(0).toInt();
    if (result.hoursLeft <= 0) {
        result.refusal = QStringLiteral("По строке нагрузки не осталось часов: %1 из %2 поставлены")
                             .arg(hours - result.hoursLeft)
                             .arg(hours);
        return result;
    }

    // Every auditorium, the tutor's absences and the lessons of the period.
    QHash<int, QString> auditoriums;
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblAuditories.Key, tblAuditories.Auditoria, tblAuditories.Corpus "
             "FROM tblAuditories ORDER BY tblAuditories.Auditoria;"));
         !rs.isEof(); rs.moveNext())
        auditoriums.insert(rs.value(0).toInt(), auditoriumText(rs));
    std::vector<Absence> absences;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTutorOut.FreeLocalDate, tblTutorOut.FreeDay, "
                            "tblTutorOut.FreeLesson FROM tblTutorOut WHERE "
                            "tblTutorOut.KeyTutor = %1;")
                 .arg(keyTutor));
         !rs.isEof(); rs.moveNext())
        absences.push_back({dateOf(rs.value(0)), rs.value(1).toInt(), rs.value(2).toInt()});
    QHash<QDate, Day> days;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTimeTableList.[Date], tblTimeTableContent.Lesson, "
                            "tblTimeTableContent.Key_Group, tblTimeTableContent.Key_Aud, "
                            "tblTimeTableContent.Key_Job, tblJob.Key_Tutor FROM "
                            "(tblTimeTableContent INNER JOIN tblTimeTableList ON "
                            "tblTimeTableContent.Key_TTList = tblTimeTableList.Key) LEFT JOIN "
                            "tblJob ON tblTimeTableContent.Key_Job = tblJob.Key WHERE "
                            "tblTimeTableList.[Date] Between %1 And %2;")
                 .arg(sqlDateLiteral(request.from), sqlDateLiteral(request.to)));
         !rs.isEof(); rs.moveNext()) {
        Day &day = days[dateOf(rs.value(0))];
        const int lesson = rs.value(1).toInt();
        const bool ours = rs.value(2).toInt() == keyGroup;
        if (ours)
            day.groupLessons.insert(lesson);
        if (rs.value(5).toInt() == keyTutor)
            day.tutorLessons.insert(lesson);
        if (ours && rs.value(4).toInt() == keyJob)
            day.disciplineLessons.insert(lesson);
        day.auditoriumsTaken[lesson].insert(rs.value(3).toInt());
    }

    const int lessons = std::max<int>(settings.LessonsInDay, 1);
    for (QDate date = request.from; date.isValid() && date <= request.to; date = date.addDays(1)) {
        if (!calendarRefusal(db, date, settings.WorkDays).isEmpty() || dateProtected(db, date))
            continue;
        const Day day = days.value(date);
        for (int lesson = 1; lesson <= lessons; ++lesson) {
            if (day.groupLessons.contains(lesson) || day.tutorLessons.contains(lesson))
                continue;
            if (std::any_of(absences.begin(), absences.end(),
                            [&](const Absence &a) { return a.covers(date, lesson); }))
                continue;
            Slot slot{date, lesson, {}, 100, {}};
            const QSet<int> taken = day.auditoriumsTaken.value(lesson);
            bool usualFree = false;
            for (auto a = auditoriums.cbegin(); a != auditoriums.cend(); ++a) {
                if (taken.contains(a.key()))
                    continue;
                if (a.value() == usualAud) {
                    usualFree = true;
                    slot.freeAuditoriums.prepend(a.value());
                } else {
                    slot.freeAuditoriums.append(a.value());
                }
            }
            if (slot.freeAuditoriums.isEmpty())
                continue;
            std::sort(slot.freeAuditoriums.begin() + (usualFree ? 1 : 0),
                      slot.freeAuditoriums.end());
            const auto next = [&](const QSet<int> &set) {
                return set.contains(lesson - 1) || set.contains(lesson + 1);
            };
            if (next(day.groupLessons)) {
                slot.score += 20;
                slot.reasons << QStringLiteral("без окна у группы");
            } else if (!day.groupLessons.isEmpty()) {
                slot.score -= 10;
                slot.reasons << QStringLiteral("окно у группы");
            }
            if (next(day.tutorLessons)) {
                slot.score += 10;
                slot.reasons << QStringLiteral("без окна у преподавателя");
            }
            if (!usualAud.isEmpty()) {
                slot.score += usualFree ? 10 : -5;
                slot.reasons << (usualFree ? QStringLiteral("своя аудитория свободна")
                                           : QStringLiteral("своя аудитория занята"));
            }
            // A discipline twice a day is a pair of lessons or nothing.
            if (day.disciplineLessons.contains(partnerLesson(lesson))) {
                slot.score += 5;
                slot.reasons << QStringLiteral("пара с занятием той же дисциплины");
            } else if (!day.disciplineLessons.isEmpty()) {
                slot.score -= 15;
                slot.reasons << QStringLiteral("дисциплина уже есть в этот день");
            }
            if (settings.LessonsToGroup > 0 && day.groupLessons.size() >= settings.LessonsToGroup) {
                slot.score -= 40;
                slot.reasons << QStringLiteral("дневной предел группы достигнут");
            }
            slot.score -= lesson; // earlier in the day, other things equal
            result.best.push_back(std::move(slot));
        }
    }
    std::stable_sort(result.best.begin(), result.best.end(), [](const Slot &a, const Slot &b) {
        return a.score > b.score;
    });
    if (request.top > 0 && int(result.best.size()) > request.top)
        result.best.resize(size_t(request.top));
    if (result.best.empty())
        result.refusal = QStringLiteral("За период %1 - %2 нет урока, свободного у группы, "
                                        "преподавателя и хотя бы одной аудитории")
                             .arg(request.from.toString(QStringLiteral("dd.MM.yyyy")),
                                  request.to.toString(QStringLiteral("dd.MM.yyyy")));
    return result;
}

} // namespace korvesta
