#include "subgroupnumbers.h"

#include "data/database.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/subgroupnumber.h"

#include <vector>

namespace korvesta {

SubgroupNumbers::SubgroupNumbers(const Database &db, const QDate &from, const QDate &to)
{
    Recordset rs = db.openRecordset(
        QStringLiteral("SELECT tblTimeTableList.Date, tblTimeTableContent.Lesson, "
                       "tblTimeTableContent.Key_Group, tblGroups.Group & '  (' & "
                       "tblGroups.Course & ')' AS GroupCourse, tblTimeTableContent.SubGroup "
                       "FROM (tblTimeTableList INNER JOIN tblTimeTableContent ON "
                       "tblTimeTableList.Key = tblTimeTableContent.Key_TTList) INNER JOIN "
                       "tblGroups ON tblTimeTableContent.Key_Group = tblGroups.Key "
                       "WHERE tblTimeTableList.Date Between %1 And %2 "
                       "ORDER BY tblTimeTableList.Date, tblTimeTableContent.Lesson, "
                       "tblTimeTableContent.Key_Group, tblTimeTableContent.SubGroup;")
            .arg(sqlDateLiteral(from.isValid() ? from : QDate(1900, 1, 1)),
                 sqlDateLiteral(to.isValid() ? to : QDate(9999, 12, 31))));
    struct Row
    {
        QDate date;
        int lesson = 0, group = 0, stored = 0;
        QString groupCourse;
    };
    std::vector<Row> hour; // one group's lessons at one hour
    const auto flush = [&] {
        for (size_t i = 0; i < hour.size(); ++i)
            m_shown.insert(key(hour[i].date, hour[i].lesson, hour[i].groupCourse, hour[i].stored),
                           shownSubgroup(hour[i].stored, int(i) + 1, int(hour.size())));
        hour.clear();
    };
    for (; !rs.isEof(); rs.moveNext()) {
        Row r{rs.value(0).toDate(), rs.value(1).toInt(), rs.value(2).toInt(),
              rs.value(4).toInt(), rs.value(3).toString()};
        if (!hour.empty()
            && (hour.front().date != r.date || hour.front().lesson != r.lesson
                || hour.front().group != r.group))
            flush();
        hour.push_back(std::move(r));
    }
    flush();
}

int SubgroupNumbers::shown(const QDate &date, int lesson, const QString &groupCourse,
                           int stored) const
{
    return m_shown.value(key(date, lesson, groupCourse, stored), 0);
}

QString SubgroupNumbers::key(const QDate &date, int lesson, const QString &groupCourse,
                             int stored)
{
    return date.toString(Qt::ISODate) + u'|' + QString::number(lesson) + u'|' + groupCourse
           + u'|' + QString::number(stored);
}

} // namespace korvesta
