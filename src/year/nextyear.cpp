#include "nextyear.h"

#include "data/bulkwrite.h"
#include "data/calendar.h"
#include "data/database.h"
#include "data/dberror.h"
#include "data/documenttemplate.h"
#include "data/recordset.h"
#include "data/studyperiod.h"
#include "editing/listednames.h"
#include "yearhours.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace korvesta {

namespace {

// This year's study period; without one, the academic year before the new start.
StudyPeriod currentPeriod(const Database &db, const QDate &newStart)
{
    return readStudyPeriod(db).value_or(StudyPeriod{newStart.addYears(-1), newStart.addDays(-1)});
}

// Years the calendar moves on: from this period's start to the new one, at least one.
int yearsBetween(const StudyPeriod &period, const QDate &newStart)
{
    return std::max(1, newStart.year() - period.start.year());
}

QByteArray sqlText(const QString &text)
{
    return '\'' + text.toUtf8().replace('\'', "''") + '\'';
}

QByteArray sqlDate(const QDate &date)
{
    return sqlText(date.toString(Qt::ISODate));
}

// The lists taken over whole, keys and all, so that the load and the exceptions that refer
// to them by key stay right. The type lists replace the template's first entries.
const char *const kWholeTables[] = {
    "tblTypeFaculty", "tblTypeTuition", "tblTypeFinance", "tblDiscType",  "tblTypeLesson",
    "tblTutorTypeOut", "tblTimeLesson", "tblGroups",      "tblDisciplines", "tblAuditories",
    "tblTutors",
};

int countOf(const Database &db, const char *table)
{
    return db.openRecordset(QStringLiteral("SELECT Count(*) FROM %1;").arg(QLatin1String(table)))
        .value(0)
        .toInt();
}

struct CalendarRow
{
    QString type;
    QDate start, end;
};

// This year's break and holidays; those of older years stay behind.
std::vector<CalendarRow> thisYearsHolidays(const Database &db, const StudyPeriod &period)
{
    std::vector<CalendarRow> rows;
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblAutoTable.DateType, tblAutoTable.DateStart, tblAutoTable.DateEnd "
             "FROM tblAutoTable WHERE tblAutoTable.DateType <> 'Session' "
             "ORDER BY tblAutoTable.DateStart, tblAutoTable.Key;"));
         !rs.isEof(); rs.moveNext()) {
        const QDate start = rs.value(1).toDate();
        if (start.isValid() && start >= period.start && start <= period.end)
            rows.push_back({rs.value(0).toString(), start, rs.value(2).toDate()});
    }
    return rows;
}

void writeCalendar(const Database &db, const std::vector<CalendarRow> &holidays, int years,
                   NextYearResult &r)
{
    BulkInsert add(db, "INSERT INTO tblAutoTable (DateType, DateStart, DateEnd) VALUES (?, ?, ?)");
    (add << QStringLiteral("Session") << r.periodStart << r.periodEnd).run();
    for (const CalendarRow &row : holidays) {
        add << row.type << row.start.addYears(years);
        (row.end.isValid() ? add << row.end.addYears(years) : add.null()).run();
        ++r.holidays;
    }
}

} // namespace

QDate suggestedNextYearStart(const QString &source)
{
    const Database db = Database::open(source, Database::Mode::ReadOnly);
    const StudyPeriod period = currentPeriod(db, academicYearStart(QDate::currentDate()).addYears(1));
    QDate start(period.end.year(), 9, 1);
    return start > period.end ? start : start.addYears(1);
}

QString suggestedNextYearPath(const QString &source, const QDate &start)
{
    const QFileInfo info(source);
    return info.absolutePath() + u'/' + info.completeBaseName()
           + QStringLiteral(" %1-%2.kvt").arg(start.year()).arg(start.year() + 1);
}

namespace {

// Why the new year cannot start from this document, the table of hours aside.
QString calendarProblem(const NextYearRequest &request)
{
    if (!request.start.isValid())
        return QStringLiteral("Не указано начало нового учебного года (--start)");
    const QFileInfo source(request.source);
    const QFileInfo target(request.target);
    if (target.exists() && target.canonicalFilePath() == source.canonicalFilePath())
        return QStringLiteral("Новый документ не может заменить документ текущего года: "
                              "укажите другой файл");
    const Database db = Database::open(request.source, Database::Mode::ReadOnly);
    const StudyPeriod period = currentPeriod(db, request.start);
    if (request.start <= period.end)
        return QStringLiteral("Новый учебный год должен начинаться после конца текущего "
                              "учебного периода (%1)")
            .arg(period.end.toString(QStringLiteral("dd.MM.yyyy")));
    return QString();
}

} // namespace

QString nextYearProblem(const NextYearRequest &request)
{
    const QString problem = calendarProblem(request);
    if (!problem.isEmpty() || request.hoursFrom.isEmpty())
        return problem;
    return yearHoursProblem(request.hoursFrom);
}

NextYearResult startNextYear(const NextYearRequest &request)
{
    // The table of hours is read once, where it is applied; a table that cannot be used
    // throws there and nothing is written.
    const QString problem = calendarProblem(request);
    if (!problem.isEmpty())
        throw DbError(dberr::Failed, problem);
    const bool keepLoad = request.keepLoad || !request.hoursFrom.isEmpty();
    NextYearResult result;
    StudyPeriod period;
    int years = 1;
    std::vector<CalendarRow> holidays;
    {
        const Database source = Database::open(request.source, Database::Mode::ReadOnly);
        period = currentPeriod(source, request.start);
        years = yearsBetween(period, request.start);
        holidays = thisYearsHolidays(source, period);
    }
    result.periodStart = request.start;
    result.periodEnd = std::max(period.end.addYears(years), request.start);

    writeNewDocument(request.target, [&](const Database &db) {
        executeNative(db, "ATTACH DATABASE " + sqlText(QFileInfo(request.source).absoluteFilePath())
                              + " AS old");
        try {
            Database::Transaction transaction(db);
            for (const char *table : kWholeTables) {
                executeNative(db, QByteArray("DELETE FROM main.") + table);
                executeNative(db, QByteArray("INSERT INTO main.") + table + " SELECT * FROM old."
                                      + table);
            }
            // Weekly exceptions always; dated ones only from the new start on.
            executeNative(db, "INSERT INTO main.tblTutorOut SELECT * FROM old.tblTutorOut "
                              "WHERE FreeLocalDate IS NULL OR FreeLocalDate >= "
                                  + sqlDate(request.start));
            if (keepLoad) {
                executeNative(db, "INSERT INTO main.tblJob SELECT * FROM old.tblJob");
                executeNative(db, "INSERT INTO main.tblJobList (Key, Key_Job, Key_Group, Hours, "
                                  "DateExam) SELECT Key, Key_Job, Key_Group, Hours, NULL "
                                  "FROM old.tblJobList");
            }
            // The program's own queries are this version's; queries of the planner's own come
            // along.
            executeNative(db, "INSERT OR IGNORE INTO main.sysQueries SELECT * FROM "
                              "old.sysQueries");
            writeCalendar(db, holidays, years, result);
            if (!request.hoursFrom.isEmpty())
                applyYearHours(db, request.hoursFrom, result);
            transaction.commit();
        } catch (...) {
            executeNative(db, "DETACH DATABASE old");
            throw;
        }
        executeNative(db, "DETACH DATABASE old");
        result.groups = countOf(db, "tblGroups");
        result.tutors = countOf(db, "tblTutors");
        result.lines = countOf(db, "tblJobList");
        result.exceptions = countOf(db, "tblTutorOut");
    });
    return result;
}

} // namespace korvesta
