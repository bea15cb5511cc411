#include "groupshift.h"

#include "data/database.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "settings/settingsrecord.h"

#include <algorithm>

namespace korvesta {

GroupShift defaultShift(const SettingsRecord &settings)
{
    const int lessons = std::max(settings.LessonsInDay, 1);
    const int limit = settings.LessonsToGroup > 0 ? settings.LessonsToGroup : lessons;
    return {1, std::clamp(limit, 1, lessons)};
}

QHash<int, GroupShift> readGroupShifts(const Database &db, const SettingsRecord &settings,
                                       const QDate &from, int group)
{
    const int lessons = std::max(settings.LessonsInDay, 1);
    const int width = defaultShift(settings).last;
    QHash<int, GroupShift> shifts;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTimeTableContent.Key_Group, Min(tblTimeTableContent.Lesson), "
                            "Max(tblTimeTableContent.Lesson) FROM tblTimeTableContent INNER JOIN "
                            "tblTimeTableList ON tblTimeTableContent.Key_TTList = "
                            "tblTimeTableList.Key WHERE tblTimeTableList.Date Between %1 And %2%3 "
                            "GROUP BY tblTimeTableContent.Key_Group;")
                 .arg(sqlDateLiteral(from.addDays(-28)), sqlDateLiteral(from.addDays(-1)),
                      group == 0 ? QString()
                                 : QStringLiteral(" AND tblTimeTableContent.Key_Group = %1")
                                       .arg(group)));
         !rs.isEof(); rs.moveNext()) {
        const int first = std::clamp(rs.value(1).toInt(), 1, lessons);
        const int last = std::clamp(rs.value(2).toInt(), first, lessons);
        shifts.insert(rs.value(0).toInt(),
                      {first, std::min(std::max(last, first + width - 1), lessons)});
    }
    return shifts;
}

} // namespace korvesta
