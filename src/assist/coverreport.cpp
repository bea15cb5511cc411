#include "coverreport.h"

#include "cover.h"

#include "data/database.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/tutorabsence.h"
#include "grid/gridmodel.h"
#include "reports/gridreport.h"

#include <QHash>
#include <QSet>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace korvesta {

namespace {

const QStringList kCaptions = {
    QStringLiteral("Урок"),      QStringLiteral("Время"),       QStringLiteral("Группа"),
    QStringLiteral("Дисциплина"), QStringLiteral("Аудитория"),  QStringLiteral("Отсутствует"),
    QStringLiteral("Заменяет"),
};
// Twips, column 0 first: a page of the notice board in landscape.
const int kWidths[] = {600, 1300, 1400, 2600, 1600, 2250, 2250};
const QString kNothing = QStringLiteral("Замен и занятий отсутствующих преподавателей нет");
const QString kNoCover = QStringLiteral("нет замены");
constexpr int kTitleRow = 0;
constexpr int kCaptionRow = 1;
constexpr int kFixedRows = 2;

// A lesson of the date as it stands now.
struct Held
{
    int lesson = 0;
    int keyTutor = 0;
    QString group, discipline, tutor, auditorium;
};

std::vector<Held> heldLessons(const Database &db, const QDate &date)
{
    std::vector<Held> held;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTimeTableContent.Lesson, tblJob.Key_Tutor, "
                            "tblGroups.[Group], tblGroups.Course, tblDisciplines.Discipline, "
                            "tblTutors.Tutor, tblAuditories.Auditoria, tblAuditories.Corpus "
                            "FROM (((((tblTimeTableContent INNER JOIN tblTimeTableList ON "
                            "tblTimeTableContent.Key_TTList = tblTimeTableList.Key) "
                            "INNER JOIN tblJob ON tblTimeTableContent.Key_Job = tblJob.Key) "
                            "INNER JOIN tblGroups ON "
                            "tblTimeTableContent.Key_Group = tblGroups.Key) "
                            "INNER JOIN tblDisciplines ON "
                            "tblJob.Key_Discipline = tblDisciplines.Key) "
                            "INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) "
                            "LEFT JOIN tblAuditories ON "
                            "tblTimeTableContent.Key_Aud = tblAuditories.Key "
                            "WHERE (((tblTimeTableList.Date)=%1)) "
                            "ORDER BY tblTimeTableContent.Lesson, tblGroups.Course, "
                            "Len(tblGroups.Group), tblGroups.Group, "
                            "tblTimeTableContent.SubGroup;")
                 .arg(sqlDateLiteral(date)));
         !rs.isEof(); rs.moveNext()) {
        Held h;
        h.lesson = rs.value(0).toInt();
        h.keyTutor = rs.value(1).toInt();
        h.group = rs.value(2).toString() + QStringLiteral(" (") + rs.value(3).toString()
                  + QLatin1Char(')');
        h.discipline = rs.value(4).toString();
        h.tutor = rs.value(5).toString();
        if (!rs.value(6).isNull())
            h.auditorium = rs.value(6).toString() + QStringLiteral(" (") + rs.value(7).toString()
                           + QLatin1Char(')');
        held.push_back(std::move(h));
    }
    return held;
}

// The clock times of the lessons as the timetable shows them: the rows of one lesson joined
// by line feeds.
QHash<int, QString> lessonTimes(const Database &db)
{
    QHash<int, QString> times;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTimeLesson.Lesson, tblTimeLesson.TimeLesson "
                            "FROM tblTimeLesson ORDER BY tblTimeLesson.Lesson;"));
         !rs.isEof(); rs.moveNext()) {
        const QString time = rs.value(1).toString().trimmed();
        if (time.isEmpty())
            continue;
        QString &text = times[rs.value(0).toInt()];
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + time;
    }
    return times;
}

QStringList noteLines(const Database &db, const QDate &date)
{
    QStringList lines;
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|\\r|\\n"));
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblNotes.Note FROM tblTimeTableList INNER JOIN tblNotes ON "
                            "tblTimeTableList.Key = tblNotes.Key_TTL "
                            "WHERE (((tblTimeTableList.Date)=%1));")
                 .arg(sqlDateLiteral(date)));
         !rs.isEof(); rs.moveNext())
        lines += rs.value(0).toString().split(breaks);
    return lines;
}

// The lessons of the date each tutor is away at.
QHash<int, QSet<int>> awayLessons(const Database &db, const QDate &date,
                                  const std::vector<Held> &held)
{
    QHash<int, QSet<int>> away;
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTutorOut.KeyTutor, tblTutorOut.FreeLocalDate, "
                            "tblTutorOut.FreeDay, tblTutorOut.FreeLesson FROM tblTutorOut;"));
         !rs.isEof(); rs.moveNext()) {
        const int tutor = rs.value(0).toInt();
        for (const Held &h : held) {
            if (h.keyTutor == tutor
                && TutorAbsence::fromFields(rs.value(1), rs.value(2), rs.value(3))
                       .covers(date, h.lesson))
                away[tutor].insert(h.lesson);
        }
    }
    return away;
}

