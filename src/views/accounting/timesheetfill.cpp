#include "accountingcommon.h"
#include "accountingviews.h"
#include "accountingtotals.h"

#include "data/dberror.h"
#include "data/queries.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "views/lists/celltext.h"
#include "views/viewcontext.h"

#include <array>

namespace korvesta {

namespace {

using namespace accounting;

enum Column { DisciplineCol = 1, GroupCol, CourseCol, TotalCol, GivenCol, RemainderCol };
constexpr int FirstDateCol = 7;
// The load's fields before the dates: discipline, group, course, load, given, remainder.
constexpr int LoadFields = 6;
constexpr int DateWidth = 300;

struct Line
{
    std::array<QString, LoadFields> cells;
    QVariant remainder;
    int discipline = 0;
    int group = 0;
    std::vector<QString> perDate;
};

void writeDateHeaders(GridModel &grid, const std::vector<QDate> &dates)
{
    // Within a year a month's name is enough; a longer period may meet a month twice.
    const bool withYear = dates.front().addMonths(12) <= dates.back();
    for (size_t i = 0; i < dates.size(); ++i) {
        const int col = FirstDateCol + int(i);
        grid.setText(0, col, monthName(dates[i], withYear));
        grid.setText(1, col, dates[i].toString(QStringLiteral("dd")));
        grid.setColWidth(col, DateWidth);
        grid.setColAlignment(col, Qt::AlignCenter);
    }
    grid.setCellAlignment(0, FirstDateCol, 1, grid.cols() - 1, Qt::AlignCenter);
}

// The discipline and group of each line as shown: a shared name gets its full name or
// faculty.
void nameApart(std::vector<Line> &lines, DocumentQueries &queries)
{
    DistinctNames disciplines, groups;
    for (const Line &line : lines) {
        disciplines.add(line.discipline, line.cells[0]);
        groups.add(line.group, line.cells[1] + QLatin1Char('\n') + line.cells[2]);
    }
    QHash<int, QString> fullNames;
    QHash<int, GroupInfo> groupInfo;
    bool fullRead = false, groupsRead = false;
    const std::vector<QString> disciplineMore = disciplines.suffixes([&](int key) {
        if (!std::exchange(fullRead, true))
            fullNames = readDisciplineNames(queries);
        const QString full = fullNames.value(key);
        return full.isEmpty() ? full : QLatin1Char('(') + full + QLatin1Char(')');
    });
    const std::vector<QString> groupMore = groups.suffixes([&](int key) {
        if (!std::exchange(groupsRead, true))
            groupInfo = readGroups(queries);
        return groupInfo.value(key).faculty;
    });
    for (size_t i = 0; i < lines.size(); ++i) {
        lines[i].cells[0] += disciplineMore[i];
        lines[i].cells[1] += groupMore[i];
    }
}

void colourRemainder(GridModel &grid, int row, const QVariant &remainder)
{
    if (remainder.isNull() || !remainder.isValid())
        return;
    const double value = remainder.toDouble();
    if (value == 0) {
        grid.setCellForeColor(row, RemainderCol, kFullFore);
        grid.setCellBackColor(row, RemainderCol, row, grid.cols() - 1, kFullBack);
    } else if (value < 0) {
        grid.setCellForeColor(row, RemainderCol, kOverdrawnFore);
    }
}

} // namespace

void fillTimesheet(ViewContext &ctx, int keyTutor)
{
    GridModel &grid = ctx.grid;
    const WaitPointer wait(grid);
    grid.setCurrentCell(0, 0);
    if (!checkPeriod(ctx))
        return;
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    std::optional<Recordset> rs = queries.OpenTutorHoursByGroup(keyTutor, ctx.periodFrom,
                                                                ctx.periodTo);
    if (!rs || rs->isEmpty())
        return;
    if (rs->fieldCount() < LoadFields)
        throw DbError(dberr::ItemNotFound,
                      QStringLiteral("В табеле нет полей нагрузки: %1")
                          .arg(rs->fieldNames().join(QStringLiteral(", "))));

    std::vector<int> dateFields;
    std::vector<QDate> dates;
    for (int f = LoadFields; f < rs->fieldCount(); ++f) {
        const QDate date = dateOfField(rs->fieldName(f));
        if (date.isValid()) {
            dateFields.push_back(f);
            dates.push_back(date);
        }
    }
    const int disciplineKey = rs->fieldIndex(QStringLiteral("Key_Discipline"));
    const int groupKey = rs->fieldIndex(QStringLiteral("Key_Group"));

    std::vector<Line> lines;
    lines.reserve(size_t(rs->recordCount()));
    for (; !rs->isEof(); rs->moveNext()) {
        Line line;
        for (int f = 0; f < LoadFields; ++f)
            line.cells[size_t(f)] = f < 3 ? cellText(rs->value(f)) : numberText(rs->value(f));
        line.remainder = rs->value(LoadFields - 1);
        line.discipline = disciplineKey >= 0 ? rs->value(disciplineKey).toInt() : 0;
        line.group = groupKey >= 0 ? rs->value(groupKey).toInt() : 0;
        line.perDate.reserve(dateFields.size());
        for (const int f : dateFields)
            line.perDate.push_back(numberText(rs->value(f)));
        lines.push_back(std::move(line));
    }
    if (disciplineKey >= 0 && groupKey >= 0)
        nameApart(lines, queries);

    const int fixed = grid.fixedRows();
    grid.setRows(fixed + int(lines.size()));
    grid.setCols(FirstDateCol + int(dates.size()));
    if (!dates.empty())
        writeDateHeaders(grid, dates);
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line &line = lines[i];
        const int row = fixed + int(i);
        for (int c = 0; c < LoadFields; ++c)
            grid.setText(row, DisciplineCol + c, line.cells[size_t(c)]);
        colourRemainder(grid, row, line.remainder);
        for (size_t d = 0; d < line.perDate.size(); ++d) {
            if (line.perDate[d].isEmpty())
                continue;
            const int col = FirstDateCol + int(d);
            grid.setText(row, col, line.perDate[d]);
            grid.setCellBackColor(row, col, kValueBack);
        }
    }
    const int last = grid.rows() - 1;
    grid.setCellPicture(fixed, DisciplineCol, last, DisciplineCol, QStringLiteral("DISCIPLINE"));
    grid.setCellPicture(fixed, GroupCol, last, GroupCol, QStringLiteral("GROUP"));
    for (int col = CourseCol; col <= RemainderCol; ++col)
        grid.setColAlignment(col, Qt::AlignCenter);
    widenToText(grid, DisciplineCol, 0, last, true);
    widenToText(grid, GroupCol, 0, last, true);
    // A group merges down only within its discipline, a course only within its group.
    grid.setMergeCells(MergeMode::RestrictColumns);

    if (ctx.record.ShowTotals) {
        Totals totals(grid, TotalCol, FirstDateCol);
        totals.add(DisciplineCol, GroupCol, QStringLiteral("Итого"));
        totals.addGrand(GroupCol, QStringLiteral("ВСЕГО"));
    }
    // Wide enough for the totals, which may run to thousands.
    for (int col = TotalCol; col < grid.cols(); ++col)
        widenToText(grid, col, fixed, grid.rows() - 1, false);
    grid.setCurrentCell(0, 0);
}

} // namespace korvesta
