#include "xlsxreader.h"

#include "data/documentsession.h"
#include "export/exportformat.h"
#include "export/xlsxexport.h"
#include "grid/gridmodel.h"
#include "sample/demodocument.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"
#include "views/fillregistry.h"
#include "views/headlessviews.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <zip.h>

#include <unistd.h>

namespace korvesta {
namespace {

QString unquoted(QString text)
{
    return text.remove(QLatin1Char('\''));
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

ExportResult write(const GridModel &grid, int code, const QString &path,
                   const SettingsRecord &record, const ExportSubject &subject = {},
                   const ExportProgress &progress = {})
{
    ExportRequest request;
    request.grid = &grid;
    request.viewCode = code;
    request.subject = subject;
    request.settings = &record;
    request.userName = QStringLiteral("planner");
    return exportView(request, path, progress);
}

// Each view of the sample institution, filled as the window fills it and read back from the
// file: sheet, print titles, orientation, paper, top margin, fitting, header and outline.
struct ViewCase
{
    int code;
    const char *sheet;
    const char *printTitles;
    const char *orientation;
    const char *paper;
    const char *top;        // margin
    const char *fitHeight;  // pages tall when fitted; null when not fitted
    const char *headerLine; // a line of the centre header
    bool outlined;          // totals rows grouped
};

const ViewCase viewCases[] = {
    {0, "Список групп", "Список групп!$1:$1", "portrait", "9", "0.7087", "0",
     "Отчет: СПИСОК ГРУПП", true},
    {2, "Паспорт группы", "Паспорт группы!$1:$1", "portrait", "9", "0.7087", "0",
     "Отчет: ПАСПОРТ ГРУППЫ  ИС-11", false},
    {10, "Дисциплины", "Дисциплины!$1:$1", "portrait", "9", "0.7087", "0",
     "Отчет: СПИСОК ДИСЦИПЛИН", true},
    {20, "Список аудиторий", "Список аудиторий!$1:$1", "portrait", "9", "0.7087", "0",
     "Отчет: СПИСОК АУДИТОРИЙ", true},
    {30, "Преподаватели", "Преподаватели!$1:$1", "portrait", "9", "0.7087", "0",
     "Отчет: СПИСОК ПРЕПОДАВАТЕЛЕЙ", true},
    {33, "Табель", "Табель!$A:$E,Табель!$1:$2", "landscape", "9", "1.02", nullptr,
     "Отчет: ТАБЕЛЬ", true},
    {34, "ОТР", "ОТР!$A:$B,ОТР!$1:$2", "portrait", "9", "1.02", nullptr, "Отчет: ОТРАБОТКА",
     true},
    {35, "ОТР(все)", "ОТР(все)!$A:$E,ОТР(все)!$1:$2", "landscape", "9", "1.02", nullptr,
     "Преподаватель: ВСЕ", true},
    {40, "Расписание", "Расписание!$A:$A,Расписание!$1:$2", "landscape", "9", "0.7", "1",
     "Р А С П И С А Н И Е   З А Н Я Т И Й", false},
    {41, "Расписание (неделя)", "Расписание (неделя)!$A:$B,Расписание (неделя)!$1:$2",
     "landscape", "9", "1.02", nullptr, "Период: 12.10.2026 - 16.10.2026", true},
    {42, "График", "График!$A:$A,График!$1:$3", "landscape", "9", "0.7", nullptr,
     "ДАТА : 12.10.26", false},
};

void PrintTo(const ViewCase &c, std::ostream *os)
{
    *os << "view " << c.code;
}

class SampleViews : public ::testing::TestWithParam<ViewCase>
{
protected:
    static QString sample()
    {
        static TestFolder folder;
        static const QString path = [] {
            const QString file = folder.file(QStringLiteral("sample.kvt"));
            writeDemoDocument(file, DemoRequest::fullYear(DemoSize::Small, 2026));
            return file;
        }();
        return path;
    }

    // Fills the view, for the group ИС-11 or the first tutor where it shows one; false when
    // this build does not fill it.
    bool fill(int code)
    {
        FillRegistry fills;
        registerViewFills(fills);
        if (!fills.find(code))
            return false;
        session.startFromCommandLine({sample()});
        views.date = QDate(2026, 10, 12);
        views.from = QDate(2026, 9, 1);
        views.to = QDate(2026, 10, 31);
        EXPECT_TRUE(views.show(code));
        for (const ObjectListEntry &entry : views.objects().entries) {
            if (code == 2 ? entry.text() != u"ИС-11" : code != 33 && code != 34)
                continue;
            object = entry.text();
            EXPECT_NE(views.chooseObject(entry), FillResult::Failed);
            break;
        }
        // The accounting views count under totals rows; a build with their frames only has
        // none.
        bool totals = code < 33 || code > 35;
        for (int row = 0; row < grid.rows(); ++row)
            totals = totals || grid.isSubtotal(row);
        return totals;
    }

    TestFolder folder;
    SettingsStore settings{folder.file(QStringLiteral("user.ini"))};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, settings, {folder.path(), folder.path()}};
    SettingsRecord record;
    GridModel grid;
    HeadlessViews views{grid, session, settings, record, prompts};
    QString object;
};

TEST_P(SampleViews, WritesTheSheetAndPageOfTheView)
{
    const ViewCase &c = GetParam();
    if (!fill(c.code))
        GTEST_SKIP() << "view " << c.code << " is not filled in this build";
    const QString path = folder.file(QStringLiteral("view.xlsx"));
    const ExportSubject subject{object, views.date, views.from, views.to, record.WorkDays, {}};
    const ExportResult result = write(grid, c.code, path, record, subject);
    ASSERT_EQ(result.outcome, ExportResult::Written) << result.message.toStdString();

    const XlsxSheet sheet = readXlsx(path);
    ASSERT_TRUE(sheet.opened) << sheet.error.toStdString();
    const auto page = [&](const char *key) { return sheet.pageSetup.value(QLatin1String(key)); };
    EXPECT_EQ(sheet.sheetNames, QStringList{QString::fromUtf8(c.sheet)});
    EXPECT_EQ(unquoted(sheet.printTitles), QString::fromUtf8(c.printTitles));
    EXPECT_EQ(page("orientation"), QLatin1String(c.orientation));
    EXPECT_EQ(page("paperSize"), QLatin1String(c.paper));
    EXPECT_EQ(sheet.margins.value(QStringLiteral("top")), QLatin1String(c.top));
    EXPECT_EQ(sheet.fitToPage, c.fitHeight != nullptr);
    if (c.fitHeight) { // 1 for the day; as many as it takes (0) for a list
        EXPECT_EQ(sheet.pageSetup.value(QStringLiteral("fitToHeight"), QStringLiteral("1")),
                  QLatin1String(c.fitHeight));
    }
    EXPECT_EQ(page("pageOrder"), c.code == 42 ? QStringLiteral("overThenDown") : QString());
    EXPECT_TRUE(sheet.header.startsWith(QStringLiteral("&C&10")));
    const QStringList lines = sheet.header.mid(5).split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QString::fromUtf8(c.headerLine))) << sheet.header.toStdString();
    EXPECT_TRUE(sheet.footer.startsWith(QStringLiteral("&LПодготовил(a):  planner    ")));
    EXPECT_TRUE(sheet.footer.contains(QDate::currentDate().toString("dd.MM.yyyy")));
    EXPECT_EQ(sheet.maxLevel() > 0, c.outlined) << sheet.maxLevel();
    if (c.code == 42) {
        EXPECT_EQ(sheet.text(QStringLiteral("A1")), QStringLiteral("Преподаватели"));
        EXPECT_EQ(sheet.text(QStringLiteral("A2")), QStringLiteral("Уроки"));
    }
    if (c.code >= 33 && c.code <= 35) {
        // Live sums in the "Comma" format; the picture column gone; even header rows.
        int sums = 0;
        for (const XlsxCell &cell : sheet.cells) {
            const bool sum = cell.formula.startsWith(QStringLiteral("SUM("));
            sums += sum ? 1 : 0;
            EXPECT_TRUE(!sum || !cell.numberFormat.isEmpty());
        }
        EXPECT_GT(sums, 0);
        EXPECT_FALSE(sheet.text(QStringLiteral("A3")).isEmpty());
        EXPECT_EQ(sheet.rowHeights.value(1), sheet.rowHeights.value(2));
    }
    EXPECT_EQ(filesIn(folder.path()).filter(QStringLiteral(".xlsx")),
              QStringList{QStringLiteral("view.xlsx")});
}