void boxed(GridModel &grid, int top, int bottom)
{
    CellBorders borders;
    borders.color = QColor(Qt::gray);
    borders.left = borders.top = borders.right = borders.bottom = true;
    borders.innerVertical = borders.innerHorizontal = true;
    grid.setCellBorders(top, 0, bottom, grid.cols() - 1, borders);
}

void acrossRow(GridModel &grid, int row, const QString &text)
{
    grid.setText(row, 0, row, grid.cols() - 1, text);
    grid.setCellAlignment(row, 0, row, grid.cols() - 1, Qt::AlignCenter);
    grid.setMergeRow(row, true);
}

} // namespace

QString coverReportTitle(const QDate &date)
{
    return QStringLiteral("Замены на %1 (%2)")
        .arg(date.toString(QStringLiteral("dd.MM.yyyy")),
             QLocale(QLocale::Russian).dayName(date.dayOfWeek(), QLocale::LongFormat).toLower());
}

std::vector<CoverReportRow> coverReportRows(const Database &db, const QDate &date)
{
    const std::vector<Held> held = heldLessons(db, date);
    const QHash<int, QString> times = lessonTimes(db);
    std::vector<CoverReportRow> covered;
    QSet<QString> absent; // a tutor covered for is away the whole day
    for (const QString &line : noteLines(db, date)) {
        const std::optional<CoverNote> note = parseCoverNoteLine(line);
        if (!note)
            continue;
        absent.insert(note->absentTutor);
        CoverReportRow row{note->lesson, times.value(note->lesson), note->group,
                           note->discipline, QString(), note->absentTutor, note->coveringTutor};
        // The lesson as it is now, the covering tutor's own first among subgroups.
        const Held *now = nullptr;
        for (const Held &h : held) {
            if (h.lesson != note->lesson || h.group != note->group)
                continue;
            if (!now || (h.tutor == note->coveringTutor && now->tutor != note->coveringTutor))
                now = &h;
        }
        if (now)
            row.auditorium = now->auditorium;
        covered.push_back(std::move(row));
    }
    std::stable_sort(covered.begin(), covered.end(),
                     [](const CoverReportRow &a, const CoverReportRow &b) {
                         return a.lesson < b.lesson;
                     });

    const QHash<int, QSet<int>> away = awayLessons(db, date, held);
    for (const Held &h : held) {
        if (away.value(h.keyTutor).contains(h.lesson) || absent.contains(h.tutor))
            covered.push_back({h.lesson, times.value(h.lesson), h.group, h.discipline,
                               h.auditorium, h.tutor, kNoCover});
    }
    return covered;
}

void fillCoverReport(GridModel &grid, const QDate &date, const std::vector<CoverReportRow> &rows)
{
    const int cols = static_cast<int>(kCaptions.size());
    const int body = std::max(1, static_cast<int>(rows.size()));
    grid.clear();
    grid.setCols(cols);
    grid.setRows(kFixedRows + body);
    grid.setFixedRows(kFixedRows);
    grid.setFixedCols(0);
    grid.setWordWrap(true);
    grid.setMergeCells(MergeMode::Free);
    for (int col = 0; col < cols; ++col)
        grid.setColWidth(col, kWidths[col]);
    grid.setColAlignment(0, Qt::AlignCenter);
    grid.setColAlignment(1, Qt::AlignCenter);

    acrossRow(grid, kTitleRow, coverReportTitle(date));
    grid.setCellBold(kTitleRow, 0, kTitleRow, cols - 1, true);
    grid.setRowHeight(kTitleRow, 400);
    for (int col = 0; col < cols; ++col)
        grid.setText(kCaptionRow, col, kCaptions.at(col));
    grid.setCellAlignment(kCaptionRow, 0, kCaptionRow, cols - 1, Qt::AlignCenter);
    grid.setCellBold(kCaptionRow, 0, kCaptionRow, cols - 1, true);

    if (rows.empty())
        acrossRow(grid, kFixedRows, kNothing);
    int r = kFixedRows;
    for (const CoverReportRow &row : rows) {
        const QStringList cells = {QString::number(row.lesson), row.time,   row.group,
                                   row.discipline,              row.auditorium, row.absent,
                                   row.covering};
        for (int col = 0; col < cols; ++col)
            grid.setText(r, col, cells.at(col));
        if (row.covering == kNoCover)
            grid.setCellForeColor(r, cols - 1, QColor(0xC0, 0x00, 0x00));
        ++r;
    }
    boxed(grid, kCaptionRow, grid.rows() - 1);
    grid.setCurrentCell(kFixedRows, 0);
}

ReportContent coverReportContent(const GridModel &grid)
{
    GridPrintOptions options;
    options.fontPoints = 10;
    ReportContent content = gridReport(grid, options);
    content.name = QStringLiteral("ЗАМЕНЫ");
    if (grid.rows() > kTitleRow && !content.headings.empty()) {
        // The title stands once above the table; only the captions repeat on every page.
        content.title = grid.text(kTitleRow, 0);
        content.headings.erase(content.headings.begin());
    }
    return content;
}

} // namespace korvesta
