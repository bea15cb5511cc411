#include "exceptioncount.h"

#include "data/database.h"
#include "data/isodate.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "views/lists/celltext.h"

#include <QHash>
#include <QSet>

#include <utility>

namespace korvesta::exceptioncount {

namespace {

QDate dateOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date();
    return parseMoment(value.toString()).date();
}

// A kind the arrays hold; -1 for another (Null, 0 stays 0 as a slot of its own).
int slotOf(const QVariant &kind)
{
    if (kind.isNull() || !kind.isValid())
        return -1;
    bool ok = false;
    const int slot = kind.toInt(&ok);
    return ok && slot >= 0 && slot < Kinds ? slot : -1;
}

// The period's bounds in order: the queries take the dates between the two, whichever is
// given first.
std::pair<QDate, QDate> ordered(const QDate &first, const QDate &last)
{
    return first <= last ? std::pair(first, last) : std::pair(last, first);
}

Recordset openForTutor(const Database &db, const char *query, int keyTutor,
                       const QDate *first = nullptr, const QDate *last = nullptr)
{
    QueryDef def = db.queryDef(QString::fromLatin1(query));
    def.setParameter(QStringLiteral("pKeyTutor"), keyTutor);
    if (first && last) {
        def.setParameter(QStringLiteral("pStartDate"), *first);
        def.setParameter(QStringLiteral("pEndDate"), *last);
    }
    return def.openRecordset();
}

QString tutorOutInPeriod(int keyTutor, const QDate &lo, const QDate &hi)
{
    return QStringLiteral("FROM tblTutorOut WHERE tblTutorOut.KeyTutor=") + QString::number(keyTutor)
           + QStringLiteral(" AND tblTutorOut.FreeLocalDate Between ") + sqlDateLiteral(lo)
           + QStringLiteral(" And ") + sqlDateLiteral(hi);
}

} // namespace

void countDays(const Database &db, int keyTutor, PerKind &days, const QDate &first,
               const QDate &last)
{
    if (!first.isValid() || !last.isValid())
        return;
    const auto [lo, hi] = ordered(first, last);

    // One kind per weekday (a later row for the same weekday wins), and the condition on
    // the weekdays for the dates the tutor teaches.
    std::array<int, 8> weekdayKind;
    weekdayKind.fill(-2); // no weekly exception
    QStringList condition;
    {
        Recordset rs = openForTutor(db, "qryOutWeekDay1", keyTutor);
        const int kindField = requiredField(rs, QStringLiteral("KeyTypeOut"));
        const int dayField = requiredField(rs, QStringLiteral("FreeDay"));
        for (; !rs.isEof(); rs.moveNext()) {
            const int weekday = rs.value(dayField).toInt();
            if (weekday < 1 || weekday > 7)
                continue;
            if (weekdayKind[size_t(weekday)] == -2)
                condition << QStringLiteral("(Weekday([Date],2))=") + QString::number(weekday);
            weekdayKind[size_t(weekday)] = slotOf(rs.value(kindField));
        }
    }

    {
        Recordset rs = openForTutor(db, "qryOutLocalDate3", keyTutor, &lo, &hi);
        const int kindField = requiredField(rs, QStringLiteral("KeyTypeOut"));
        const int countField = requiredField(rs, QStringLiteral("CountDays"));
        for (; !rs.isEof(); rs.moveNext()) {
            if (const int slot = slotOf(rs.value(kindField)); slot >= 0)
                days[size_t(slot)] += rs.value(countField).toInt();
        }
    }
    if (condition.isEmpty())
        return;

    const QString sql =
        QStringLiteral("SELECT DISTINCT tblTimeTableList.Date, Weekday([Date],2) AS WeekDayN ")
        + QStringLiteral("FROM tblTimeTableList INNER JOIN (tblJob INNER JOIN tblTimeTableContent "
                         "ON tblJob.Key = tblTimeTableContent.Key_Job) ON tblTimeTableList.Key = "
                         "tblTimeTableContent.Key_TTList ")
        + QStringLiteral("WHERE (((tblTimeTableList.Date) Between #") + sqlDateText(lo)
        + QStringLiteral("# And #") + sqlDateText(hi) + QStringLiteral("#) ")
        + QStringLiteral("AND ((tblJob.Key_Tutor)=") + QString::number(keyTutor)
        + QStringLiteral(") ") + QStringLiteral("AND (")
        + condition.join(QStringLiteral(" Or ")) + QStringLiteral(")) ")
        + QStringLiteral("ORDER BY tblTimeTableList.Date;");
    // Read with the text for this call only: counting writes nothing to the document.
    QSet<QDate> teaching;
    {
        const QString name = QStringLiteral("qryOutWeekDay2");
        Recordset rs = db.openWithQueryTexts(name, {{name, sql}});
        const int dateField = requiredField(rs, QStringLiteral("Date"));
        for (; !rs.isEof(); rs.moveNext())
            teaching.insert(dateOf(rs.value(dateField)));
    }
    // Whole days already counted by their date.
    QSet<QDate> counted;
    {
        Recordset rs = db.openRecordset(
            QStringLiteral("SELECT DISTINCT tblTutorOut.FreeLocalDate ")
            + tutorOutInPeriod(keyTutor, lo, hi)
            + QStringLiteral(" AND Nz(tblTutorOut.FreeLesson,0)=0;"));
        for (; !rs.isEof(); rs.moveNext())
            counted.insert(dateOf(rs.value(0)));
    }

    const int step = first <= last ? 1 : -1;
    for (QDate date = first; date != last; date = date.addDays(step)) {
        const int slot = weekdayKind[size_t(date.dayOfWeek())];
        if (slot < 0 || teaching.contains(date) || counted.contains(date))
            continue;
        ++days[size_t(slot)];
    }
}

