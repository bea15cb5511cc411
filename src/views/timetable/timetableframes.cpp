#include "timetableframes.h"

#include "data/queries.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "views/viewcontext.h"

#include <QHash>

#include <optional>
#include <vector>

namespace korvesta {

namespace {

constexpr int kHeaderHeight = 300;
constexpr int kObjectWidth = 1100;
const QColor kSecondShift(0xC0, 0xC0, 0xC0);

struct GroupHeader
{
    QString group;
    QString course;
    QString faculty;
    bool visible = true;
};

// The groups in list order, each with the visibility of its faculty (section "Faculty",
// keyed by the faculty's Key; shown when not set).
std::vector<GroupHeader> readGroups(ViewContext &ctx, DocumentQueries &queries)
{
    std::vector<GroupHeader> groups;
    std::optional<Recordset> rs = queries.OpenList(QStringLiteral("Groups"));
    if (!rs)
        return groups;
    const int iGroup = rs->fieldIndex(QStringLiteral("Group"));
    const int iCourse = rs->fieldIndex(QStringLiteral("Course"));
    const int iFaculty = rs->fieldIndex(QStringLiteral("TypeFaculty"));
    const int iKeyFaculty = rs->fieldIndex(QStringLiteral("Key_TypeFaculty"));
    QHash<QString, bool> visibility;
    groups.reserve(static_cast<size_t>(rs->recordCount()));
    for (; !rs->isEof(); rs->moveNext()) {
        GroupHeader header;
        header.group = rs->value(iGroup).toString();
        header.course = rs->value(iCourse).toString();
        header.faculty = rs->value(iFaculty).toString();
        const QString key = rs->value(iKeyFaculty).toString();
        auto it = visibility.find(key);
        if (it == visibility.end()) {
            it = visibility.insert(
                key, key.isEmpty() || ctx.settings.readBool(QStringLiteral("Faculty"), key, true));
        }
        header.visible = it.value();
        groups.push_back(header);
    }
    return groups;
}

// The clock times of the lessons, "TimeLesson" rows of one lesson joined by line feeds.
QHash<int, QString> readLessonTimes(DocumentQueries &queries)
{
    QHash<int, QString> times;
    std::optional<Recordset> rs = queries.OpenList(QStringLiteral("TimeLesson"));
    if (!rs)
        return times;
    for (; !rs->isEof(); rs->moveNext()) {
        QString &text = times[rs->value(QStringLiteral("Lesson")).toInt()];
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += rs->value(QStringLiteral("TimeLesson")).toString();
    }
    return times;
}

void startGrid(GridModel &grid, const TimetableLayout &layout, MergeMode merge)
{
    grid.clear();
    grid.setCols(layout.columnCount());
    grid.setRows(layout.rowCount());
    grid.setFixedRows(layout.headerRows);
    grid.setFixedCols(layout.fixedCols());
    grid.setOutlineBar(false);
    grid.setMergeCells(merge);
    grid.setWordWrap(true);
    for (int row = 0; row < layout.headerRows; ++row)
        grid.setRowHeight(row, kHeaderHeight);
}

// A fixed column captioned over all header rows, merged down.
void captionColumn(GridModel &grid, const TimetableLayout &layout, int col, const QString &text)
{
    grid.setText(0, col, layout.headerRows - 1, col, text);
    grid.setMergeCol(col, true);
}

void writeLessonRows(GridModel &grid, const TimetableLayout &layout, const SettingsRecord &record)
{
    const int lastCol = grid.cols() - 1;
    const bool shifts = record.WorkTimePeriod > 1;
    for (int day = 1; day <= layout.days; ++day) {
        for (int lesson = 1; lesson <= layout.lessonsInDay; ++lesson) {
            const int row = layout.rowOf(day, lesson);
            grid.setRowHeight(row, layout.lessonRowHeight);
            grid.setText(row, layout.lessonCol, QString::number(lesson));
            if (layout.dayCol >= 0)
                grid.setText(row, layout.dayCol, weekdayName(day));
            if (shifts && lesson > record.LessonsInPeriod)
                grid.setCellBackColor(row, 0, row, lastCol, kSecondShift);
        }
        if (layout.days > 1 && layout.lessonsInDay > 0) {
            CellBorders line;
            line.color = QColor(Qt::black);
            line.bottom = true;
            const int last = layout.rowOf(day, layout.lessonsInDay);
            grid.setCellBorders(last, 0, last, lastCol, line);
        }
    }
}

void writeTimeColumn(GridModel &grid, const TimetableLayout &layout, DocumentQueries &queries)
{
    const int col = layout.timeCol;
    captionColumn(grid, layout, col, QStringLiteral("Время занятия"));
    grid.setColWidth(col, kObjectWidth);
    grid.setColAlignment(col, Qt::AlignCenter);
    grid.setCellBackColor(0, col, grid.rows() - 1, col, grid.backColorFixed());
    const QHash<int, QString> times = readLessonTimes(queries);
    for (auto it = times.cbegin(); it != times.cend(); ++it) {
        if (it.key() < 1 || it.key() > layout.lessonsInDay)
            continue;
        for (int day = 1; day <= layout.days; ++day)
            grid.setText(layout.rowOf(day, it.key()), col, it.value());
    }
}

void writeGroupHeaders(GridModel &grid, const TimetableLayout &layout,
                       const std::vector<GroupHeader> &groups)
{
    CellBorders divider;
    divider.color = QColor(Qt::black);
    divider.width = 2;
    divider.right = true;
    const int lastRow = grid.rows() - 1;
    for (size_t i = 0; i < groups.size(); ++i) {
        const GroupHeader &g = groups[i];
        const int col = layout.firstObjectCol + static_cast<int>(i);
        if (layout.useFaculty)
            grid.setText(layout.facultyRow(), col, g.faculty);
        grid.setText(layout.courseRow(), col, courseHeader(g.course));
        grid.setText(layout.objectRow(), col, g.group);
        grid.setCellPicture(layout.objectRow(), col, QStringLiteral("GROUP"));
        grid.setColWidth(col, g.visible ? kObjectWidth : 0);
        if (i + 1 < groups.size()) {
            const GroupHeader &next = groups[i + 1];
            const bool facultyChanges = layout.useFaculty && next.faculty != g.faculty;
            if (facultyChanges || next.course != g.course)
                grid.setCellBorders(0, col, lastRow, col, divider);
        }
    }
    if (layout.useFaculty)
        grid.setMergeRow(layout.facultyRow(), true);
    grid.setMergeRow(layout.courseRow(), true);
}

TimetableLayout buildGroupFrame(ViewContext &ctx, TimetableKind kind)
{
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    const std::vector<GroupHeader> groups = readGroups(ctx, queries);
    const TimetableLayout layout =
        TimetableLayout::make(kind, ctx.record, static_cast<int>(groups.size()));
    GridModel &grid = ctx.grid;
    // The week merges its fixed columns down, each only within the run of the one before
    // (a lesson number within its day).
    startGrid(grid, layout,
              kind == TimetableKind::Week ? MergeMode::RestrictAll : MergeMode::RestrictRows);

    if (kind == TimetableKind::Week) {
        grid.setOutlineBar(true);
        grid.setOutlineCol(layout.outlineCol);
        grid.setColWidth(layout.outlineCol, 200);
        grid.setColWidth(layout.dayCol, 1300);
        captionColumn(grid, layout, layout.dayCol, QStringLiteral("День"));
    }
    grid.setColWidth(layout.lessonCol, 300);
    grid.setColAlignment(layout.lessonCol, Qt::AlignCenter);
    captionColumn(grid, layout, layout.lessonCol, QStringLiteral("№"));

    writeGroupHeaders(grid, layout, groups);
    if (layout.timeCol >= 0)
        writeTimeColumn(grid, layout, queries);
    writeLessonRows(grid, layout, ctx.record);
    grid.setCellAlignment(0, 0, layout.headerRows - 1, grid.cols() - 1, Qt::AlignCenter);
    grid.setCurrentCell(0, 0);
    return layout;
}

} // namespace

TimetableLayout buildDayFrame(ViewContext &ctx)
{
    return buildGroupFrame(ctx, TimetableKind::Day);
}

TimetableLayout buildWeekFrame(ViewContext &ctx)
{
    return buildGroupFrame(ctx, TimetableKind::Week);
}

TimetableLayout buildWorkScheduleFrame(ViewContext &ctx)
{
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    QStringList tutors;
    if (std::optional<Recordset> rs = queries.OpenList(QStringLiteral("Tutors"))) {
        const int iTutor = rs->fieldIndex(QStringLiteral("Tutor"));
        for (; !rs->isEof(); rs->moveNext())
            tutors << rs->value(iTutor).toString();
    }
    const TimetableLayout layout = TimetableLayout::make(TimetableKind::WorkSchedule, ctx.record,
                                                         static_cast<int>(tutors.size()));
    GridModel &grid = ctx.grid;
    startGrid(grid, layout, MergeMode::FixedOnly);

    grid.setColWidth(layout.lessonCol, 2000);
    grid.setColAlignment(layout.lessonCol, Qt::AlignCenter);
    captionColumn(grid, layout, layout.lessonCol, QStringLiteral("Преподаватели"));
    for (int i = 0; i < tutors.size(); ++i) {
        const int col = layout.firstObjectCol + i;
        grid.setText(layout.objectRow(), col, tutors[i]);
        grid.setCellPicture(layout.objectRow(), col, QStringLiteral("TUTOR"));
        grid.setText(1, col, QStringLiteral("занятия"));
        grid.setColWidth(col, kObjectWidth);
    }
    grid.setMergeRow(0, true);
    grid.setMergeRow(1, true);
    writeLessonRows(grid, layout, ctx.record);

    // The work schedule has no time column: the time stands below the lesson number.
    if (ctx.record.ShowTimeLesson) {
        const QHash<int, QString> times = readLessonTimes(queries);
        for (int lesson = 1; lesson <= layout.lessonsInDay; ++lesson) {
            const QString time = times.value(lesson);
            if (!time.isEmpty()) {
                const int row = layout.rowOf(1, lesson);
                grid.setText(row, layout.lessonCol,
                             grid.text(row, layout.lessonCol) + QLatin1Char('\n') + time);
            }
        }
    }
    grid.setCellAlignment(0, 0, layout.headerRows - 1, grid.cols() - 1, Qt::AlignCenter);
    grid.setCurrentCell(0, 0);
    return layout;
}

} // namespace korvesta
