#include "yearhours.h"

#include "nextyear.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/recordset.h"
#include "editing/listednames.h"
#include "editing/loadchanges.h"
#include "import/columnmapping.h"
#include "import/rowprompts.h"
#include "import/sheetfile.h"

#include <QHash>

namespace korvesta {

namespace {

struct HoursTable
{
    SheetTable sheet;
    ColumnMapping columns;
    QString problem;
};

HoursTable readHoursTable(const QString &path)
{
    HoursTable t;
    t.sheet = readSheetFile(path);
    if (!t.sheet.ok()) {
        t.problem = t.sheet.error;
        return t;
    }
    if (t.sheet.rows.empty()) {
        t.problem = QStringLiteral("В таблице часов нет строк: %1").arg(path);
        return t;
    }
    t.columns = matchColumns(ImportKind::Load, t.sheet.rows.front().cells);
    t.problem = mappingProblem(t.columns);
    return t;
}

QString cell(const HoursTable &t, const SheetRow &row, const char *field)
{
    const int column = t.columns.column(QString::fromLatin1(field));
    return column < 0 ? QString() : row.cells.value(column).trimmed();
}

} // namespace

QString yearHoursProblem(const QString &path)
{
    return readHoursTable(path).problem;
}

void applyYearHours(const Database &db, const QString &path, NextYearResult &result)
{
    const HoursTable table = readHoursTable(path);
    if (!table.problem.isEmpty())
        throw DbError(dberr::Failed, table.problem);
    const bool byCourse = table.columns.column(QStringLiteral("course")) >= 0;
    // The lines of the load by the names a row gives; with no course in the table, a group
    // taught in two courses is ambiguous (key 0).
    QHash<QString, int> lines;
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblJobList.Key, tblTutors.Tutor, tblDisciplines.Discipline, "
             "tblGroups.[Group], tblGroups.Course FROM (((tblJobList INNER JOIN tblJob ON "
             "tblJobList.Key_Job = tblJob.Key) INNER JOIN tblTutors ON tblJob.Key_Tutor = "
             "tblTutors.Key) INNER JOIN tblDisciplines ON tblJob.Key_Discipline = "
             "tblDisciplines.Key) INNER JOIN tblGroups ON tblJobList.Key_Group = tblGroups.Key;"));
         !rs.isEof(); rs.moveNext()) {
        const QString key =
            ListedNames::key({rs.value(1).toString(), rs.value(2).toString(),
                              rs.value(3).toString(), byCourse ? rs.value(4).toString() : QString()});
        const auto it = lines.constFind(key);
        lines.insert(key, it == lines.constEnd() ? rs.value(0).toInt() : 0);
    }
    for (size_t i = 1; i < table.sheet.rows.size(); ++i) {
        const SheetRow &row = table.sheet.rows[i];
        const QString tutor = cell(table, row, "tutor");
        const QString discipline = cell(table, row, "discipline");
        const QString group = cell(table, row, "group");
        const QString course = cell(table, row, "course");
        const QString what = tutor + QStringLiteral(", ") + discipline + QStringLiteral(", ")
                             + group + (byCourse ? QStringLiteral(" (%1)").arg(course) : QString());
        auto report = [&](const QString &status, const QString &text) {
            result.hoursReport << QStringLiteral("Строка %1\t%2\t%3").arg(row.number).arg(status, text);
        };
        const int line = lines.value(ListedNames::key({tutor, discipline, group, course}), -1);
        if (line <= 0) {
            report(QStringLiteral("пропущено"),
                   what + (line == 0 ? QStringLiteral(": группа с таким названием есть на "
                                                      "нескольких курсах, укажите курс")
                                     : QStringLiteral(": такой строки нагрузки нет")));
            ++result.hoursSkipped;
            continue;
        }
        RowPrompts prompts;
        const std::optional<int> hours = loadHoursFromText(prompts, cell(table, row, "hours"));
        if (!hours) {
            report(QStringLiteral("пропущено"), what + QStringLiteral(": ") + prompts.reason);
            ++result.hoursSkipped;
            continue;
        }
        db.execute(QStringLiteral("UPDATE tblJobList SET tblJobList.Hours = %1 "
                                  "WHERE tblJobList.Key = %2;")
                       .arg(*hours)
                       .arg(line));
        report(QStringLiteral("изменено"), what + QStringLiteral(": %1").arg(*hours));
    }
}

} // namespace korvesta
