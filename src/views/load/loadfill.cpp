#include "loadview.h"

#include "data/queries.h"
#include "grid/gridmodel.h"
#include "loadfilter.h"
#include "settings/settingsrecord.h"
#include "views/fillregistry.h"
#include "views/frames/listframes.h"
#include "views/lists/celltext.h"
#include "views/viewcontext.h"
#include "views/viewrun.h"

#include <cmath>
#include <optional>

namespace korvesta {

namespace loadview {

std::optional<LineTexts> lineOfRow(const GridModel &grid, int row)
{
    if (row < grid.fixedRows() || row >= grid.rows() || grid.isSubtotal(row))
        return std::nullopt;
    LineTexts line{grid.text(row, TutorCol).trimmed(), grid.text(row, DisciplineCol).trimmed(),
                   grid.text(row, GroupCol).trimmed()};
    if (line.tutor.isEmpty() || line.discipline.isEmpty() || line.group.isEmpty())
        return std::nullopt;
    return line;
}

QString formatHours(double hours)
{
    if (hours != std::floor(hours) || std::fabs(hours) >= 1e15)
        return QString::number(hours, 'g', 12).replace(QLatin1Char('.'), QLatin1Char(','));
    const qint64 whole = static_cast<qint64>(hours);
    QString digits = QString::number(whole < 0 ? -whole : whole);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return whole < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace loadview

namespace {

using namespace loadview;

// The line colour of a tutor's total, set apart from the disciplines' lines.
const QColor kTutorTotalLine(0x1F, 0x3A, 0x93);

// The hourglass over the grid for the whole fill, restored however the fill ends.
class WaitPointer
{
public:
    explicit WaitPointer(GridModel &grid)
        : m_grid(grid)
    {
        m_grid.setMousePointer(MousePointer::Wait);
    }
    ~WaitPointer() { m_grid.setMousePointer(MousePointer::Default); }
    WaitPointer(const WaitPointer &) = delete;
    WaitPointer &operator=(const WaitPointer &) = delete;

private:
    GridModel &m_grid;
};

// The fields of "Korvesta" the fill reads. The type keys and the placed lessons are read only
// when the filter asks for them, so that a document whose list gives no more than the lines
// still shows its load.
struct Fields
{
    int tutor, discipline, group, course, faculty, hours, auditoria, corpus;
    int placed = -1, tuition = -1, finance = -1, specialization = -1;

    Fields(const Recordset &rs, const LoadFilter &filter)
        : tutor(requiredField(rs, QStringLiteral("Tutor")))
        , discipline(requiredField(rs, QStringLiteral("Discipline")))
        , group(requiredField(rs, QStringLiteral("Group")))
        , course(requiredField(rs, QStringLiteral("Course")))
        , faculty(requiredField(rs, QStringLiteral("TypeFaculty")))
        , hours(requiredField(rs, QStringLiteral("Hours")))
        , auditoria(requiredField(rs, QStringLiteral("Auditoria")))
        , corpus(requiredField(rs, QStringLiteral("Corpus")))
    {
        if (filter.readsCounts())
            placed = requiredField(rs, QStringLiteral("CountLesson"));
        if (filter.readsTypes()) {
            tuition = requiredField(rs, QStringLiteral("Key_TypeTuition"));
            finance = requiredField(rs, QStringLiteral("Key_TypeFinance"));
            specialization = requiredField(rs, QStringLiteral("DiscType"));
        }
    }
};

// The name of a type key as the lists show it: a key without a row reads as the default.
QString typeName(const QVariant &key, const QHash<int, QString> &names, const QString &none)
{
    if (key.isNull() || !key.isValid())
        return none;
    return names.value(key.toInt(), none);
}

LoadLine readLine(const Recordset &rs, const Fields &f, const LoadFilterLists &lists)
{
    LoadLine line;
    line.tutor = cellText(rs.value(f.tutor));
    line.discipline = cellText(rs.value(f.discipline));
    line.group = cellText(rs.value(f.group));
    line.course = cellText(rs.value(f.course));
    line.faculty = cellText(rs.value(f.faculty));
    line.auditoria = cellText(rs.value(f.auditoria));
    line.corpus = cellText(rs.value(f.corpus));
    const QVariant hours = rs.value(f.hours);
    line.hoursText = cellText(hours);
    line.hours = hours.toInt();
    if (f.placed >= 0)
        line.placed = rs.value(f.placed).toInt();
    if (f.tuition >= 0) {
        line.tuition = typeName(rs.value(f.tuition), lists.tuitionNames, QStringLiteral("Очная"));
        line.finance =
            typeName(rs.value(f.finance), lists.financeNames, QStringLiteral("Бюджетная"));
        line.specialization = typeName(rs.value(f.specialization), lists.specializationNames,
                                       QStringLiteral("отсутствует"));
    }
    return line;
}

QString auditoriumText(const LoadLine &line)
{
    if (line.auditoria.isEmpty())
        return {};
    return line.auditoria + QStringLiteral(" (") + line.corpus + QLatin1Char(')');
}

QStringList lineCells(const LoadLine &line, int weeks, bool withFaculty)
{
    QString group = line.group + QStringLiteral("  (") + line.course + QLatin1Char(')');
    if (withFaculty)
        group += QLatin1Char(' ') + line.faculty;
    QString perWeek;
    if (weeks > 0 && !line.hoursText.isEmpty())
        perWeek = QString::number(static_cast<qint64>(std::ceil(double(line.hours) / weeks)));
    return {QString(), line.tutor,     auditoriumText(line), line.discipline,
            group,     line.hoursText, perWeek};
}

void addSubtotals(GridModel &grid, bool weekSums)
{
    grid.setOutlineBar(true);
    grid.setOutlineCol(0);
    for (const int groupOn : {TutorCol, DisciplineCol}) {
        SubtotalSpec spec;
        spec.groupOn = groupOn;
        spec.backColor = grid.backColorFixed();
        spec.function = Aggregate::Count;
        spec.totalOn = GroupCol;
        grid.subtotal(spec);
        spec.function = Aggregate::Sum;
        spec.bold = true;
        spec.totalOn = HoursCol;
        grid.subtotal(spec);
        if (weekSums) {
            spec.totalOn = WeekCol;
            grid.subtotal(spec);
        }
    }
}

// The plain number a subtotal wrote, as the "# ###" form.
QString hoursTotal(const GridModel &grid, int row)
{
    QString text = grid.text(row, HoursCol);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return formatHours(text.toDouble());
}

void lineAlong(GridModel &grid, int row, const QColor &color, int width)
{
    CellBorders borders;
    borders.color = color;
    borders.width = width;
    borders.bottom = true;
    grid.setCellBorders(row, TutorCol, row, grid.cols() - 1, borders);
}

// The auditorium of the tutor: that of his last load line, above his total.
QString tutorAuditorium(const GridModel &grid, int totalRow)
{
    for (int row = totalRow - 1; row >= grid.fixedRows(); --row) {
        if (!grid.isSubtotal(row)) {
            const QString text = grid.text(row, AuditoriumCol);
            return text.isEmpty() ? QStringLiteral("-") : text + QLatin1Char(' ');
        }
    }
    return QStringLiteral("-");
}

void relabelTotals(GridModel &grid)
{
    int disciplines = 0;
    for (int row = grid.fixedRows(); row < grid.rows(); ++row) {
        if (!grid.isSubtotal(row))
            continue;
        const QString name = grid.subtotalKey(row);
        const QString groups = QStringLiteral("Групп:   ") + grid.text(row, GroupCol);
        if (grid.rowOutlineLevel(row) == DisciplineLevel) {
            grid.setText(row, DisciplineCol,
                         QStringLiteral("Нагрузка по дисциплине '") + name + QLatin1Char('\''));
            grid.setText(row, GroupCol, groups);
            grid.setText(row, HoursCol, hoursTotal(grid, row));
            lineAlong(grid, row, grid.gridColor(), 1);
            ++disciplines;
        } else if (grid.rowOutlineLevel(row) == TutorLevel) {
            grid.setText(row, TutorCol,
                         QStringLiteral("ИТОГО у преподавателя  '") + name + QLatin1Char('\''));
            grid.setText(row, AuditoriumCol, tutorAuditorium(grid, row));
            grid.setText(row, DisciplineCol,
                         QStringLiteral("Дисциплин:   ") + QString::number(disciplines)
                             + QLatin1Char(' '));
            disciplines = 0;
            grid.setText(row, GroupCol, groups);
            grid.setText(row, HoursCol, hoursTotal(grid, row));
            lineAlong(grid, row, kTutorTotalLine, 2);
        } else {
            continue;
        }
        grid.setCellAlignment(row, HoursCol, Qt::AlignRight | Qt::AlignVCenter);
        grid.setCellPicture(row, HoursCol, QStringLiteral("TOTALS"));
    }
}

} // namespace

void fillLoad(ViewContext &ctx)
{
    GridModel &grid = ctx.grid;
    const WaitPointer wait(grid);
    grid.setRows(1);

    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    LoadFilterLists lists;
    LoadFilter filter;
    if (!ctx.filter.isEmpty() && ctx.filter != LoadFilter::AllEntry) {
        lists = LoadFilterLists::read(queries);
        filter = LoadFilter::forEntry(ctx.filter, lists);
    }
    // Each line's lessons are counted only for a filter on the hours given or left.
    std::optional<Recordset> rs = queries.OpenLoadLines(filter.readsCounts());
    if (!rs)
        return;
    const int weeks = queries.GetWorkWeeks();
    const Fields fields(*rs, filter);
    for (; !rs->isEof(); rs->moveNext()) {
        const LoadLine line = readLine(*rs, fields, lists);
        if (!filter.accepts(line))
            continue;
        const int row = grid.addRow(lineCells(line, weeks, ctx.record.UseTypeFaculty));
        grid.setRowOutlineLevel(row, LineLevel);
    }
    const int last = grid.rows() - 1;
    if (last >= grid.fixedRows()) {
        grid.setCellPicture(1, TutorCol, last, TutorCol, QStringLiteral("TUTOR"));
        grid.setCellPicture(1, DisciplineCol, last, DisciplineCol, QStringLiteral("DISCIPLINE"));
        grid.setCellPicture(1, GroupCol, last, GroupCol, QStringLiteral("GROUP"));
    }

    if (ctx.record.ShowTotals && last >= grid.fixedRows()) {
        addSubtotals(grid, weeks > 0);
        // A total stands between two tutors and between two disciplines, so a cell merges
        // only within its tutor's or discipline's lines; an empty auditorium does not keep
        // the lines of a discipline apart.
        grid.setMergeCells(MergeMode::Free);
        for (const int col : {TutorCol, AuditoriumCol, DisciplineCol})
            grid.setMergeCol(col, true);
        CellBorders body;
        body.color = grid.backColor();
        body.left = body.top = body.right = body.bottom = true;
        body.innerVertical = body.innerHorizontal = true;
        grid.setCellBorders(grid.fixedRows(), 0, grid.rows() - 1, grid.cols() - 1, body);
        relabelTotals(grid);
    }
    grid.setCurrentCell(0, 0);
}

void registerLoadFills(FillRegistry &registry)
{
    registry.setFill(30, [](ViewContext &ctx) {
        buildLoadFrame(ctx);
        // The headings show while the load is read.
        if (ctx.processEvents)
            ctx.processEvents();
        fillLoad(ctx);
    });
    registry.setFilterEntries(30, [](ViewContext &ctx) {
        QStringList entries;
        runViewStep(ctx, [&] {
            DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
            entries = LoadFilter::menuEntries(LoadFilterLists::read(queries));
        });
        return entries;
    });
}

} // namespace korvesta
