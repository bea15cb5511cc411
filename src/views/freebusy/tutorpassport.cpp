#include "tutorpassport.h"

#include "data/database.h"
#include "data/documentsession.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "grid/gridmodel.h"
#include "views/accounting/accountingcommon.h"
#include "views/lists/celltext.h"
#include "views/viewcontext.h"

#include <numeric>

namespace korvesta {

namespace {

using namespace passport;

constexpr int Columns = 8;

void writeHeading(GridModel &grid, int row, const QStringList &captions)
{
    for (int i = 0; i < captions.size(); ++i)
        grid.setText(row, TypeCol + i, captions[i]);
    grid.setCellBackColor(row, 1, row, Columns - 1, grid.backColorFixed());
    grid.setCellBold(row, 1, row, Columns - 1, true);
    grid.setCellAlignment(row, 1, row, Columns - 1, Qt::AlignCenter);
}

// A total row: the caption across the text columns up to `lastCaptionCol`, the count under
// the counts, marked as a node of the outline.
void writeTotal(GridModel &grid, int row, int level, const QString &caption, int lastCaptionCol,
                int count)
{
    grid.setText(row, BlockCol, row, lastCaptionCol, caption);
    grid.setMergeRow(row, true);
    grid.setText(row, CountCol, QString::number(count));
    grid.setIsSubtotal(row, true);
    grid.setRowOutlineLevel(row, level);
    grid.setCellBackColor(row, 1, row, Columns - 1, grid.backColorFixed());
    grid.setCellBold(row, 1, row, Columns - 1, true);
}

// Each column as wide as its longest line (headings are bold; the totals' captions run
// across several columns and are left out). Where that is wider than the grid, the faculty,
// group and discipline give up width, in that order, down to a few letters, and take a second
// line instead, so that the counts stay in sight beside the names. The spare last column is
// hidden.
void fitColumns(GridModel &grid, int firstRow)
{
    // The core has no fonts: a letter of the grid's font is about 105 twips (7 pixels), a
    // bold one about 120.
    constexpr int Letter = 105, BoldLetter = 120, Picture = 330, Margin = 180, Most = 4200;
    constexpr int Least = 1200;
    for (int col = BlockCol; col <= CountCol; ++col) {
        int widest = 0;
        for (int row = firstRow; row < grid.rows(); ++row) {
            if (grid.isSubtotal(row))
                continue;
            const int letter = grid.cellBold(row, col) ? BoldLetter : Letter;
            widest = std::max(widest, int(grid.text(row, col).size()) * letter);
        }
        const bool picture = col == DisciplineCol || col == GroupCol;
        grid.setColWidth(col, std::min(widest + (picture ? Picture : 0) + Margin, Most));
    }
    grid.setColWidth(Columns - 1, 0);

    // The frame's columns take 96 hundredths of the grid's width; so do these.
    int spare = grid.clientWidth() * 96 / 100;
    for (int col = 0; col <= CountCol; ++col)
        spare -= grid.colWidth(col);
    for (const int col : {int(FacultyCol), int(GroupCol), int(DisciplineCol)}) {
        if (spare >= 0)
            break;
        const int give = std::min(-spare, std::max(grid.colWidth(col) - Least, 0));
        grid.setColWidth(col, grid.colWidth(col) - give);
        spare += give;
    }
    grid.setWordWrap(true);
}

} // namespace

int TutorPassport::loadLessons() const
{
    return std::accumulate(load.begin(), load.end(), 0,
                           [](int sum, const LoadLine &line) { return sum + line.lessons; });
}

int TutorPassport::exceptionLessons() const
{
    return std::accumulate(
        exceptions.begin(), exceptions.end(), 0,
        [](int sum, const ExceptionLine &line) { return sum + line.lessons; });
}

TutorPassport TutorPassport::read(const Database &db, int keyTutor, const QDate &first,
                                  const QDate &last)
{
    TutorPassport passport;
    {
        QueryDef def = db.queryDef(QStringLiteral("OTR51"));
        def.setParameter(QStringLiteral("pKeyTutor"), keyTutor);
        def.setParameter(QStringLiteral("pStartDate"), std::min(first, last));
        def.setParameter(QStringLiteral("pEndDate"), std::max(first, last));
        Recordset rs = def.openRecordset();
        const int type = requiredField(rs, QStringLiteral("LongTypeLesson"));
        const int discipline = requiredField(rs, QStringLiteral("Discipline"));
        const int group = requiredField(rs, QStringLiteral("GroupCourse"));
        const int faculty = requiredField(rs, QStringLiteral("TypeFaculty"));
        const int count = requiredField(rs, QStringLiteral("CountLessons"));
        for (; !rs.isEof(); rs.moveNext()) {
            passport.load.push_back({cellText(rs.value(type)), cellText(rs.value(discipline)),
                                     cellText(rs.value(group)), cellText(rs.value(faculty)),
                                     rs.value(count).toInt()});
        }
    }

    exceptioncount::PerKind days{}, lessons{};
    exceptioncount::countDays(db, keyTutor, days, first, last);
    exceptioncount::countLessons(db, keyTutor, lessons, first, last);
    Recordset kinds = db.openRecordset(
        QStringLiteral("SELECT tblTutorTypeOut.* FROM tblTutorTypeOut ORDER BY tblTutorTypeOut.Key;"));
    const int key = requiredField(kinds, QStringLiteral("Key"));
    const int name = requiredField(kinds, QStringLiteral("TypeOut"));
    for (; !kinds.isEof(); kinds.moveNext()) {
        ExceptionLine line;
        line.kind = kinds.value(key).toInt();
        line.name = cellText(kinds.value(name));
        if (line.kind >= 0 && line.kind < exceptioncount::Kinds) {
            line.days = days[size_t(line.kind)];
            line.lessons = lessons[size_t(line.kind)];
        }
        passport.exceptions.push_back(std::move(line));
    }
    return passport;
}

void fillTutorPassport(ViewContext &ctx, int keyTutor)
{
    GridModel &grid = ctx.grid;
    const accounting::WaitPointer wait(grid);
    grid.setCurrentCell(0, 0);
    const std::optional<Database> db = ctx.session.access();
    if (!db)
        return;
    const TutorPassport passport =
        TutorPassport::read(*db, keyTutor, ctx.periodFrom, ctx.periodTo);

    const int first = grid.fixedRows();
    // Title, load heading, load lines, load total, exception heading, two lines per kind,
    // exception total, grand total.
    const int loadRows = int(passport.load.size());
    const int exceptionRows = 2 * int(passport.exceptions.size());
    grid.setRows(first + 2 + loadRows + 2 + exceptionRows + 2);
    grid.setText(first, BlockCol, first, Columns - 1, Title);
    grid.setMergeRow(first, true);
    grid.setCellAlignment(first, 1, first, Columns - 1, Qt::AlignCenter);
    grid.setCellBold(first, 1, first, Columns - 1, true);

    int row = first + 1;
    writeHeading(grid, row++, {QStringLiteral("Тип занятия"), QStringLiteral("Дисциплина"),
                               QStringLiteral("Группа"), QStringLiteral("Факультет"), Hours});
    const int firstLoad = row;
    for (const TutorPassport::LoadLine &line : passport.load) {
        grid.setText(row, BlockCol, LoadBlock);
        grid.setText(row, TypeCol, line.typeLesson);
        grid.setText(row, DisciplineCol, line.discipline);
        grid.setText(row, GroupCol, line.group);
        grid.setText(row, FacultyCol, line.faculty);
        grid.setText(row, CountCol, QString::number(line.lessons));
        ++row;
    }
    if (row > firstLoad) {
        grid.setCellPicture(firstLoad, DisciplineCol, row - 1, DisciplineCol,
                            QStringLiteral("DISCIPLINE"));
        grid.setCellPicture(firstLoad, GroupCol, row - 1, GroupCol, QStringLiteral("GROUP"));
    }
    writeTotal(grid, row++, BlockCol, LoadTotal, FacultyCol, passport.loadLessons());

    writeHeading(grid, row++, {QStringLiteral("Тип исключения"), QStringLiteral("Единица"),
                               QString(), QString(), QStringLiteral("Количество")});
    for (const TutorPassport::ExceptionLine &line : passport.exceptions) {
        for (const auto &[unit, count] : {std::pair(Days, line.days),
                                          std::pair(Hours, line.lessons)}) {
            grid.setText(row, BlockCol, ExceptionBlock);
            grid.setText(row, TypeCol, line.name);
            grid.setText(row, DisciplineCol, unit);
            grid.setText(row, CountCol, QString::number(count));
            ++row;
        }
    }
    writeTotal(grid, row, BlockCol, ExceptionTotal, TypeCol, passport.exceptionLessons());
    grid.setText(row++, DisciplineCol, Hours);
    writeTotal(grid, row, -1, GrandTotal, FacultyCol,
               passport.loadLessons() + passport.exceptionLessons());

    // The block captions and the kinds run down as one cell each.
    grid.setMergeCells(MergeMode::RestrictColumns);
    for (const int col : {int(BlockCol), int(TypeCol)})
        grid.setMergeCol(col, true);
    grid.setColAlignment(CountCol, Qt::AlignCenter);
    fitColumns(grid, first + 1);
    grid.setCurrentCell(0, 0);
}

} // namespace korvesta
