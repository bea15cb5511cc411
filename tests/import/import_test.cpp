// Reading .xlsx and CSV tables and importing them through the checks of manual entry.

#include "support/scriptedprompts.h"
#include "support/testdocument.h"

#include "data/database.h"
#include "data/history.h"
#include "data/recordset.h"
#include "editing/loadchanges.h"
#include "import/columnmapping.h"
#include "import/loadlines.h"
#include "import/sheetfile.h"
#include "import/tableimport.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A one-sheet book: strings as strings, cells given as numbers written as numbers.
struct BookCell
{
    QString text;
    bool number = false;
    bool date = false;
};
void writeBook(const QString &path, const std::vector<std::vector<BookCell>> &rows,
               const char *merge = nullptr, const char *sheetName = "Нагрузка")
{
    lxw_workbook *book = workbook_new(path.toUtf8().constData());
    lxw_worksheet *sheet = workbook_add_worksheet(book, sheetName);
    lxw_format *dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "dd.mm.yyyy");
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const BookCell &cell = rows[r][c];
            if (cell.number || cell.date)
                worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), cell.text.toDouble(),
                                       cell.date ? dateFormat : nullptr);
            else
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                       cell.text.toUtf8().constData(), nullptr);
        }
    }
    if (merge)
        worksheet_merge_range(sheet, 0, 0, 0, 1, merge, nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

QStringList cellsOf(const SheetTable &table)
{
    QStringList out;
    for (const SheetRow &row : table.rows)
        out << QString::number(row.number) + u':' + row.cells.join(u'|');
    return out;
}

TEST(SheetFile, CsvVariantsReadAlike)
{
    const struct
    {
        const char *name;
        QByteArray bytes;
        QStringList rows;
        QString source;
    } cases[] = {
        {"utf-8 with BOM, mixed line ends",
         QByteArray("\xEF\xBB\xBF") + "Курс;Группа\r\n1;ПИ-21\n2;ИС-22\r3;Т-1\r\n",
         {"1:Курс|Группа", "2:1|ПИ-21", "3:2|ИС-22", "4:3|Т-1"},
         "CSV, UTF-8 (с BOM), разделитель «;»"},
        {"commas, quotes with separators, doubled quotes and a line break",
         "Группа,Комментарий\n\"А,Б\",\"сказал \"\"да\"\"\nи ушёл\"\n\nВ,\n",
         {"1:Группа|Комментарий", "2:А,Б|сказал \"да\"\nи ушёл", "5:В|"},
         "CSV, UTF-8, разделитель «,»"},
        {"windows-1251",
         QByteArray("\xCA\xF3\xF0\xF1;\xC3\xF0\xF3\xEF\xEF\xE0\r\n1;\xB8\xEB\xEA\xE0\r\n"),
         {"1:Курс|Группа", "2:1|ёлка"},
         "CSV, Windows-1251 (не UTF-8: в строке 1 байт 0xCA не является символом UTF-8; как "
         "Windows-1251 файл читается русским текстом), разделитель «;»"},
    };
    TestFolder folder;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.file("t.csv");
        writeFile(path, c.bytes);
        const SheetTable table = readSheetFile(path);
        ASSERT_TRUE(table.ok()) << table.error.toStdString();
        EXPECT_EQ(cellsOf(table), c.rows);
        EXPECT_EQ(table.source, c.source);
    }
}

TEST(SheetFile, BookCellsAsText)
{
    TestFolder folder;
    const QString path = folder.file("b.xlsx");
    writeBook(path, {{{"Часы"}, {"Экзамен"}, {"Доля"}},
                     {{"72", true}, {"46023", false, true}, {"0.25", true}},
                     {{"036"}, {"", false}, {"1e20", true}}});
    const SheetTable table = readSheetFile(path);
    ASSERT_TRUE(table.ok()) << table.error.toStdString();
    EXPECT_EQ(cellsOf(table),
              QStringList({"1:Часы|Экзамен|Доля", "2:72|01.01.2026|0.25", "3:036||1e+20"}));
    EXPECT_EQ(table.sheetNames, QStringList{"Нагрузка"});
    EXPECT_FALSE(readSheetFile(path, "Лист9").ok());
}

