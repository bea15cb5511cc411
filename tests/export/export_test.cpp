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
// file: the sheet, the print titles, the page, the header's title and the outline.
struct ViewCase
{
    int code;
    const char *sheet;
    const char *printTitles;
    bool landscape;
    const char *headerLine; // a line of the centre header
    bool outlined;          // totals rows grouped
    bool a4;
};

const ViewCase viewCases[] = {
    {0, "Список групп", "Список групп!$1:$1", false, "Отчет: СПИСОК ГРУПП", true, true},
    {2, "Паспорт группы", "Паспорт группы!$1:$1", false, "Отчет: ПАСПОРТ ГРУППЫ  ", false,
     true},
    {10, "Дисциплины", "Дисциплины!$1:$1", false, "Отчет: СПИСОК ДИСЦИПЛИН", true, true},
    {20, "Список аудиторий", "Список аудиторий!$1:$1", false, "Отчет: СПИСОК АУДИТОРИЙ", true,
     true},
    {30, "Преподаватели", "Преподаватели!$1:$1", false, "Отчет: СПИСОК ПРЕПОДАВАТЕЛЕЙ", true,
     true},
    {33, "Табель", "Табель!$A:$E,Табель!$1:$2", true, "Отчет: ТАБЕЛЬ", true, true},
    {34, "ОТР", "ОТР!$A:$B,ОТР!$1:$2", false, "Отчет: ОТРАБОТКА", true, true},
    {35, "ОТР(все)", "ОТР(все)!$A:$E,ОТР(все)!$1:$2", true, "Преподаватель: ВСЕ", true, true},
    {40, "Расписание", "Расписание!$A:$A,Расписание!$1:$2", true,
     "Р А С П И С А Н И Е   З А Н Я Т И Й", false, false},
    {41, "Расписание (неделя)", "Расписание (неделя)!$A:$B,Расписание (неделя)!$1:$2", true,
     "Период: 12.10.2026 - 16.10.2026", true, false},
    {42, "График", "График!$A:$A,График!$1:$3", true, "ДАТА : 12.10.26", false, true},
};

class SampleViews : public ::testing::TestWithParam<ViewCase>
{
protected:
    static QString sample()
    {
        static TestFolder folder;
        static const QString path = [] {
            const QString file = folder.file(QStringLiteral("sample.kvt"));
            writeDemoDocument(file, DemoSize::Small, 2026);
            return file;
        }();
        return path;
    }

    // Fills the view, with its first object where it has a list of them; false when the
    // view has no fill yet.
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
        if (!views.objects().entries.empty() && (code == 2 || code == 33 || code == 34)) {
            object = views.objects().entries.front().text();
            EXPECT_NE(views.chooseObject(views.objects().entries.front()), FillResult::Failed);
        }
        // The accounting views count what they show under totals rows; a build that has
        // their frames only shows none.
        if (code >= 33 && code <= 35) {
            for (int row = 0; row < grid.rows(); ++row) {
                if (grid.isSubtotal(row))
                    return true;
            }
            return false;
        }
        return true;
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
    ASSERT_GT(grid.rows(), grid.fixedRows());
    const QString path = folder.file(QStringLiteral("view.xlsx"));
    const ExportSubject subject{object, views.date, views.from, views.to, record.WorkDays};
    const ExportResult result = write(grid, c.code, path, record, subject);
    ASSERT_EQ(result.outcome, ExportResult::Written) << result.message.toStdString();

