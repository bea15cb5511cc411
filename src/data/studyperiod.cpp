#include "studyperiod.h"

#include "database.h"
#include "recordset.h"

namespace korvesta {

std::optional<StudyPeriod> readStudyPeriod(const Database &db)
{
    Recordset rs = db.openRecordset(
        QStringLiteral("SELECT Min(tblAutoTable.DateStart), Max(tblAutoTable.DateEnd) FROM "
                       "tblAutoTable WHERE tblAutoTable.DateType = 'Session';"));
    if (rs.isEof())
        return std::nullopt;
    const QDate start = rs.value(0).toDate();
    const QDate end = rs.value(1).toDate();
    if (!start.isValid() || !end.isValid())
        return std::nullopt;
    return StudyPeriod{start, end};
}

QString studyLessonCountSql(const QString &job, const QString &group)
{
    // The same text as the saved queries of the load carry.
    return QStringLiteral(
               "(SELECT Count(*) FROM tblTimeTableContent INNER JOIN tblTimeTableList ON "
               "tblTimeTableList.Key = tblTimeTableContent.Key_TTList WHERE "
               "tblTimeTableContent.Key_Job = %1 AND tblTimeTableContent.Key_Group = %2 AND "
               "tblTimeTableList.Date Between Nz((SELECT Min(tblAutoTable.DateStart) FROM "
               "tblAutoTable WHERE tblAutoTable.DateType = 'Session'), #1/1/1900#) And "
               "Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE "
               "tblAutoTable.DateType = 'Session'), #12/31/9999#))")
        .arg(job, group);
}

} // namespace korvesta
