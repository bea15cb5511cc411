#include "tutorabsence.h"

#include "database.h"
#include "isodate.h"
#include "recordset.h"

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

TutorAbsences TutorAbsences::read(const Database &db)
{
    TutorAbsences absences;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTutorOut.KeyTutor, tblTutorOut.FreeLocalDate, "
                            "tblTutorOut.FreeDay, tblTutorOut.FreeLesson FROM tblTutorOut;"));
         !rs.isEof(); rs.moveNext())
        absences.m_byTutor.insert(rs.value(0).toInt(),
                                  TutorAbsence::fromFields(rs.value(1), rs.value(2), rs.value(3)));
    return absences;
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