INSTANTIATE_TEST_SUITE_P(EveryExportedView, SampleViews, ::testing::ValuesIn(viewCases),
                         [](const auto &param) { return std::to_string(param.param.code); });

// A timesheet laid out by hand: two disciplines with their totals and a grand total.
void fillTimesheet(GridModel &grid)
{
    grid.setCols(8);
    grid.setRows(2);
    grid.setFixedRows(2);
    grid.setFixedCols(7);
    grid.setText(0, 4, QStringLiteral("всего"));
    grid.setRowHeight(1, 600);
    const QStringList rows[] = {
        {"", "Матем.", "ИС-11", "1", "40", "10", "30", "2"},
        {"", "Матем.", "ИС-12", "1", "36", "36", "0", ""},
        {"", "Физика", "ИС-11", "1", "20", "4", "16", "2"},
        {"", "Физика", "ИС-12", "1", "20", "2", "18", ""},
        {"", "Физика", "ПО-11", "1", "1 200", "1 190", "10", "4"},
    };
    for (const QStringList &r : rows)
        grid.addRow(r);
    for (const int groupOn : {1, -1}) { // per discipline, then under all
        for (int col = 4; col <= 7; ++col)
            grid.subtotal({Aggregate::Sum, groupOn, col, {}, {}, {}, false, {}, 2});
    }
}