    const XlsxSheet sheet = readXlsx(path);
    ASSERT_TRUE(sheet.opened) << sheet.error.toStdString();
    EXPECT_EQ(sheet.sheetNames, QStringList{QString::fromUtf8(c.sheet)});
    EXPECT_EQ(unquoted(sheet.printTitles), QString::fromUtf8(c.printTitles));
    EXPECT_EQ(sheet.pageSetup.value(QStringLiteral("orientation")),
              c.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    EXPECT_EQ(sheet.pageSetup.value(QStringLiteral("paperSize")),
              c.a4 ? QStringLiteral("9") : QString());
    const QStringList lines = sheet.header.split(QLatin1Char('\n'));
    EXPECT_TRUE(sheet.header.startsWith(QStringLiteral("&C&10"))) << sheet.header.toStdString();
    const QString expected =
        QString::fromUtf8(c.headerLine) + (c.code == 2 ? object : QString());
    EXPECT_TRUE(lines.contains(expected) || lines.contains(QStringLiteral("&C&10") + expected))
        << sheet.header.toStdString();
    EXPECT_EQ(sheet.footer,
              QStringLiteral("&LПодготовил(a):  planner    &D    &T&RСтраница &P"));
    EXPECT_EQ(sheet.maxLevel() > 0, c.outlined) << sheet.maxLevel();
    // What only some views set: one page for the day, the pages of the schedule across
    // first with its corner captions, the week's tall top margin.
    EXPECT_EQ(sheet.fitToPage, c.code == 40 || c.code < 33) << "fit";
    if (c.code == 40) {
        EXPECT_EQ(sheet.pageSetup.value(QStringLiteral("fitToHeight"), QStringLiteral("1")),
                  QStringLiteral("1"));
        EXPECT_EQ(sheet.printOptions.value(QStringLiteral("verticalCentered")),
                  QStringLiteral("1"));
    }
    if (c.code < 33) { // as many pages down as the list takes
        EXPECT_EQ(sheet.pageSetup.value(QStringLiteral("fitToHeight")), QStringLiteral("0"));
    }
    EXPECT_EQ(sheet.pageSetup.value(QStringLiteral("pageOrder")),
              c.code == 42 ? QStringLiteral("overThenDown") : QString());
    if (c.code == 42) {
        EXPECT_EQ(sheet.text(QStringLiteral("A1")), QStringLiteral("Преподаватели"));
        EXPECT_EQ(sheet.text(QStringLiteral("A2")), QStringLiteral("Уроки"));
    }
    EXPECT_EQ(sheet.margins.value(QStringLiteral("top")),
              c.code == 41 || (c.code >= 33 && c.code <= 35) ? QStringLiteral("1.02")
              : c.code >= 40                                 ? QStringLiteral("0.7")
                                                             : QStringLiteral("0.7087"));
    if (c.code >= 33 && c.code <= 35) {
        // The totals are live sums with the "Comma" format, and the picture column is gone.
        int sums = 0;
        for (const XlsxCell &cell : sheet.cells) {
            if (cell.formula.startsWith(QStringLiteral("SUM("))) {
                ++sums;
                EXPECT_FALSE(cell.numberFormat.isEmpty());
            }
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
    const QStringList head = {"", "Предмет", "Группа", "Курс", "всего", "отраб", "остат", "Сентябрь"};
    for (int c = 0; c < head.size(); ++c)
        grid.setText(0, c, head[c]);
    grid.setText(1, 7, QStringLiteral("07"));
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
    for (int col = 4; col <= 7; ++col) {
        SubtotalSpec spec;
        spec.function = Aggregate::Sum;
        spec.groupOn = 1;
        spec.totalOn = col;
        grid.subtotal(spec);
    }
    for (int col = 4; col <= 7; ++col) {
        SubtotalSpec spec;
        spec.function = Aggregate::Sum;
        spec.groupOn = -1;
        spec.totalOn = col;
        spec.captionCol = 2;
        grid.subtotal(spec);
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
    ASSERT_EQ(write(grid, 33, path, record, {QStringLiteral("Иванов И.И."), {}, {2026, 9, 1},
                                              {2026, 9, 30}})
                  .outcome,
              ExportResult::Written);
    const XlsxSheet sheet = readXlsx(path);
    ASSERT_TRUE(sheet.opened);

    // Column A of the grid (the pictures) is left out: "всего" is in D.
    EXPECT_EQ(sheet.text(QStringLiteral("D1")), QStringLiteral("всего"));
    const struct
    {
        const char *cell;
        const char *formula;
        const char *value;
    } totals[] = {
        {"D5", "SUM(D3:D4)", "76"},         {"E5", "SUM(E3:E4)", "46"},
        {"D9", "SUM(D6:D8)", "1240"},       {"G9", "SUM(G6:G8)", "6"},
        {"D10", "SUM(D5,D9)", "1316"},      {"E10", "SUM(E5,E9)", "1242"},
        {"G10", "SUM(G5,G9)", "8"},
    };
    for (const auto &t : totals) {
        SCOPED_TRACE(t.cell);
        EXPECT_EQ(sheet.formula(QString::fromLatin1(t.cell)), QString::fromLatin1(t.formula));
        EXPECT_EQ(sheet.text(QString::fromLatin1(t.cell)), QString::fromLatin1(t.value));
        EXPECT_EQ(sheet.cells.value(QString::fromLatin1(t.cell)).numberFormat,
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

TEST(AccountingExport, HoursWorkedSumsEachRowAndKeepsDatesAsDates)
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
    const QString path = folder.file(QStringLiteral("w.xlsx"));
    ASSERT_EQ(write(grid, 34, path, record).outcome, ExportResult::Written);
    const XlsxSheet sheet = readXlsx(path);
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
         "&LПодготовил(a):  planner    &D    &T&RСтраница &P"},
        {"empty head text", 10, true, "", false, "Петрова", "&C&10\n\nОтчет: СПИСОК ДИСЦИПЛИН",
         "&LПодготовил(a):      &D    &T&RСтраница &P"},
        {"head and signer", 20, true, "Колледж", true, "Петрова",
         "&C&10Колледж\n\nОтчет: СПИСОК АУДИТОРИЙ",
         "&LПодготовил(a):  Петрова    &D    &T&RСтраница &P"},
        {"ampersands", 40, true, "A & B", true, "R&D",
         "&C&10A && B\n\nР А С П И С А Н И Е   З А Н Я Т И Й\nДАТА: 05 октября 2026 года",
         "&LПодготовил(a):  R&&D    &D    &T&RСтраница &P"},
        {"digits after the size", 42, true, "1-й корпус", false, "",
         "&C&10 1-й корпус\n\nГРАФИК РАБОТЫ\nДАТА : 05.10.26",
         "&LПодготовил(a):      &D    &T&RСтраница &P"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRecord record;
        record.UseHeadReport = c.useHead;
        record.HeaderReport = QString::fromUtf8(c.head);
        record.UseFooterReport = c.useFoot;
        record.FooterReport = QString::fromUtf8(c.foot);
        const ExportSubject subject{QString(), QDate(2026, 10, 5), {}, {}, 5};
        const PageTexts texts =
            pageTexts(*exportFormat(c.code), subject, record, QStringLiteral("planner"));
        EXPECT_EQ(texts.header, QString::fromUtf8(c.header));
        EXPECT_EQ(texts.footer, QString::fromUtf8(c.footer));
    }
    // Long texts of the user give way to the 255 characters a sheet keeps.
    SettingsRecord record;
    record.HeaderReport = QString(400, QChar(u'Ж'));
    record.FooterReport = QString(300, QLatin1Char('&'));
    const PageTexts texts = pageTexts(*exportFormat(41), {}, record, QString());
    EXPECT_LE(texts.header.size(), 255);
    EXPECT_LE(texts.footer.size(), 255);
    EXPECT_TRUE(texts.footer.endsWith(QStringLiteral("    &D    &T&RСтраница &P")));
    // Five field codes (&L, &D, &T, &R, &P) and the user's "&" all doubled.
    EXPECT_EQ((texts.footer.count(QLatin1Char('&')) - 5) % 2, 0);
}

TEST(PageTexts, NoPageSetupWithoutExcelPrintPreview)
{
    GridModel grid;
    grid.setCols(3);
    grid.setRows(3);
    grid.setFixedRows(1);
    TestFolder folder;
    SettingsRecord record;
    record.ExcelPrintPreview = false;
    const QString path = folder.file(QStringLiteral("plain.xlsx"));
    ASSERT_EQ(write(grid, 41, path, record).outcome, ExportResult::Written);
    const XlsxSheet sheet = readXlsx(path);
    EXPECT_EQ(sheet.sheetNames, QStringList{QStringLiteral("Расписание (неделя)")});
    EXPECT_TRUE(sheet.header.isEmpty());
    EXPECT_TRUE(sheet.footer.isEmpty());
    EXPECT_TRUE(sheet.printTitles.isEmpty());
    EXPECT_TRUE(sheet.pageSetup.isEmpty());
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
    QFile before(kept);
    ASSERT_TRUE(before.open(QIODevice::WriteOnly));
    before.write("old");
    before.close();
    const auto stop = [](int done, int) { return done < 2; };
    EXPECT_EQ(write(grid, 0, kept, record, {}, stop).outcome, ExportResult::Cancelled);
    QFile after(kept);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), QByteArray("old"));
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
