#include "lessonclashes.h"

#include "data/database.h"
#include "data/recordset.h"
#include "data/sqltext.h"

namespace korvesta {

bool breaks(LessonClash kind, const SlotLesson &held, const SlotLesson &added)
{
    if (held.lesson != added.lesson)
        return false;
    switch (kind) {
    case LessonClash::Tutor:
        return held.keyTutor != 0 && held.keyTutor == added.keyTutor
               && (held.keyJob != added.keyJob || held.keyAud != added.keyAud);
    case LessonClash::Group:
        return held.keyGroup != 0 && held.keyGroup == added.keyGroup
               && (held.subGroup == added.subGroup || held.subGroup == 0 || added.subGroup == 0);
    case LessonClash::Auditorium:
        return held.keyAud != 0 && held.keyAud == added.keyAud
               && (held.keyTutor != added.keyTutor || held.keyJob != added.keyJob);
    case LessonClash::None:
        break;
    }
    return false;
}

LessonClash clashBetween(const SlotLesson &held, const SlotLesson &added)
{
    for (const LessonClash kind : {LessonClash::Tutor, LessonClash::Group, LessonClash::Auditorium}) {
        if (breaks(kind, held, added))
            return kind;
    }
    return LessonClash::None;
}

FoundClash findClash(const std::vector<SlotLesson> &held, const SlotLesson &added,
                     bool auditoriums)
{
    for (const SlotLesson &h : held) {
        for (const LessonClash kind : {LessonClash::Tutor, LessonClash::Group}) {
            if (breaks(kind, h, added))
                return {kind, &h};
        }
        if (auditoriums && breaks(LessonClash::Auditorium, h, added))
            return {LessonClash::Auditorium, &h};
    }
    return {};
}

QString clashText(const FoundClash &clash)
{
    if (!clash.with)
        return QString();
    const QString &what = clash.with->text;
    switch (clash.kind) {
    case LessonClash::Tutor:
        return QStringLiteral("преподаватель занят: ") + what;
    case LessonClash::Group:
        return QStringLiteral("группа занята: ") + what;
    case LessonClash::Auditorium:
        return QStringLiteral("аудитория занята: ") + what;
    case LessonClash::None:
        break;
    }
    return QString();
}

std::vector<SlotLesson> lessonsOfDate(const Database &db, const QDate &date,
                                      const std::vector<int> &onlyLessons)
{
    QStringList numbers;
    for (const int n : onlyLessons)
        numbers << QString::number(n);
    const QString only = numbers.isEmpty() ? QString()
                                           : QStringLiteral(" AND tblTimeTableContent.Lesson In (")
                                                 + numbers.join(u',') + u')';
    std::vector<SlotLesson> lessons;
    for (Recordset rs = db.openRecordset(
             QStringLiteral(
                 "SELECT tblTimeTableContent.Key, tblTimeTableContent.Lesson, "
                 "tblTimeTableContent.Key_Job, tblJob.Key_Tutor, tblTimeTableContent.Key_Group, "
                 "tblTimeTableContent.Key_Aud, tblTimeTableContent.SubGroup, tblGroups.[Group], "
                 "tblGroups.Course, tblDisciplines.Discipline, tblTutors.Tutor "
                 "FROM ((((tblTimeTableList INNER JOIN tblTimeTableContent ON "
                 "tblTimeTableList.Key = tblTimeTableContent.Key_TTList) LEFT JOIN tblJob ON "
                 "tblTimeTableContent.Key_Job = tblJob.Key) LEFT JOIN tblGroups ON "
                 "tblTimeTableContent.Key_Group = tblGroups.Key) LEFT JOIN tblDisciplines ON "
                 "tblJob.Key_Discipline = tblDisciplines.Key) LEFT JOIN tblTutors ON "
                 "tblJob.Key_Tutor = tblTutors.Key "
                 "WHERE tblTimeTableList.[Date] = %1%2 "
                 "ORDER BY tblTimeTableContent.Lesson, tblTimeTableContent.Key;")
                 .arg(sqlDateLiteral(date), only));
         !rs.isEof(); rs.moveNext()) {
        SlotLesson l;
        l.key = rs.value(0).toLongLong();
        l.lesson = rs.value(1).toInt();
        l.keyJob = rs.value(2).toInt();
        l.keyTutor = rs.value(3).toInt();
        l.keyGroup = rs.value(4).toInt();
        l.keyAud = rs.value(5).toInt();
        l.subGroup = rs.value(6).toInt();
        l.group = rs.value(7).toString() + QStringLiteral(" (") + rs.value(8).toString()
                  + QLatin1Char(')');
        l.discipline = rs.value(9).toString();
        l.tutor = rs.value(10).toString();
        l.text = l.group + QStringLiteral(", ") + l.discipline + QStringLiteral(", ") + l.tutor;
        lessons.push_back(std::move(l));
    }
    return lessons;
}

int clashesOn(const Database &db, const std::vector<QDate> &dates)
{
    int clashes = 0;
    for (const QDate &date : dates) {
        const std::vector<SlotLesson> lessons = lessonsOfDate(db, date);
        for (size_t i = 0; i < lessons.size(); ++i) {
            for (size_t j = i + 1; j < lessons.size() && lessons[j].lesson == lessons[i].lesson;
                 ++j) {
                if (clashBetween(lessons[i], lessons[j]) != LessonClash::None)
                    ++clashes;
            }
        }
    }
    return clashes;
}

} // namespace korvesta
