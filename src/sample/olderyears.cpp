#include "olderyears.h"

#include "data/bulkwrite.h"
#include "data/database.h"
#include "data/studyperiod.h"

namespace korvesta {

void addOlderYears(const QString &path, int years)
{
    const Database db = Database::open(path);
    const std::optional<StudyPeriod> period = readStudyPeriod(db);
    if (!period)
        return;
    const QByteArray from = '\'' + period->start.toString(Qt::ISODate).toLatin1() + '\'';
    const QByteArray to = '\'' + period->end.toString(Qt::ISODate).toLatin1() + '\'';
    Database::Transaction transaction(db);
    for (int year = 1; year <= years; ++year) {
        const QByteArray shift = "'-" + QByteArray::number(364 * year) + " days'";
        executeNative(db, "INSERT OR IGNORE INTO tblTimeTableList (Date, ReadOnly) "
                          "SELECT date(Date, " + shift + "), 1 FROM tblTimeTableList "
                          "WHERE Date BETWEEN " + from + " AND " + to);
        executeNative(db, "INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, "
                          "Key_Group, SubGroup, Key_Aud, Key_TypeLesson) SELECT N.Key, C.Lesson, "
                          "C.Key_Job, C.Key_Group, C.SubGroup, C.Key_Aud, C.Key_TypeLesson "
                          "FROM tblTimeTableList AS D JOIN tblTimeTableContent AS C "
                          "ON C.Key_TTList = D.Key JOIN tblTimeTableList AS N "
                          "ON N.Date = date(D.Date, " + shift + ") WHERE D.Date BETWEEN "
                              + from + " AND " + to);
        executeNative(db, "INSERT INTO tblAutoTable (DateType, DateStart, DateEnd) SELECT "
                          "DateType, date(DateStart, '-" + QByteArray::number(year)
                              + " years'), date(DateEnd, '-" + QByteArray::number(year)
                              + " years') FROM tblAutoTable WHERE DateType <> 'Session' "
                                "AND DateStart BETWEEN " + from + " AND " + to);
    }
    transaction.commit();
}

} // namespace korvesta
