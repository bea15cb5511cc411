#include "calendar.h"

#include "database.h"
#include "dberror.h"
#include "documentsession.h"
#include "isodate.h"
#include "recordset.h"
#include "settings/settingsstore.h"
#include "sqltext.h"

#include <array>

namespace korvesta {

namespace {

// Floor division, so that the days before the first Monday fall into week 0 and not week 1.
qint64 floorDiv(qint64 a, qint64 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

QDate academicYearStart(const QDate &today)
{
    return QDate(today.month() > 8 ? today.year() : today.year() - 1, 9, 1);
}

int workingWeekNumber(const Database &db, const QDate &date, const QDate &today)
{
    if (!date.isValid())
        return 0;
    QDate start = academicYearStart(today);
    start = start.addDays(1 - start.dayOfWeek()); // back to Monday

    // Only the rest periods of the current study period count: a document kept for several
    // years holds the vacations of past years too. Without a study period, the academic
    // year stands for it.
    QDate periodStart = academicYearStart(today);
    QDate periodEnd = periodStart.addYears(1).addDays(-1);
    Recordset session =
        db.openRecordset(QStringLiteral("SELECT tblAutoTable.DateStart, tblAutoTable.DateEnd "
                                        "FROM tblAutoTable "
                                        "WHERE (((tblAutoTable.DateType)='Session'));"));
    if (!session.isEof() && session.value(0).toDate().isValid()
        && session.value(1).toDate().isValid()) {
        periodStart = session.value(0).toDate();
        periodEnd = session.value(1).toDate();
    }

    // A rest period counts in full from its first day on, also when the date lies inside it.
    qint64 restWeeks = 0;
    Recordset rest =
        db.openRecordset(QStringLiteral("SELECT tblAutoTable.DateStart, tblAutoTable.DateEnd "
                                        "FROM tblAutoTable "
                                        "WHERE (((tblAutoTable.DateType)='Rest') "
                                        "AND ((tblAutoTable.DateStart)<=%1) "
                                        "AND ((tblAutoTable.DateStart) Between %2 And %3));")
                             .arg(sqlDateLiteral(date), sqlDateLiteral(periodStart),
                                  sqlDateLiteral(periodEnd)));
    for (; !rest.isEof(); rest.moveNext()) {
        const QDate from = rest.value(0).toDate();
        const QDate to = rest.value(1).toDate();
        if (!from.isValid() || !to.isValid() || from.daysTo(to) < 6)
            continue;
        qint64 weeks = from.daysTo(to.addDays(1)) / 7;
        // Neither end on a week boundary: the weeks it spans are one fewer whole weeks.
        if (from.dayOfWeek() != Qt::Monday && to.dayOfWeek() != Qt::Sunday)
            --weeks;
        restWeeks += weeks;
    }
    return int(floorDiv(start.daysTo(date), 7) + 1 - restWeeks);
}

int workingWeekNumber(DocumentSession &session, const QDate &date, const QDate &today)
{
    std::optional<Database> db = session.access();
    if (!db)
        return 0;
    try {
        return workingWeekNumber(*db, date, today);
    } catch (const DbError &error) {
        session.handleError(error);
        return 0;
    }
}

int timetableDayKey(const Database &db, const QDate &date, bool readOnlyWhenAdded)
{
    if (!date.isValid())
        return 0;
    const QString select = QStringLiteral("SELECT tblTimeTableList.* "
                                          "FROM tblTimeTableList "
                                          "WHERE (((tblTimeTableList.Date)=%1));")
                               .arg(sqlDateLiteral(date));
    Recordset rs = db.openRecordset(select);
    if (!rs.isEmpty())
        return rs.value(QStringLiteral("Key")).toInt();
    try {
        rs.addNew();
        rs.setValue(QStringLiteral("Date"), date);
        rs.setValue(QStringLiteral("ReadOnly"), readOnlyWhenAdded);
        const int key = rs.value(QStringLiteral("Key")).toInt();
        rs.update();
        return key;
    } catch (const DbError &) {
        // The document keeps one row per date (a unique index): a row added meanwhile by
        // another writer is the one to use.
        Recordset again = db.openRecordset(select);
        if (again.isEmpty())
            throw;
        return again.value(QStringLiteral("Key")).toInt();
    }
}

int timetableDayKey(DocumentSession &session, const SettingsStore &settings, const QDate &date)
{
    std::optional<Database> db = session.access();
    if (!db)
        return 0;
    try {
        return timetableDayKey(
            *db, date,
            settings.readBool(QStringLiteral("Settings"), QStringLiteral("SaveCurrTable"), false));
    } catch (const DbError &error) {
        session.handleError(error);
        return 0;
    }
}

int weekdayNumber(const QString &text)
{
    static const std::array<QStringList, 7> spellings = {{
        {QStringLiteral("понедельник"), QStringLiteral("пон"), QStringLiteral("пн")},
        {QStringLiteral("вторник"), QStringLiteral("втор"), QStringLiteral("втр"),
         QStringLiteral("вт")},
        {QStringLiteral("среда"), QStringLiteral("срд"), QStringLiteral("ср")},
        {QStringLiteral("четверг"), QStringLiteral("четв"), QStringLiteral("чет"),
         QStringLiteral("чт")},
        {QStringLiteral("пятница"), QStringLiteral("пятн"), QStringLiteral("пят"),
         QStringLiteral("птн"), QStringLiteral("пт")},
        {QStringLiteral("суббота"), QStringLiteral("суб"), QStringLiteral("сбт"),
         QStringLiteral("сб")},
        {QStringLiteral("воскресенье"), QStringLiteral("воскр"), QStringLiteral("воск"),
         QStringLiteral("вос"), QStringLiteral("вс")},
    }};
    const QString lower = text.toLower();
    for (size_t i = 0; i < spellings.size(); ++i) {
        if (spellings[i].contains(lower))
            return int(i) + 1;
    }
    return 0;
}

QString calendarRefusal(const Database &db, const QDate &date, int workDays)
{
    if (date.dayOfWeek() > workDays)
        return QStringLiteral("Выбран выходной день");
    return StudyCalendar(db).refusal(date);
}

StudyCalendar::StudyCalendar(const Database &db)
{
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblAutoTable.DateType, tblAutoTable.DateStart, "
                            "tblAutoTable.DateEnd FROM tblAutoTable;"));
         !rs.isEof(); rs.moveNext()) {
        const QString type = rs.value(QStringLiteral("DateType")).toString();
        Period p;
        p.start = dateOf(rs.value(QStringLiteral("DateStart")));
        p.end = dateOf(rs.value(QStringLiteral("DateEnd")));
        if (!p.start.isValid())
            continue;
        if (!p.end.isValid())
            p.end = p.start;
        p.study = type.compare(QStringLiteral("Session"), Qt::CaseInsensitive) == 0;
        if (p.study || type.startsWith(QStringLiteral("Rest"), Qt::CaseInsensitive)
            || type.startsWith(QStringLiteral("Selebrate"), Qt::CaseInsensitive))
            m_periods.push_back(p);
    }
}

QString StudyCalendar::refusal(const QDate &date) const
{
    const auto text = [](const QDate &d) { return d.toString(QStringLiteral("dd.MM.yyyy")); };
    for (const Period &p : m_periods) {
        const bool inside = p.start <= date && date <= p.end;
        if (p.study && !inside)
            return QStringLiteral("Дата %1 вне учебного периода %2 - %3")
                .arg(text(date), text(p.start), text(p.end));
        if (!p.study && inside)
            return QStringLiteral("Дата %1 приходится на каникулы или праздник").arg(text(date));
    }
    return QString();
}

} // namespace korvesta
