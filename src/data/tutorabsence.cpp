#include "tutorabsence.h"

#include "database.h"
#include "isodate.h"
#include "recordset.h"
#include "sqltext.h"

#include <QLocale>
#include <QStringList>

namespace korvesta {

TutorAbsence TutorAbsence::fromFields(const QVariant &date, const QVariant &weekday,
                                      const QVariant &lesson)
{
    return {dateOf(date), weekday.toInt(), lesson.toInt()};
}

bool TutorAbsence::covers(const QDate &day, int atLesson) const
{
    if (lesson != 0 && lesson != atLesson)
        return false;
    if (date.isValid())
        return date == day;
    if (weekday != 0)
        return weekday == day.dayOfWeek();
    return lesson != 0;
}

QString TutorAbsence::reason(const QDate &day, int atLesson) const
{
    if (!covers(day, atLesson))
        return QString();
    const QString weekdayName =
        QLocale(QLocale::Russian).dayName(day.dayOfWeek(), QLocale::ShortFormat);
    if (date.isValid())
        return lesson == 0 ? QStringLiteral("Свободный день") : QStringLiteral("Свободный урок");
    if (weekday != 0)
        return lesson == 0 ? QStringLiteral("Постоянный свободный день недели - ") + weekdayName
                           : QStringLiteral("Свободный урок - ") + QString::number(lesson)
                                 + QStringLiteral("\r\nВ постоянный день недели - ")
                                 + weekdayName;
    return QStringLiteral("Постоянный свободный урок - ") + QString::number(lesson);
}

namespace {

void readWhere(const Database &db, const QString &where, QMultiHash<int, TutorAbsence> &byTutor)
{
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTutorOut.KeyTutor, tblTutorOut.FreeLocalDate, "
                            "tblTutorOut.FreeDay, tblTutorOut.FreeLesson FROM tblTutorOut%1;")
                 .arg(where));
         !rs.isEof(); rs.moveNext())
        byTutor.insert(rs.value(0).toInt(),
                       TutorAbsence::fromFields(rs.value(1), rs.value(2), rs.value(3)));
}

} // namespace

TutorAbsences TutorAbsences::read(const Database &db)
{
    TutorAbsences absences;
    readWhere(db, QString(), absences.m_byTutor);
    return absences;
}

TutorAbsences TutorAbsences::read(const Database &db, const std::vector<int> &tutors)
{
    TutorAbsences absences;
    if (tutors.empty())
        return absences;
    QStringList keys;
    for (const int tutor : tutors)
        keys << QString::number(tutor);
    readWhere(db, QStringLiteral(" WHERE tblTutorOut.KeyTutor In (%1)").arg(keys.join(u',')),
              absences.m_byTutor);
    return absences;
}

TutorAbsences TutorAbsences::readForDate(const Database &db, const QDate &date)
{
    TutorAbsences absences;
    readWhere(db,
              QStringLiteral(" WHERE tblTutorOut.FreeLocalDate Is Null OR "
                             "tblTutorOut.FreeLocalDate = %1")
                  .arg(sqlDateLiteral(date)),
              absences.m_byTutor);
    return absences;
}

QString TutorAbsences::reason(int keyTutor, const QDate &date, int lesson) const
{
    // The tutor's marks in the order they were read.
    std::vector<const TutorAbsence *> marks;
    for (auto it = m_byTutor.constFind(keyTutor); it != m_byTutor.cend() && it.key() == keyTutor;
         ++it)
        marks.push_back(&*it);
    for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
        const QString why = (*it)->reason(date, lesson);
        if (!why.isEmpty())
            return why;
    }
    return QString();
}

bool TutorAbsences::away(int keyTutor, const QDate &date, int lesson) const
{
    for (auto it = m_byTutor.constFind(keyTutor); it != m_byTutor.cend() && it.key() == keyTutor;
         ++it) {
        if (it->covers(date, lesson))
            return true;
    }
    return false;
}

} // namespace korvesta
