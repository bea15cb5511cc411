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
    // The same text as the saved queries of the load carry. Date rows are made as a year is
    // compiled, so the keys of the study period's dates form a range of their own: the
    // lessons are counted in that range, from the load's index alone, and only when a date
    // of another year has a key inside it is each lesson's date looked at.
    const QString start = QStringLiteral(
        "Nz((SELECT Min(tblAutoTable.DateStart) FROM tblAutoTable WHERE tblAutoTable.DateType = "
        "'Session'), #1/1/1900#)");
    const QString end = QStringLiteral(
        "Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE tblAutoTable.DateType = "
        "'Session'), #12/31/9999#)");
    const QString dayKey = QStringLiteral("(SELECT %1(PeriodDay.Key) FROM tblTimeTableList AS "
                                          "PeriodDay WHERE PeriodDay.Date Between %2 And %3)");
    const QString first = dayKey.arg(QStringLiteral("Min"), start, end);
    const QString last = dayKey.arg(QStringLiteral("Max"), start, end);
    return QStringLiteral(
               "(SELECT Count(*) FROM tblTimeTableContent WHERE tblTimeTableContent.Key_Job = %1 "
               "AND tblTimeTableContent.Key_Group = %2 AND tblTimeTableContent.Key_TTList Between "
               "%3 And %4 AND (NOT EXISTS (SELECT OtherDay.Key FROM tblTimeTableList AS OtherDay "
               "WHERE OtherDay.Key Between %3 And %4 AND (OtherDay.Date < %5 OR OtherDay.Date > "
               "%6)) OR EXISTS (SELECT LessonDay.Key FROM tblTimeTableList AS LessonDay WHERE "
               "LessonDay.Key = tblTimeTableContent.Key_TTList AND LessonDay.Date Between %5 And "
               "%6)))")
        .arg(job, group, first, last, start, end);
}

} // namespace korvesta
