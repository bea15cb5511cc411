#include "accountingcommon.h"
#include "accountingtotals.h"
#include "accountingviews.h"

#include "data/dberror.h"
#include "data/queries.h"
#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "views/lists/celltext.h"
#include "views/viewcontext.h"

#include <QSet>

#include <algorithm>
#include <climits>

namespace korvesta {

namespace {

using namespace accounting;

// A group column of a crosstab: the field named by the group's Key, shown by its name.
struct GroupColumn
{
    int field = -1;
    QString caption;
    QString course;
    int order = INT_MAX;
};

// The group columns of the fields from `first` on that `isGroup` accepts, in the order of the
// document's group list; a field whose name is no group's Key is shown by its name.
std::vector<GroupColumn> groupColumns(const Recordset &rs, int first, DocumentQueries &queries,
                                      const std::function<bool(const QString &)> &isGroup)
{
    const QHash<int, GroupInfo> groups = readGroups(queries);
    std::vector<GroupColumn> columns;
    std::vector<int> keys;
    for (int f = first; f < rs.fieldCount(); ++f) {
        const QString name = rs.fieldName(f);
        if (!isGroup(name))
            continue;
        bool ok = false;
        const int key = name.toInt(&ok);
        const auto found = ok ? groups.constFind(key) : groups.cend();
        GroupColumn column;
        column.field = f;
        if (found != groups.cend()) {
            column.caption = found->group;
            column.course = found->course;
            column.order = found->order;
            keys.push_back(key);
        } else {
            column.caption = name;
            keys.push_back(-f); // stands for itself
        }
        columns.push_back(column);
    }
    DistinctNames names;
    for (size_t i = 0; i < columns.size(); ++i)
        names.add(keys[i], columns[i].caption + QLatin1Char('\n') + columns[i].course);
    const std::vector<QString> more =
        names.suffixes([&](int key) { return groups.value(key).faculty; });
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i].caption += more[i];
    std::stable_sort(columns.begin(), columns.end(),
                     [](const GroupColumn &a, const GroupColumn &b) { return a.order < b.order; });
    return columns;
}

// Header row 0 the group with its picture, row 1 its course.
void writeGroupHeaders(GridModel &grid, const std::vector<GroupColumn> &columns, int firstCol,
                       int width)
{
    for (size_t i = 0; i < columns.size(); ++i) {
        const int col = firstCol + int(i);
        grid.setText(0, col, columns[i].caption);
        grid.setCellPicture(0, col, QStringLiteral("GROUP"));
        grid.setText(1, col, columns[i].course.isEmpty()
                                 ? QString()
                                 : columns[i].course + QStringLiteral(" курс"));
        grid.setColWidth(col, width);
        grid.setColAlignment(col, Qt::AlignCenter);
        widenToText(grid, col, 0, 1, true);
    }
    if (!columns.empty())
        grid.setCellAlignment(0, firstCol, 1, grid.cols() - 1, Qt::AlignCenter);
}

void colourRemainder(GridModel &grid, int row, int col, double remainder)
{
    if (remainder == 0) {
        grid.setCellForeColor(row, col, kFullFore);
        grid.setCellBackColor(row, col, row, grid.cols() - 1, kFullBack);
    } else if (remainder < 0) {
        grid.setCellForeColor(row, col, kOverdrawnFore);
    }
}

// Hours worked ------------------------------------------------------------------------------

enum WorkedColumn { MonthCol = 1, DateCol, FirstGroupCol };
constexpr int WorkedGroupWidth = 800;

} // namespace