void countLessons(const Database &db, int keyTutor, PerKind &lessons, const QDate &first,
                  const QDate &last)
{
    if (!first.isValid() || !last.isValid())
        return;
    const auto [lo, hi] = ordered(first, last);
    {
        Recordset rs = openForTutor(db, "qryOutLesson5", keyTutor, &lo, &hi);
        const int kindField = requiredField(rs, QStringLiteral("KeyTypeOut"));
        const int countField = requiredField(rs, QStringLiteral("CountLessons"));
        for (; !rs.isEof(); rs.moveNext()) {
            if (const int slot = slotOf(rs.value(kindField)); slot >= 0)
                lessons[size_t(slot)] = rs.value(countField).toInt();
        }
    }

    // Kinds by lesson number every day, and by weekday and lesson number.
    QHash<int, int> everyDay;
    QHash<int, int> weekly; // weekday * 1000 + lesson
    {
        Recordset rs = openForTutor(db, "qryOutLesson1", keyTutor);
        const int lessonField = requiredField(rs, QStringLiteral("FreeLesson"));
        const int kindField = requiredField(rs, QStringLiteral("KeyTypeOut"));
        for (; !rs.isEof(); rs.moveNext())
            everyDay.insert(rs.value(lessonField).toInt(), slotOf(rs.value(kindField)));
    }
    {
        Recordset rs = openForTutor(db, "qryOutLesson2", keyTutor);
        const int lessonField = requiredField(rs, QStringLiteral("FreeLesson"));
        const int kindField = requiredField(rs, QStringLiteral("KeyTypeOut"));
        const int dayField = requiredField(rs, QStringLiteral("FreeDay"));
        for (; !rs.isEof(); rs.moveNext()) {
            weekly.insert(rs.value(dayField).toInt() * 1000 + rs.value(lessonField).toInt(),
                          slotOf(rs.value(kindField)));
        }
    }
    if (everyDay.isEmpty() && weekly.isEmpty())
        return;

    // The single-date lesson absences, counted above already.
    QSet<QString> counted;
    {
        Recordset rs = db.openRecordset(
            QStringLiteral("SELECT DISTINCT tblTutorOut.FreeLocalDate, tblTutorOut.FreeLesson ")
            + tutorOutInPeriod(keyTutor, lo, hi)
            + QStringLiteral(" AND tblTutorOut.FreeLesson>0;"));
        for (; !rs.isEof(); rs.moveNext())
            counted.insert(isoDateText(dateOf(rs.value(0))) + QLatin1Char('/')
                           + QString::number(rs.value(1).toInt()));
    }

    Recordset rs = openForTutor(db, "qryOutLesson4", keyTutor, &lo, &hi);
    const int dateField = requiredField(rs, QStringLiteral("Date"));
    const int lessonField = requiredField(rs, QStringLiteral("Lesson"));
    for (; !rs.isEof(); rs.moveNext()) {
        const QDate date = dateOf(rs.value(dateField));
        const int lesson = rs.value(lessonField).toInt();
        auto it = weekly.constFind(date.dayOfWeek() * 1000 + lesson);
        if (it == weekly.constEnd()) {
            it = everyDay.constFind(lesson);
            if (it == everyDay.constEnd())
                continue;
        }
        if (it.value() < 0
            || counted.contains(isoDateText(date) + QLatin1Char('/') + QString::number(lesson)))
            continue;
        ++lessons[size_t(it.value())];
    }
}

} // namespace korvesta::exceptioncount
