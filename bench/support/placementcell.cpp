#include "placementcell.h"

#include "data/database.h"
#include "data/recordset.h"

#include <map>
#include <utility>

namespace korvesta {

PlacementCell pickPlacementCell(const Database &db, const QDate &day)
{
    PlacementCell cell;
    std::map<std::pair<QString, QString>, int> named;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblGroups.[Group], tblGroups.Course FROM tblGroups;"));
         !rs.isEof(); rs.moveNext())
        ++named[{rs.value(0).toString(), rs.value(1).toString()}];
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblGroups.Key, tblGroups.[Group], tblGroups.Course, Count(*) AS Lines "
             "FROM tblGroups INNER JOIN tblJobList ON tblJobList.Key_Group = tblGroups.Key "
             "GROUP BY tblGroups.Key, tblGroups.[Group], tblGroups.Course "
             "ORDER BY Count(*) DESC, tblGroups.Key;"));
         !rs.isEof() && cell.keyGroup == 0; rs.moveNext()) {
        if (named[{rs.value(1).toString(), rs.value(2).toString()}] == 1) {
            cell.keyGroup = rs.value(0).toInt();
            cell.group = rs.value(1).toString();
            cell.course = rs.value(2).toString();
        }
    }
    cell.keyDay = db.openRecordset(QStringLiteral("SELECT Key FROM tblTimeTableList WHERE "
                                                  "Date = #%1#")
                                       .arg(day.toString(QStringLiteral("MM/dd/yyyy"))))
                      .value(0)
                      .toInt();
    for (int lesson = 1; lesson <= 8 && cell.lesson == 0; ++lesson) {
        if (db.openRecordset(QStringLiteral("SELECT Count(*) FROM tblTimeTableContent WHERE "
                                            "Key_Group = %1 AND Key_TTList = %2 AND Lesson = %3")
                                 .arg(cell.keyGroup)
                                 .arg(cell.keyDay)
                                 .arg(lesson))
                .value(0)
                .toLongLong()
            == 0)
            cell.lesson = lesson;
    }
    return cell;
}

std::optional<PlacementRequest> readyToPlace(PlacementChoice &choice, Prompts &prompts)
{
    bool checked = false;
    for (const PlacementLine &l : choice.lines) {
        if (!l.blocked() && choice.check(l.keyJobList, prompts)) {
            checked = true;
            break;
        }
    }
    const std::vector<PlacementAuditorium> free = choice.freeAuditoriums();
    if (!checked || free.empty() || choice.lessonTypes.empty())
        return std::nullopt;
    choice.chooseAuditorium(1, free.front());
    return PlacementRequest{choice.lessonTypes.front().key, false};
}

} // namespace korvesta
