#include "tutorabsence.h"

#include "isodate.h"

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

} // namespace korvesta