TEST(AccountingExport, TotalsAreFormulasOverTheirBlocks)
{
    TestFolder folder;
    GridModel grid;
    fillTimesheet(grid);
    ASSERT_EQ(grid.rows(), 10); // 2 header rows, 5 lines, 2 totals, 1 grand total
    SettingsRecord record;
    const QString path = folder.file(QStringLiteral("t.xlsx"));
    const ExportSubject tutor{QStringLiteral("Иванов И.И."), {}, {2026, 9, 1}, {2026, 9, 30}, 5, {}};
    ASSERT_EQ(write(grid, 33, path, record, tutor).outcome, ExportResult::Written);
    const XlsxSheet sheet = readXlsx(path);
    ASSERT_TRUE(sheet.opened);

    // Column A of the grid (the pictures) is left out: "всего" is in D.
    EXPECT_EQ(sheet.text(QStringLiteral("D1")), QStringLiteral("всего"));
    // Cell, formula and its value; a grand total adds the totals of the blocks.
    const char *const totals[][3] = {
        {"D5", "SUM(D3:D4)", "76"},    {"E5", "SUM(E3:E4)", "46"},   {"D9", "SUM(D6:D8)", "1240"},
        {"G9", "SUM(G6:G8)", "6"},     {"D10", "SUM(D5,D9)", "1316"}, {"E10", "SUM(E5,E9)", "1242"},
        {"G10", "SUM(G5,G9)", "8"},
    };
    for (const auto &t : totals) {
        const XlsxCell cell = sheet.cells.value(QLatin1String(t[0]));
        EXPECT_EQ(cell.formula, QLatin1String(t[1])) << t[0];
        EXPECT_EQ(cell.value, QLatin1String(t[2])) << t[0];
        EXPECT_EQ(cell.numberFormat,
                  QStringLiteral("_-* #,##0_?_._-;-* #,##0_?_._-;_-* \"0\"??_?_._-;_-@_-"));
    }
    // Lines are numbers, so that the sums add them; "1 200" as the grid writes thousands.
    EXPECT_EQ(sheet.text(QStringLiteral("D8")), QStringLiteral("1200"));
    EXPECT_TRUE(sheet.formula(QStringLiteral("D8")).isEmpty());
    // Lines in level 2 under their discipline, the disciplines' totals in level 1.
    EXPECT_EQ(sheet.rowLevels.value(3), 2);
    EXPECT_EQ(sheet.rowLevels.value(5), 1);
    EXPECT_EQ(sheet.rowLevels.value(10), 0);
    // The two header rows are as high as each other.
    EXPECT_EQ(sheet.rowHeights.value(1), 30);
    EXPECT_EQ(sheet.rowHeights.value(2), 30);
    EXPECT_EQ(sheet.printOptions.value(QStringLiteral("verticalCentered")), QStringLiteral("1"));
    EXPECT_TRUE(sheet.header.endsWith(
        QStringLiteral("Отчет: ТАБЕЛЬ\nПреподаватель: Иванов И.И.\nПериод: 01.09.26 - 30.09.26")))
        << sheet.header.toStdString();
}

