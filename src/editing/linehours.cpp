#include "linehours.h"

#include "data/database.h"
#include "data/recordset.h"

#include <QStringList>

#include <algorithm>

namespace korvesta {

std::map<std::pair<int, int>, LineHours> readLineHours(const Database &db,
                                                       std::vector<std::pair<int, int>> lines)
{
    std::map<std::pair<int, int>, LineHours> found;
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    if (lines.empty())
        return found;
    // Read by the lines' groups and jobs (a superset of the pairs), kept when among the pairs.
    QStringList groups;
    QStringList jobs;
    for (const auto &[group, job] : lines) {
        groups << QString::number(group);
        jobs << QString::number(job);
    }
    groups.removeDuplicates();
    jobs.removeDuplicates();
    const QString where = QStringLiteral("%1.Key_Group In (%2) AND %1.Key_Job In (%3)");
    const auto wanted = [&](const Recordset &rs) {
        const std::pair<int, int> key(rs.value(0).toInt(), rs.value(1).toInt());
        return std::binary_search(lines.begin(), lines.end(), key) ? key : std::pair<int, int>();
    };
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT L.Key_Group, L.Key_Job, L.Hours FROM tblJobList AS L WHERE ")
             + where.arg(QStringLiteral("L"), groups.join(u','), jobs.join(u',')));
         !rs.isEof(); rs.moveNext()) {
        const std::pair<int, int> key = wanted(rs);
        if (key.first != 0 && !found.count(key))
            found[key].hours = rs.value(2).toInt();
    }
    // The lessons count within the study period, as qryCheckCopyOverJob counts them.
    for (Recordset rs = db.openRecordset(
             QStringLiteral(
                 "SELECT C.Key_Group, C.Key_Job, Count(*) FROM tblTimeTableContent AS C INNER "
                 "JOIN tblTimeTableList AS D ON D.Key = C.Key_TTList WHERE ")
             + where.arg(QStringLiteral("C"), groups.join(u','), jobs.join(u','))
             + QStringLiteral(
                 " AND D.[Date] Between Nz((SELECT Min(tblAutoTable.DateStart) FROM "
                 "tblAutoTable WHERE tblAutoTable.DateType = 'Session'), #1/1/1900#) And "
                 "Nz((SELECT Max(tblAutoTable.DateEnd) FROM tblAutoTable WHERE "
                 "tblAutoTable.DateType = 'Session'), #12/31/9999#) GROUP BY C.Key_Group, "
                 "C.Key_Job"));
         !rs.isEof(); rs.moveNext()) {
        const auto line = found.find(wanted(rs));
        if (line != found.end())
            line->second.lessons = rs.value(2).toInt();
    }
    return found;
}

int linesOverHours(const Database &db, std::vector<std::pair<int, int>> lines)
{
    if (lines.empty())
        return 0;
    db.lockLoadLines(lines);
    const std::map<std::pair<int, int>, LineHours> hours = readLineHours(db, std::move(lines));
    return int(std::count_if(hours.begin(), hours.end(), [](const auto &line) {
        return line.second.lessons > line.second.hours;
    }));
}

} // namespace korvesta