void fillHoursWorked(ViewContext &ctx, int keyTutor)
{
    GridModel &grid = ctx.grid;
    const WaitPointer wait(grid);
    grid.setCurrentCell(0, 0);
    if (!checkPeriod(ctx))
        return;
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    std::optional<Recordset> rs =
        queries.OpenTutorLessonsByGroup(keyTutor, ctx.periodFrom, ctx.periodTo);
    if (!rs || rs->isEmpty())
        return;
    const int dateField = requiredField(*rs, QStringLiteral("Date"));
    const std::vector<GroupColumn> columns =
        groupColumns(*rs, 0, queries, [](const QString &name) {
            return name.compare(QStringLiteral("Date"), Qt::CaseInsensitive) != 0;
        });

    const int fixed = grid.fixedRows();
    grid.setRows(fixed + rs->recordCount());
    grid.setCols(FirstGroupCol + int(columns.size()));
    grid.setFixedCols(FirstGroupCol);
    writeGroupHeaders(grid, columns, FirstGroupCol, WorkedGroupWidth);
    for (int row = fixed; !rs->isEof(); rs->moveNext(), ++row) {
        const QDate date = dateOfField(cellText(rs->value(dateField)));
        grid.setText(row, MonthCol, monthName(date, true));
        grid.setText(row, DateCol, dayAndMonth(date));
        for (size_t i = 0; i < columns.size(); ++i) {
            const QString value = numberText(rs->value(columns[i].field));
            if (value.isEmpty())
                continue;
            const int col = FirstGroupCol + int(i);
            grid.setText(row, col, value);
            grid.setCellBackColor(row, col, kValueBack);
        }
    }
    const int last = grid.rows() - 1;
    grid.setCellBackColor(fixed, MonthCol, last, MonthCol, colorFromBgr(0x80000018));
    grid.setColAlignment(DateCol, Qt::AlignCenter);
    widenToText(grid, MonthCol, fixed, last, false);
    // The months merge down; the lesson counts never do.
    grid.setMergeCells(MergeMode::FixedOnly);

    if (ctx.record.ShowTotals) {
        Totals totals(grid, FirstGroupCol, FirstGroupCol);
        const std::vector<Totals::Added> months = totals.add(MonthCol, DateCol, QString());
        int dates = 0;
        for (const Totals::Added &month : months) {
            grid.setText(month.row, DateCol, QString::number(month.dataRows) + QStringLiteral(" дн."));
            dates += month.dataRows;
        }
        const int grand = totals.addGrand(MonthCol, QString::number(months.size())
                                                        + QStringLiteral(" мес."));
        if (grand >= 0)
            grid.setText(grand, DateCol, QString::number(dates) + QStringLiteral(" дн."));
    }
    for (int col = FirstGroupCol; col < grid.cols(); ++col)
        widenToText(grid, col, fixed, grid.rows() - 1, false);
    grid.setCurrentCell(0, 0);
}

namespace {

// Hours worked of every tutor -----------------------------------------------------------------

enum FullColumn { TutorCol = 1, DisciplineCol, TotalCol, GivenCol, RemainderCol, FirstFullGroupCol };
constexpr int FullGroupWidth = 600;

struct FullLine
{
    QString tutor;
    QString discipline;
    QVariant total;
    int tutorKey = 0;
    int disciplineKey = 0;
    std::vector<QString> perGroup;
};

bool isLoadField(const QString &name)
{
    static const QStringList names = {QStringLiteral("Tutor"), QStringLiteral("Discipline"),
                                      QStringLiteral("всего"), QStringLiteral("отраб"),
                                      QStringLiteral("остат"), QStringLiteral("Key_Tutor"),
                                      QStringLiteral("Key_Discipline")};
    return names.contains(name, Qt::CaseInsensitive);
}

void nameApart(std::vector<FullLine> &lines, DocumentQueries &queries)
{
    DistinctNames tutors, disciplines;
    for (const FullLine &line : lines) {
        tutors.add(line.tutorKey, line.tutor);
        disciplines.add(line.disciplineKey, line.discipline);
    }
    QHash<int, QString> fullNames;
    bool fullRead = false;
    const std::vector<QString> tutorMore = tutors.suffixes([](int) { return QString(); });
    const std::vector<QString> disciplineMore = disciplines.suffixes([&](int key) {
        if (!std::exchange(fullRead, true))
            fullNames = readDisciplineNames(queries);
        const QString full = fullNames.value(key);
        return full.isEmpty() ? full : QLatin1Char('(') + full + QLatin1Char(')');
    });
    for (size_t i = 0; i < lines.size(); ++i) {
        lines[i].tutor += tutorMore[i];
        lines[i].discipline += disciplineMore[i];
    }
}

} // namespace