// A block with nothing to add up yet shows an empty total; the sheet sums it all the same,
// so that it follows what is typed into the block afterwards. Colours go when asked.
TEST(AccountingExport, AnEmptyTotalIsASumTooAndColoursFollowTheSetting)
{
    GridModel grid;
    grid.setCols(6);
    grid.setRows(2);
    grid.setFixedRows(2);
    grid.setFixedCols(4);
    grid.addRow({"", "Матем.", "ИС-11", "1", "40", "2"});
    grid.addRow({"", "Физика", "ИС-11", "1", "20", ""});
    grid.addRow({"", "Физика", "ИС-12", "1", "12", ""});
    grid.setCellBackColor(2, 1, QColor(255, 200, 200));
    for (const int groupOn : {1, -1}) {
        for (int col = 4; col <= 5; ++col)
            grid.subtotal({Aggregate::Sum, groupOn, col, {}, {}, {}, false, {}, 2});
    }
    TestFolder folder;
    SettingsRecord record;
    const QString path = folder.file(QStringLiteral("t.xlsx"));
    ASSERT_EQ(write(grid, 33, path, record).outcome, ExportResult::Written);
    const XlsxSheet sheet = readXlsx(path);
    ASSERT_TRUE(sheet.opened);
    QStringList sums;
    for (auto it = sheet.cells.begin(); it != sheet.cells.end(); ++it)
        if (it.key().startsWith('E') && it.value().formula.startsWith("SUM("))
            sums << it.key() + '=' + it.value().formula;
    // Матем., Физика (empty) and the grand total.
    EXPECT_EQ(sums.size(), 3) << sums.join(' ').toStdString();

    ExportRequest plain;
    plain.grid = &grid;
    plain.viewCode = 33;
    plain.settings = &record;
    plain.colours = false;
    const QString bare = folder.file(QStringLiteral("bare.xlsx"));
    ASSERT_EQ(exportView(plain, bare).outcome, ExportResult::Written);
    const auto styles = [](const QString &book) {
        QByteArray text;
        int error = 0;
        zip_t *zip = zip_open(book.toUtf8().constData(), ZIP_RDONLY, &error);
        if (zip_file_t *file = zip ? zip_fopen(zip, "xl/styles.xml", 0) : nullptr) {
            char piece[4096];
            for (zip_int64_t n; (n = zip_fread(file, piece, sizeof piece)) > 0;)
                text.append(piece, qsizetype(n));
            zip_fclose(file);
        }
        if (zip)
            zip_discard(zip);
        return text;
    };
    EXPECT_TRUE(styles(path).contains("FFFFC8C8"));
    EXPECT_FALSE(styles(bare).contains("FFFFC8C8"));
}

TEST(AccountingExport, HoursWorkedSumsEachRowAndKeepsDatesAsDatesWithoutPageSetup)
{
    GridModel grid;
    grid.setCols(5);
    grid.setRows(2);
    grid.setFixedRows(2);
    grid.setText(0, 3, QStringLiteral("ИС-11"));
    grid.setText(0, 4, QStringLiteral("ИС-12"));
    grid.addRow(QStringList{"", "Сентябрь '26", "07 Сен", "2", "4"});
    grid.addRow(QStringList{"", "Сентябрь '26", "08 Сен", "", "2"});
    TestFolder folder;
    SettingsRecord record;
    record.ExcelPrintPreview = false;
    const QString path = folder.file(QStringLiteral("w.xlsx"));
    ASSERT_EQ(write(grid, 34, path, record).outcome, ExportResult::Written);
    const XlsxSheet sheet = readXlsx(path);
    EXPECT_EQ(sheet.sheetNames, QStringList{QStringLiteral("ОТР")});
    EXPECT_TRUE(sheet.header.isEmpty() && sheet.footer.isEmpty());
    EXPECT_TRUE(sheet.printTitles.isEmpty() && sheet.pageSetup.isEmpty());
    EXPECT_EQ(sheet.text(QStringLiteral("C1")), QStringLiteral("Всего"));
    EXPECT_EQ(sheet.text(QStringLiteral("D1")), QStringLiteral("ИС-11"));
    EXPECT_EQ(sheet.formula(QStringLiteral("C3")), QStringLiteral("SUM(D3:E3)"));
    EXPECT_EQ(sheet.text(QStringLiteral("C3")), QStringLiteral("6"));
    EXPECT_EQ(sheet.formula(QStringLiteral("C4")), QStringLiteral("SUM(D4:E4)"));
    // 07.09.2026 as the spreadsheet counts days.
    EXPECT_EQ(sheet.text(QStringLiteral("B3")),
              QString::number(QDate(1899, 12, 30).daysTo(QDate(2026, 9, 7))));
    EXPECT_EQ(sheet.cells.value(QStringLiteral("B3")).numberFormat,
              QStringLiteral("[$-419]d mmm;@"));
    EXPECT_TRUE(sheet.merges.contains(QStringLiteral("C1:C2")));
}

