#include "tutorday.h"

#include "data/database.h"
#include "data/recordset.h"
#include "data/sqltext.h"

#include <QStringList>

namespace korvesta {

TutorDay::TutorDay(const Database &db, const QDate &date, const std::vector<int> &lessons)
    : m_date(date)
    , m_absences(TutorAbsences::readForDate(db, date))
{
    if (lessons.empty())
        return;
    QStringList numbers;
    for (const int lesson : lessons)
        numbers << QString::number(lesson);
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblJob.Key_Tutor, tblTimeTableContent.Lesson, "
                            "tblTimeTableContent.Key_Group FROM (tblTimeTableList INNER JOIN "
                            "tblTimeTableContent ON tblTimeTableList.Key = "
                            "tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON "
                            "tblTimeTableContent.Key_Job = tblJob.Key WHERE tblTimeTableList.Date "
                            "= %1 AND tblTimeTableContent.Lesson In (%2)")
                 .arg(sqlDateLiteral(date), numbers.join(QStringLiteral(", "))));
         !rs.isEof(); rs.moveNext())
        m_groupsTaught[{rs.value(0).toInt(), rs.value(1).toInt()}].push_back(rs.value(2).toInt());
}

QString TutorDay::absenceText(int keyTutor, int lesson) const
{
    return m_absences.reason(keyTutor, m_date, lesson);
}

bool TutorDay::isFree(int keyTutor, int lesson, int exceptGroup) const
{
    if (m_absences.away(keyTutor, m_date, lesson))
        return false;
    const auto groups = m_groupsTaught.constFind({keyTutor, lesson});
    if (groups == m_groupsTaught.constEnd())
        return true;
    for (const int group : *groups) {
        if (exceptGroup == 0 || group != exceptGroup)
            return false;
    }
    return true;
}

} // namespace korvesta