void fillFullHoursWorked(ViewContext &ctx)
{
    GridModel &grid = ctx.grid;
    const WaitPointer wait(grid);
    grid.setCurrentCell(0, 0);
    if (!checkPeriod(ctx))
        return;
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    std::optional<Recordset> rs = queries.OpenLessonsInPeriod(ctx.periodFrom, ctx.periodTo);
    if (!rs || rs->isEmpty())
        return;
    const int tutorField = requiredField(*rs, QStringLiteral("Tutor"));
    const int disciplineField = requiredField(*rs, QStringLiteral("Discipline"));
    const int totalField = requiredField(*rs, QStringLiteral("всего"));
    const int tutorKey = rs->fieldIndex(QStringLiteral("Key_Tutor"));
    const int disciplineKey = rs->fieldIndex(QStringLiteral("Key_Discipline"));
    const std::vector<GroupColumn> columns = groupColumns(
        *rs, 0, queries, [](const QString &name) { return !isLoadField(name); });

    std::vector<FullLine> lines;
    lines.reserve(size_t(rs->recordCount()));
    for (; !rs->isEof(); rs->moveNext()) {
        FullLine line;
        line.tutor = cellText(rs->value(tutorField));
        line.discipline = cellText(rs->value(disciplineField));
        line.total = rs->value(totalField);
        line.tutorKey = tutorKey >= 0 ? rs->value(tutorKey).toInt() : 0;
        line.disciplineKey = disciplineKey >= 0 ? rs->value(disciplineKey).toInt() : 0;
        line.perGroup.reserve(columns.size());
        for (const GroupColumn &column : columns)
            line.perGroup.push_back(numberText(rs->value(column.field)));
        lines.push_back(std::move(line));
    }
    if (tutorKey >= 0 && disciplineKey >= 0)
        nameApart(lines, queries);

    const int fixed = grid.fixedRows();
    grid.setRows(fixed + int(lines.size()));
    grid.setCols(FirstFullGroupCol + int(columns.size()));
    writeGroupHeaders(grid, columns, FirstFullGroupCol, FullGroupWidth);
    QSet<int> tutors;
    for (size_t i = 0; i < lines.size(); ++i) {
        const FullLine &line = lines[i];
        const int row = fixed + int(i);
        grid.setText(row, TutorCol, line.tutor);
        grid.setText(row, DisciplineCol, line.discipline);
        grid.setText(row, TotalCol, numberText(line.total));
        tutors.insert(line.tutorKey ? line.tutorKey : int(qHash(line.tutor)));
        double given = 0;
        for (size_t g = 0; g < line.perGroup.size(); ++g) {
            if (line.perGroup[g].isEmpty())
                continue;
            const int col = FirstFullGroupCol + int(g);
            grid.setText(row, col, line.perGroup[g]);
            grid.setCellBackColor(row, col, kValueBack);
            given += line.perGroup[g].toDouble();
        }
        grid.setText(row, GivenCol, QString::number(given));
        if (!line.total.isNull()) {
            const double remainder = line.total.toDouble() - given;
            grid.setText(row, RemainderCol, QString::number(remainder));
            colourRemainder(grid, row, RemainderCol, remainder);
        }
    }
    const int last = grid.rows() - 1;
    grid.setCellPicture(fixed, TutorCol, last, TutorCol, QStringLiteral("TUTOR"));
    grid.setCellPicture(fixed, DisciplineCol, last, DisciplineCol, QStringLiteral("DISCIPLINE"));
    for (int col = TotalCol; col <= RemainderCol; ++col)
        grid.setColAlignment(col, Qt::AlignCenter);
    widenToText(grid, TutorCol, fixed, last, true);
    widenToText(grid, DisciplineCol, fixed, last, true);
    // A discipline merges down only within its tutor.
    grid.setMergeCells(MergeMode::RestrictColumns);

    if (ctx.record.ShowTotals) {
        Totals totals(grid, TotalCol, FirstFullGroupCol);
        totals.add(TutorCol, DisciplineCol, QStringLiteral("Итого"));
        totals.addGrand(TutorCol, QString::number(tutors.size()) + QStringLiteral(" чел."));
    }
    for (int col = TotalCol; col < grid.cols(); ++col)
        widenToText(grid, col, fixed, grid.rows() - 1, false);
    grid.setCurrentCell(0, 0);
}

} // namespace korvesta