TEST(SheetFile, UnreadableFilesSayWhatToDo)
{
    TestFolder folder;
    const QByteArray cfb("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    QByteArray encrypted = cfb + QByteArray(64, '\0');
    encrypted += QByteArray(reinterpret_cast<const char *>(u"EncryptedPackage"), 32);
    writeBook(folder.file("whole.xlsx"), {{{"Группа"}, {"Курс"}}, {{"А"}, {"1", true}}});
    QFile whole(folder.file("whole.xlsx"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray book = whole.readAll();
    writeBook(folder.file("merged.xlsx"), {{}, {{"А"}, {"1", true}}}, "Группа и курс");

    const struct
    {
        const char *name;
        QByteArray bytes; // empty: the file written above
        QString expectedStart;
    } cases[] = {
        {"old.xls", cfb + QByteArray(600, '\0'), "Файл «old.xls» - книга старого формата"},
        {"locked.xlsx", encrypted, "Книга «locked.xlsx» защищена паролем."},
        {"cut.xlsx", book.left(book.size() / 2), "Файл «cut.xlsx» повреждён"},
        {"merged.xlsx", {}, "В строке заголовков листа «Нагрузка» есть объединённые ячейки"},
        {"image.csv", QByteArray("\x89PNG\r\n\x1A\n\0\0", 10), "Файл «image.csv» не является"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.isEmpty())
            writeFile(folder.file(c.name), c.bytes);
        const SheetTable table = readSheetFile(folder.file(c.name));
        EXPECT_TRUE(table.error.startsWith(c.expectedStart)) << table.error.toStdString();
        EXPECT_TRUE(table.rows.empty());
    }
}

TEST(ColumnMapping, HeadersSynonymsAndRememberedChoice)
{
    const QStringList headers = {"ФИО", "Предмет", "  группа ", "Кол-во часов", "Каб."};
    ColumnMapping m = matchColumns(ImportKind::Load, headers);
    EXPECT_EQ(m.column("tutor"), 0);
    EXPECT_EQ(m.column("discipline"), 1);
    EXPECT_EQ(m.column("group"), 2);
    EXPECT_EQ(m.column("hours"), 3);
    EXPECT_EQ(m.column("auditorium"), -1);
    EXPECT_EQ(mappingProblem(m), QString());
    m.set("hours", -1);
    EXPECT_EQ(mappingProblem(m), "Не указан столбец «Часы»");

    TestFolder folder;
    SettingsStore store(folder.file("s.ini"));
    m.set("auditorium", 4);
    m.set("hours", 3);
    rememberMapping(store, m, headers);
    const ColumnMapping again = matchColumns(ImportKind::Load, headers, &store);
    EXPECT_EQ(again.columns, m.columns);
}

// A new document and the load book a planner keeps.
class LoadImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = newTestDocument(folder);
        db.emplace(Database::open(path));
        History::attach(*db);
        book = folder.file("load.xlsx");
        writeBook(book, {{{"Преподаватель"}, {"Дисциплина"}, {"Группа"}, {"Курс"}, {"Часы"}},
                         {{"Иванов И.И."}, {"Физика"}, {"ПИ-21"}, {"1", true}, {"72", true}},
                         {{"Петрова А.А."}, {"Химия"}, {"ПИ-21"}, {"1", true}, {"36"}},
                         {{"иванов и.и."}, {"Физика"}, {"ИС-22"}, {"2", true}, {"40", true}},
                         {{"Сидоров"}, {"Физика"}, {"ПИ-21"}, {"1", true}, {"0", true}},
                         {{"Иванов И.И."}, {"Физика"}, {"ПИ-21"}, {"1", true}, {"10", true}}});
        table = readSheetFile(book);
        mapping = matchColumns(ImportKind::Load, sheetHeaders(table));
    }
    QStringList loadRows() const
    {
        QStringList out;
        Recordset rs = db->openRecordset(
            "SELECT tblTutors.Tutor & '|' & tblDisciplines.Discipline & '|' & tblGroups.Group & "
            "'|' & tblGroups.Course & '|' & tblJobList.Hours AS Line "
            "FROM ((tblJobList INNER JOIN tblJob ON tblJobList.Key_Job = tblJob.Key) "
            "INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) "
            "INNER JOIN (tblDisciplines INNER JOIN tblGroups ON True) ON "
            "(tblJob.Key_Discipline = tblDisciplines.Key AND tblJobList.Key_Group = tblGroups.Key) "
            "ORDER BY tblJobList.Key;");
        for (; !rs.isEof(); rs.moveNext())
            out << rs.value(0).toString();
        return out;
    }
    int count(const char *name) const
    {
        return db->openRecordset(QString("SELECT Count(*) FROM %1;").arg(name)).value(0).toInt();
    }

    TestFolder folder;
    QString path;
    QString book;
    std::optional<Database> db;
    SettingsRecord settings;
    ScriptedPrompts prompts;
    SheetTable table;
    ColumnMapping mapping;
};

TEST_F(LoadImport, RowsBecomeLoadLinesOrAreSkippedWithTheEntryMessage)
{
    prompts.answers = {Prompts::Answer::Yes};
    const ImportReport report =
        importTable(*db, settings, prompts, table, mapping, ImportOptions{true, false});
    ASSERT_TRUE(report.written);
    EXPECT_EQ(loadRows(), QStringList({"Иванов И.И.|Физика|ПИ-21|1|72",
                                       "Петрова А.А.|Химия|ПИ-21|1|36",
                                       "Иванов И.И.|Физика|ИС-22|2|40"}));
    ASSERT_EQ(report.rows.size(), 5u);
    EXPECT_EQ(report.rows[4].number, 6);
    EXPECT_EQ(report.rows[3].text, "Нагрузка не задана");
    EXPECT_EQ(report.rows[4].text,
              "Нагрузка по преподавателю Иванов И.И. по дисциплине Физика по группе ПИ-21 (1) "
              "уже составлена!");
    EXPECT_EQ(count("tblTutors"), 2); // Сидоров's row failed whole: nothing of it stays
    EXPECT_EQ(count("tblGroups"), 2);
    EXPECT_EQ(count("tblDisciplines"), 2);
    EXPECT_TRUE(report.text().contains("Строка 5\tпропущено\tНагрузка не задана\n"));

    // The whole import is one step of the history.
    History::of(*db)->undo();
    EXPECT_EQ(count("tblJobList") + count("tblTutors") + count("tblGroups"), 0);
}

TEST_F(LoadImport, NothingIsWrittenOnADryRunARefusalOrANo)
{
    const ImportReport dry =
        importTable(*db, settings, prompts, table, mapping, ImportOptions{true, true});
    EXPECT_EQ(dry.added, 3);
    EXPECT_FALSE(dry.written);

    prompts.answers = {Prompts::Answer::No};
    const ImportReport no =
        importTable(*db, settings, prompts, table, mapping, ImportOptions{true, false});
    EXPECT_FALSE(no.written);

    // Without adding to the lists, every row names what the lists lack.
    const ImportReport bare =
        importTable(*db, settings, prompts, table, mapping, ImportOptions{false, false});
    EXPECT_EQ(bare.added, 0);
    EXPECT_EQ(bare.rows[0].text, "Преподаватель 'Иванов И.И.' отсутствует в списке преподавателей");

    ColumnMapping noHours = mapping;
    noHours.set("hours", -1);
    const ImportReport refused =
        importTable(*db, settings, prompts, table, noHours, ImportOptions{true, false});
    EXPECT_TRUE(refused.refusal.startsWith("Не указан столбец «Часы»"));

    EXPECT_EQ(count("tblJobList") + count("tblTutors") + count("tblGroups")
                  + count("tblDisciplines") + count("tblJob"),
              0);
    EXPECT_TRUE(prompts.exhausted());
}

// The load lines of an import answer every entry row as the load's own entry row does: the
// same rows written, the same messages, also for names that differ in letter case, "ё",
// blanks, faculties and courses, and as the lists grow on the way.
TEST(LoadLines, AnswerAsTheEntryRow)
{
    TestFolder folder;
    const auto seeded = [&](const QString &name) {
        Database db = Database::open(newTestDocument(folder, name));
        for (const char *sql :
             {"INSERT INTO tblTypeFaculty (TypeFaculty) VALUES ('ФИТ');",
              "INSERT INTO tblTypeFaculty (TypeFaculty) VALUES ('ФЭМ');",
              "INSERT INTO tblTutors (Tutor) VALUES ('Иванов И.И.');",
              "INSERT INTO tblTutors (Tutor) VALUES ('Петров П.П. ');",
              "INSERT INTO tblDisciplines (Discipline) VALUES ('Физика');",
              "INSERT INTO tblDisciplines (Discipline) VALUES ('Ёмкости');",
              "INSERT INTO tblAuditories (Auditoria, Corpus) VALUES ('101', 'Главный');",
              "INSERT INTO tblAuditories (Auditoria, Corpus) VALUES ('202', 'Второй');",
              "INSERT INTO tblAuditories (Auditoria, Corpus) VALUES ('202', 'Главный');",
              "INSERT INTO tblGroups ([Group], Course) VALUES ('ПИ-21', '1');",
              "INSERT INTO tblGroups ([Group], Course, Key_TypeFaculty) SELECT 'ИС-22', '2', Key "
              "FROM tblTypeFaculty WHERE TypeFaculty = 'ФИТ';",
              "INSERT INTO tblGroups ([Group], Course, Key_TypeFaculty) SELECT 'ИС-22', '2', Key "
              "FROM tblTypeFaculty WHERE TypeFaculty = 'ФЭМ';",
              "INSERT INTO tblGroups ([Group], Course) VALUES ('ИС-22', '3');"})
            db.execute(sql);
        return db;
    };
    const Database manual = seeded("manual.kvt");
    const Database imported = seeded("imported.kvt");
    LoadLines lines(imported);

    using A = LoadAddition;
    const struct
    {
        A addition;
        LoadEntry entry;
    } rows[] = {
        {A::Discipline, {"иванов и.и.", "", "физика", "ПИ-21  (1)", "72"}},
        {A::Discipline, {"Иванов И.И.", "", "Физика", "пи-21  (1)", "10"}}, // the line stands
        {A::Group, {"Иванов И.И.", "", "Физика", "ИС-22  (2) ФЭМ", "36"}},
        {A::Group, {"Иванов И.И.", "", "Физика", "ИС-22  (2)", "36"}},
        {A::Group, {"Иванов И.И.", "", "Физика", "ИС-22", "20"}},
        {A::Group, {"Иванов И.И.", "", "Физика", "ИС-22  (4)", "20"}},
        {A::Group, {"Иванов И.И.", "", "Ёмкости", "ПИ-21  (1)", "20"}},
        {A::Discipline, {"Иванов И.И.", "", "Емкости", "ПИ-21  (1)", "20"}},
        {A::Discipline, {"Петров П.П.", "", "Физика", "ПИ-21  (1)", "20"}},
        {A::Tutor, {"петров п.п.", "", "Физика", "ПИ-21  (1)", "20"}},
        {A::Tutor, {"Сидоров С.С.", "101", "Физика", "ПИ-21  (1)", "1 200"}},
        {A::Tutor, {"СИДОРОВ С.С.", "", "Физика", "ПИ-21  (1)", "5"}},
        {A::Discipline, {"Сидоров С.С.", "", "Физика", "ПИ-21  (1)", "5"}},
        {A::Tutor, {"Орлов О.О.", "202 (второй)", "Ёмкости", "ИС-22  (3)", "8"}},
        {A::Tutor, {"Козлов К.К.", "202", "Ёмкости", "ИС-22  (3)", "8"}},
        {A::Tutor, {"Лебедев Л.Л.", "303", "Ёмкости", "ИС-22  (3)", "8"}},
        {A::Discipline, {"Орлов О.О.", "", "Физика", "ИС-22  (3)", "0"}},
        {A::Discipline, {"Орлов О.О.", "", "Физика", "ИС-22  (3)", "12а"}},
        {A::Discipline, {"Орлов О.О.", "", "Физика", "ИС-22  (3)", "100000"}},
        {A::Discipline, {"  ", "", "Физика", "ИС-22  (3)", "8"}},
        {A::Discipline, {"Орлов О.О.", "", "Физика", "", "8"}},
        {A::Discipline, {"Орлов О.О.", "", "Химия", "ИС-22  (3)", "8"}},
        {A::Discipline, {"Орлов О.О.", "", "Физика", "ИС-23", "8"}},
        {A::Discipline, {"Орлов О.О.", "", "Физика", "ИС-22  (3)", "8"}},
        {A::Group, {"Орлов О.О.", "", "Физика", "ПИ-21  (1)", "9"}},
    };
    for (const auto &row : rows) {
        ScriptedPrompts byHand, byImport;
        byHand.answers = {Prompts::Answer::Yes};
        byImport.answers = {Prompts::Answer::Yes};
        const bool added = addToLoad(manual, byHand, row.addition, row.entry);
        EXPECT_EQ(lines.add(byImport, row.addition, row.entry), added)
            << row.entry.tutor.toStdString() << " " << row.entry.group.toStdString();
        EXPECT_EQ(byImport.texts(Kind::Message), byHand.texts(Kind::Message))
            << row.entry.tutor.toStdString() << " " << row.entry.group.toStdString();
        EXPECT_EQ(byImport.texts(Kind::YesNo), byHand.texts(Kind::YesNo));
    }
    const auto rowsOf = [](const Database &db, const char *table) {
        QStringList out;
        Recordset rs = db.openRecordset(QString("SELECT * FROM %1 ORDER BY Key;").arg(table));
        for (; !rs.isEof(); rs.moveNext()) {
            QStringList fields;
            for (int i = 0; i < rs.fieldCount(); ++i)
                fields << (rs.value(i).isNull() ? "Null" : rs.value(i).toString());
            out << fields.join('|');
        }
        return out;
    };
    for (const char *table : {"tblTutors", "tblJob", "tblJobList"}) {
        const QStringList written = rowsOf(imported, table);
        EXPECT_EQ(written, rowsOf(manual, table)) << table;
        EXPECT_GE(written.size(), 2) << table;
    }
}

TEST_F(LoadImport, ReferenceListsKeepTheirEntryChecks)
{
    const QString csv = folder.file("aud.csv");
    writeFile(csv, "Корпус,Аудитория,Примечание\n,101,\nГлавный,101,повтор\nБ,\"  \",\n"
                   "Б,Спортзал,\"большой, с душем\"\n");
    const SheetTable auditoriums = readSheetFile(csv);
    prompts.answers = {Prompts::Answer::No};
    const ImportReport report =
        importTable(*db, settings, prompts, auditoriums,
                    matchColumns(ImportKind::Auditoriums, sheetHeaders(auditoriums)), {});
    EXPECT_FALSE(report.written); // two rows failed and the planner said no
    prompts.answers = {Prompts::Answer::Yes};
    const ImportReport yes =
        importTable(*db, settings, prompts, auditoriums,
                    matchColumns(ImportKind::Auditoriums, sheetHeaders(auditoriums)), {});
    ASSERT_TRUE(yes.written);
    QStringList stored;
    Recordset rs = db->openRecordset("SELECT Corpus & '|' & Auditoria & '|' & CommentAud "
                                     "FROM tblAuditories ORDER BY Key;");
    for (; !rs.isEof(); rs.moveNext())
        stored << rs.value(0).toString();
    EXPECT_EQ(stored, QStringList({"Главный|101|", "Б|Спортзал|большой, с душем"}));
    EXPECT_TRUE(yes.rows[1].text.startsWith("Аудитория 101 (корпус Главный) уже существует"));
    EXPECT_EQ(yes.rows[2].text, "Поле Аудитория не должно быть пустым");
}

// Each list's duplicate rule, against the records already listed and the rows imported before
// in the same file, whatever the letter case and the blanks.
TEST_F(LoadImport, DuplicatesOfTheListAndOfEarlierRowsAreSkipped)
{
    db->execute("INSERT INTO tblGroups ([Group], Course, Key_TypeFaculty) VALUES ('П-9', '1', 1)");
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('Иванов И.И.')");
    db->execute("INSERT INTO tblDisciplines (Discipline, Discipline1) VALUES ('Физ', 'Физика')");
    const struct
    {
        ImportKind kind;
        QByteArray csv;
        QStringList outcome; // per row: "+" added, else the start of the reason
    } cases[] = {
        {ImportKind::Groups, "Курс;Группа\n1;п-9\n1;П-10\n1; п-10 \n2;П-9\n",
         {"Группа п-9 (1) факультет отсутствует уже существует", "+",
          "Группа п-10 (1) факультет отсутствует уже существует", "+"}},
        {ImportKind::Tutors, "Преподаватель\nиванов и.и.\nПетров\nПЕТРОВ \n",
         {"Преподаватель 'иванов и.и.'", "+", "Преподаватель 'ПЕТРОВ'"}},
        {ImportKind::Disciplines, "Дисциплина;Полное наименование\nфиз;физика\nФиз;Физкультура\nХим;Химия\nхим;химия\n",
         {"Дисциплина 'физ (физика)'", "+", "+", "Дисциплина 'хим (химия)'"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(importKindCaption(c.kind).toStdString());
        writeFile(folder.file("list.csv"), c.csv);
        const SheetTable sheet = readSheetFile(folder.file("list.csv"));
        prompts.answers = {Prompts::Answer::Yes};
        const ImportReport report = importTable(*db, settings, prompts, sheet,
                                                matchColumns(c.kind, sheetHeaders(sheet)), {});
        ASSERT_EQ(report.rows.size(), size_t(c.outcome.size()));
        for (size_t i = 0; i < report.rows.size(); ++i) {
            if (c.outcome[qsizetype(i)] == "+")
                EXPECT_TRUE(report.rows[i].added) << report.rows[i].text.toStdString();
            else
                EXPECT_TRUE(report.rows[i].text.startsWith(c.outcome[qsizetype(i)]))
                    << report.rows[i].text.toStdString();
        }
    }
}

// A book saved by LibreOffice (shared strings, its own styles and relationships) reads as the
// CSV it was made from.
TEST_F(LoadImport, BookSavedByLibreOffice)
{
    const QString office = QStandardPaths::findExecutable("libreoffice");
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    writeFile(folder.file("lo.csv"), "Преподаватель;Дисциплина;Группа;Курс;Часы\n"
                                     "Иванов И.И.;Физика;ПИ-21;1;72\n"
                                     "Петрова А.А.;Химия;ИС-22;2;036\n");
    QProcess convert;
    convert.start(office, {"-env:UserInstallation=file://" + folder.file("profile"), "--headless",
                           "--infilter=CSV:59,34,76,1", "--convert-to", "xlsx", "--outdir",
                           folder.file("out"), folder.file("lo.csv")});
    ASSERT_TRUE(convert.waitForFinished(120000));
    const SheetTable saved = readSheetFile(folder.file("out/lo.xlsx"));
    ASSERT_TRUE(saved.ok()) << saved.error.toStdString();
    EXPECT_EQ(cellsOf(saved), cellsOf(readSheetFile(folder.file("lo.csv"))).replaceInStrings("036", "36"));
    const ImportReport report = importTable(*db, settings, prompts, saved,
                                            matchColumns(ImportKind::Load, sheetHeaders(saved)),
                                            ImportOptions{true, false});
    ASSERT_TRUE(report.written);
    EXPECT_EQ(loadRows(), QStringList({"Иванов И.И.|Физика|ПИ-21|1|72",
                                       "Петрова А.А.|Химия|ИС-22|2|36"}));
}

TEST_F(LoadImport, FiftyThousandRowsAreReadAndTooManyForAList)
{
    QByteArray csv = "Курс,Группа\r\n";
    for (int i = 0; i < 50000; ++i)
        csv += QByteArray::number(1 + i % 5) + ",Г-" + QByteArray::number(i) + "\r\n";
    writeFile(folder.file("big.csv"), csv);
    const SheetTable big = readSheetFile(folder.file("big.csv"));
    ASSERT_EQ(big.rows.size(), 50001u);
    EXPECT_EQ(big.rows.back().cells, QStringList({"5", "Г-49999"}));
    const ImportReport report = importTable(
        *db, settings, prompts, big, matchColumns(ImportKind::Groups, sheetHeaders(big)), {});
    EXPECT_TRUE(report.refusal.startsWith("В таблице 50000 строк.")) << report.refusal.toStdString();
    EXPECT_EQ(count("tblGroups"), 0);
}

} // namespace
} // namespace korvesta