// The centre header and the left footer for the settings that shape them.
TEST(PageTexts, FollowTheReportSettings)
{
    const struct
    {
        const char *name;
        int code;
        bool useHead;
        const char *head;
        bool useFoot;
        const char *foot;
        const char *header;
        const char *footer;
    } cases[] = {
        {"no head text", 0, false, "Колледж", true, "", "&C&10Отчет: СПИСОК ГРУПП",
         "&LПодготовил(a):  planner    07.12.2026    09:05&RСтраница &P"},
        {"empty head text", 10, true, "", false, "Петрова", "&C&10\n\nОтчет: СПИСОК ДИСЦИПЛИН",
         "&LПодготовил(a):      07.12.2026    09:05&RСтраница &P"},
        {"head and signer", 20, true, "Колледж", true, "Петрова",
         "&C&10Колледж\n\nОтчет: СПИСОК АУДИТОРИЙ",
         "&LПодготовил(a):  Петрова    07.12.2026    09:05&RСтраница &P"},
        {"ampersands", 40, true, "A & B", true, "R&D",
         "&C&10A && B\n\nР А С П И С А Н И Е   З А Н Я Т И Й\nДАТА: 05 октября 2026 года",
         "&LПодготовил(a):  R&&D    07.12.2026    09:05&RСтраница &P"},
        {"digits after the size", 42, true, "1-й корпус", false, "",
         "&C&10 1-й корпус\n\nГРАФИК РАБОТЫ\nДАТА : 05.10.26",
         "&LПодготовил(a):      07.12.2026    09:05&RСтраница &P"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRecord record;
        record.UseHeadReport = c.useHead;
        record.HeaderReport = QString::fromUtf8(c.head);
        record.UseFooterReport = c.useFoot;
        record.FooterReport = QString::fromUtf8(c.foot);
        const ExportSubject subject{QString(), QDate(2026, 10, 5), {}, {}, 5,
                                    QDateTime(QDate(2026, 12, 7), QTime(9, 5))};
        const PageTexts texts =
            pageTexts(*exportFormat(c.code), subject, record, QStringLiteral("planner"));
        EXPECT_EQ(texts.header, QString::fromUtf8(c.header));
        EXPECT_EQ(texts.footer, QString::fromUtf8(c.footer));
    }
    // Long texts of the user give way to the 255 characters a sheet keeps.
    SettingsRecord record;
    record.HeaderReport = QString(400, QChar(u'Ж'));
    record.FooterReport = QString(300, QLatin1Char('&'));
    ExportSubject now;
    now.made = QDateTime(QDate(2026, 12, 7), QTime(9, 5));
    const PageTexts texts = pageTexts(*exportFormat(41), now, record, QString());
    EXPECT_LE(texts.header.size(), 255);
    EXPECT_LE(texts.footer.size(), 255);
    // The moment as text, whatever format the reader's own date field would take.
    EXPECT_TRUE(texts.footer.endsWith(QStringLiteral("    07.12.2026    09:05&RСтраница &P")));
    // Three field codes (&L, &R, &P) and the user's "&" all doubled.
    EXPECT_EQ((texts.footer.count(QLatin1Char('&')) - 3) % 2, 0);
}

// Destinations that cannot take the file: a clear message, no file and nothing left behind.
TEST(ExportDestination, RefusesWhatCannotBeWrittenAndLeavesNothing)
{
    TestFolder folder;
    QDir(folder.path()).mkdir(QStringLiteral("папка.xlsx"));
    QFile plain(folder.file(QStringLiteral("файл")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString missing = folder.file(QStringLiteral("нет/t.xlsx"));
    const struct
    {
        const char *name;
        QString path;
        QString message;
    } cases[] = {
        {"a folder", folder.file(QStringLiteral("папка.xlsx")),
         QStringLiteral("«%1» - это папка. Укажите имя файла таблицы")
             .arg(folder.file(QStringLiteral("папка.xlsx")))},
        {"a missing folder", missing,
         QStringLiteral("Папка «%1» не найдена").arg(folder.file(QStringLiteral("нет")))},
        {"a file as folder", folder.file(QStringLiteral("файл/t.xlsx")),
         QStringLiteral("«%1» - это файл, а не папка").arg(folder.file(QStringLiteral("файл")))},
    };
    GridModel grid;
    grid.setCols(2);
    grid.setRows(2);
    SettingsRecord record;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ExportResult result = write(grid, 0, c.path, record);
        EXPECT_EQ(result.outcome, ExportResult::Failed);
        EXPECT_EQ(result.message, c.message);
    }
    EXPECT_EQ(filesIn(folder.path()), QStringList{QStringLiteral("файл")});

    // A view outside the table writes nothing.
    const QString other = folder.file(QStringLiteral("other.xlsx"));
    EXPECT_EQ(write(grid, 43, other, record).outcome, ExportResult::NotExported);
    EXPECT_FALSE(QFile::exists(other));

    // Stopped half way: no file, and the one there before is kept as it was.
    const QString kept = folder.file(QStringLiteral("kept.xlsx"));
    writeTestFile(kept, "old");
    const auto stop = [](int done, int) { return done < 2; };
    EXPECT_EQ(write(grid, 0, kept, record, {}, stop).outcome, ExportResult::Cancelled);
    EXPECT_EQ(readTestFile(kept), QByteArray("old"));
    EXPECT_EQ(filesIn(folder.path()).size(), 2);
}

TEST(ExportDestination, AFolderWithoutWriteAccess)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into any folder";
    TestFolder folder;
    const QString locked = folder.file(QStringLiteral("locked"));
    QDir(folder.path()).mkdir(QStringLiteral("locked"));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    GridModel grid;
    SettingsRecord record;
    const ExportResult result = write(grid, 0, locked + QStringLiteral("/t.xlsx"), record);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(result.outcome, ExportResult::Failed);
    EXPECT_EQ(result.message,
              QStringLiteral("Нет доступа на запись в папку «%1». Файл таблицы не записан")
                  .arg(locked));
    EXPECT_TRUE(filesIn(locked).isEmpty());
}

TEST(ExportContent, OddGridsMakeCorrectFiles)
{
    // A text longer than a cell holds is cut; a grid of 300 columns keeps them all.
    GridModel grid;
    grid.setCols(300);
    grid.setRows(3);
    grid.setFixedRows(1);
    grid.setText(1, 1, QString(40000, QLatin1Char('x')));
    grid.setText(2, 299, QStringLiteral("последний"));
    TestFolder folder;
    SettingsRecord record;
    const QString path = folder.file(QStringLiteral("wide.xlsx"));
    ASSERT_EQ(write(grid, 10, path, record).outcome, ExportResult::Written);
    const XlsxSheet sheet = readXlsx(path);
    ASSERT_TRUE(sheet.opened) << sheet.error.toStdString();
    EXPECT_EQ(sheet.text(QStringLiteral("B2")).size(), MaxCellText);
    EXPECT_EQ(sheet.text(QStringLiteral("KN3")), QStringLiteral("последний"));

    // Characters XML forbids would make the book unreadable: they are left out.
    GridModel odd;
    odd.setCols(2);
    odd.setRows(2);
    odd.setFixedRows(1);
    odd.setText(1, 1, QStringLiteral("<b>&\"") + QChar(0) + QChar(0x01) + u';');
    const QString oddPath = folder.file(QStringLiteral("odd.xlsx"));
    ASSERT_EQ(write(odd, 10, oddPath, record).outcome, ExportResult::Written);
    const XlsxSheet oddSheet = readXlsx(oddPath);
    ASSERT_TRUE(oddSheet.opened) << oddSheet.error.toStdString();
    EXPECT_EQ(oddSheet.text(QStringLiteral("B2")), QStringLiteral("<b>&\";"));
}

TEST(ExportContent, NamesOfSheetsAndColumns)
{
    const std::pair<const char *, const char *> sheets[] = {
        {"Список групп", "Список групп"},
        {"a/b\\c?d*e:f[g]h", "a_b_c_d_e_f_g_h"},
        {"'цитата'", "цитата"},
        {"", "Лист1"},
        {"Очень длинное имя листа, длиннее тридцати одного знака", "Очень длинное имя листа, длинне"},
    };
    for (const auto &[given, expected] : sheets)
        EXPECT_EQ(sheetNameFrom(QString::fromUtf8(given)), QString::fromUtf8(expected));
    const std::pair<int, const char *> columns[] = {
        {0, "A"}, {25, "Z"}, {26, "AA"}, {299, "KN"}, {701, "ZZ"}, {702, "AAA"}};
    for (const auto &[col, name] : columns)
        EXPECT_EQ(columnName(col), QString::fromLatin1(name));
}

} // namespace
} // namespace korvesta
