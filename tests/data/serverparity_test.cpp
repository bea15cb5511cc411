// The same document in a file and on the server gives the same views, byte for byte, and
// the same commands leave both in the same state (compared after the server's copy is
// written back into a file).

#include "cli/subcommands.h"
#include "cli/viewcommand.h"
#include "data/database.h"
#include "data/dberror.h"
#include "data/history.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "data/serverdocument.h"
#include "sample/demodocument.h"
#include "support/pgcluster.h"
#include "support/subcommandrun.h"
#include "support/testdocument.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace korvesta {
namespace {

QStringList rowsOf(const QString &path, const char *table)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QStringList out;
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, (QByteArray("SELECT * FROM ") + table + " ORDER BY rowid").constData(),
                       -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(s); ++c)
            row << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, c)));
        out << row.join(u'|');
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return out;
}

class ServerParity : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        folder = new TestFolder;
        file = folder->file(QStringLiteral("пример.kvt"));
        writeDemoDocument(file, DemoRequest::midTerm(DemoSize::Small, QDate(2026, 10, 14)));
        uri = PgCluster::instance().newDatabase();
        initServerDocument(uri, file);
    }
    static void TearDownTestSuite()
    {
        Database::forgetAll();
        delete folder;
    }
    // The same command on both; its output and exit code must agree. Returns the code.
    int both(const QStringList &args)
    {
        QStringList onFile = args, onServer = args;
        onFile.insert(1, file);
        onServer.insert(1, uri);
        const SubcommandOutcome a = runSubcommand(onFile), b = runSubcommand(onServer);
        EXPECT_EQ(a.code, b.code) << args.join(u' ').toStdString() << "\n" << b.err.toStdString();
        EXPECT_EQ(a.out, b.out) << args.join(u' ').toStdString();
        return a.code;
    }

    static inline TestFolder *folder = nullptr;
    static inline QString file, uri;
};

TEST_F(ServerParity, EveryViewShowsTheSame)
{
    for (const QString &code : viewCodeWords()) {
        SCOPED_TRACE(code.toStdString());
        both(
            {QStringLiteral("view"), code, QStringLiteral("--date"), QStringLiteral("13.10.2026")});
    }
    both({QStringLiteral("view"), QStringLiteral("33"), QStringLiteral("--from"),
          QStringLiteral("01.09.2026"), QStringLiteral("--to"), QStringLiteral("30.09.2026")});
    both({QStringLiteral("check"), QStringLiteral("--format"), QStringLiteral("tsv")});
    both({QStringLiteral("free"), QStringLiteral("--date"), QStringLiteral("13.10.2026"),
          QStringLiteral("--lesson"), QStringLiteral("2"), QStringLiteral("--kind"),
          QStringLiteral("tutors")});
    both({QStringLiteral("sql"), QStringLiteral("SELECT Count(*) AS N, Max(Date) AS Last FROM "
                                                "tblTimeTableList WHERE ReadOnly = False")});
}

// Every saved query reads the same rows on both (a query that changes the document, in a
// trial run: the same rows counted), with a value of its type for each parameter.
TEST_F(ServerParity, EverySavedQueryGivesTheSame)
{
    const Database db = Database::open(file);
    QStringList names;
    for (Recordset rs = db.openRecordset(QStringLiteral("SELECT Name FROM sysQueries")); !rs.isEof();
         rs.moveNext())
        names << rs.value(0).toString();
    ASSERT_GT(names.size(), 50);
    const auto first = [](const char *kind) {
        return runSubcommand({QStringLiteral("names"), file, QStringLiteral("--kind"),
                              QString::fromLatin1(kind)})
            .out.section(u'\n', 0, 0);
    };
    const QString group = first("groups"), tutor = first("tutors");
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const QueryDef def = db.queryDef(name);
        QStringList args = {QStringLiteral("sql"), name, QStringLiteral("--format"),
                            QStringLiteral("tsv")};
        for (const QString &p : def.parameterNames()) {
            QString value;
            switch (def.parameterType(p)) {
            case JetType::Date:
                value = QStringLiteral("13.10.2026");
                break;
            case JetType::Text:
                value = p.contains(QStringLiteral("Tutor"), Qt::CaseInsensitive)  ? tutor
                        : p.contains(QStringLiteral("Group"), Qt::CaseInsensitive) ? group
                                                                                  : QStringLiteral("1");
                break;
            case JetType::Boolean:
                value = QStringLiteral("True");
                break;
            default:
                value = QStringLiteral("2");
            }
            args << QStringLiteral("--param") << p + u'=' + value;
        }
        if (!def.returnsRows())
            args << QStringLiteral("--dry-run");
        both(args);
    }
}

// The dialect's functions give the same text on both: dates with Russian month names,
// conversions that give Null where the text is no number, rounding half to even.
TEST_F(ServerParity, FunctionsGiveTheSame)
{
    both(
        {QStringLiteral("sql"),
         QStringLiteral("SELECT Format(Date, 'd mmmm yyyy') AS A, Format(Date, 'mmmm yyyy') AS B, "
                        "Format(Date, 'dddd, dd.mm.yy') AS C, Year(Date) & '/' & Month(Date) AS D, "
                        "CInt('abc') AS E, CInt(2.5) AS F, Val('1 234 руб') AS G, "
                        "Format(1234.5, '#,##0.00') AS H, CStr(Key) & '-' & Len(Date) AS I, "
                        "Round(2.5) AS J, Round(0.125, 2) AS K, InStr(1, 'Абвгд', 'ВГ') AS L, "
                        "Replace('Ёлка', 'ё', 'е') AS M, CDate('14.03.2026') AS N, "
                        "DateSerial(2026, 2, 30) AS O, CLng(Key * 1.5) AS P, Nz(Null, 'x') AS Q, "
                        "Sgn(-3) AS R, Sqr(16) AS S, String(3, 'ab') AS T, Space(2) & '|' AS U, "
                        "CBool('да') AS V, Str(-5) AS W, Format(Date, 'Long Date') AS X, "
                        "Format(0.256, '0.0%') AS Y, Weekday(Date) AS Z, Key / 3 & '' AS AA, "
                        "DateDiff('ww', Date, #01.01.2027#) AS AB, Left(Date, 5) AS AC, "
                        "Format(Key * 100.5, 'Standard') AS AD, CDbl('x') AS AE, "
                        "IIf(InStr(Date & '', '.09.') > 0, 'сентябрь', 'нет') AS AF "
                        "FROM tblTimeTableList WHERE Key <= 40 ORDER BY Key")});
}

TEST_F(ServerParity, CommandsLeaveBothAlike)
{
    const QString group = runSubcommand({QStringLiteral("names"), file, QStringLiteral("--kind"),
                                         QStringLiteral("groups")})
                              .out.section(u'\n', 0, 0);
    both({QStringLiteral("copy"), QStringLiteral("--day"), QStringLiteral("13.10.2026"),
          QStringLiteral("--onto"), QStringLiteral("20.10.2026"), QStringLiteral("--yes")});
    both({QStringLiteral("clear"), QStringLiteral("--date"), QStringLiteral("20.10.2026"),
          QStringLiteral("--lesson"), QStringLiteral("1"), QStringLiteral("--group"), group,
          QStringLiteral("--yes")});
    both({QStringLiteral("lock"), QStringLiteral("--date"), QStringLiteral("20.10.2026")});
    both({QStringLiteral("note"), QStringLiteral("--date"), QStringLiteral("21.10.2026"),
          QStringLiteral("--text"), QStringLiteral("Собрание")});
    both({QStringLiteral("generate"), QStringLiteral("--from"), QStringLiteral("26.10.2026"),
          QStringLiteral("--to"), QStringLiteral("30.10.2026"), QStringLiteral("--group"), group,
          // The search ends by itself long before this, so that both engines get one plan.
          QStringLiteral("--time-limit"), QStringLiteral("120")});
    both({QStringLiteral("view"), QStringLiteral("41"), QStringLiteral("--date"),
          QStringLiteral("20.10.2026")});

    const QString back = folder->file(QStringLiteral("обратно.kvt"));
    exportServerDocument(uri, back);
    for (const char *table : {"tblTimeTableList", "tblTimeTableContent", "tblNotes",
                              "tblCompiledLessons", "tblJobList"})
        EXPECT_EQ(rowsOf(file, table), rowsOf(back, table)) << table;
}

// Load editing, a placement and an import change both alike; publishing and a spreadsheet
// export write the same files from either.
TEST_F(ServerParity, LoadPlacementImportPublishAndExportAlike)
{
    const auto first = [](const char *kind) {
        return runSubcommand({QStringLiteral("names"), file, QStringLiteral("--kind"),
                              QString::fromLatin1(kind)})
            .out.section(u'\n', 0, 0);
    };
    const QString group = first("groups"), discipline = first("disciplines"),
                  auditorium = first("auditoriums");
    const QString tutor = QStringLiteral("Новиков Н.Н.");
    EXPECT_EQ(0,
              both({QStringLiteral("load"), QStringLiteral("add"), QStringLiteral("--tutor"), tutor,
                    QStringLiteral("--discipline"), discipline, QStringLiteral("--group"), group,
                    QStringLiteral("--hours"), QStringLiteral("36"), QStringLiteral("--yes")}));
    both({QStringLiteral("load"), QStringLiteral("hours"), QStringLiteral("--tutor"), tutor,
          QStringLiteral("--discipline"), discipline, QStringLiteral("--group"), group,
          QStringLiteral("--hours"), QStringLiteral("40")});
    EXPECT_EQ(0,
              both({QStringLiteral("place"), QStringLiteral("--date"), QStringLiteral("29.10.2026"),
                    QStringLiteral("--lesson"), QStringLiteral("6"), QStringLiteral("--group"),
                    group, QStringLiteral("--discipline"), discipline, QStringLiteral("--aud"),
                    auditorium, QStringLiteral("--yes")}));
    const QString csv = folder->file(QStringLiteral("преподаватели.csv"));
    {
        QFile out(csv);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("Преподаватель\nИмпортов И.И.\nновиков н.н.\n\nЗаписной З.З.\n");
    }
    const QStringList import = {QStringLiteral("import"), csv,
                                QStringLiteral("--kind"), QStringLiteral("tutors"),
                                QStringLiteral("--map"),  QStringLiteral("tutor=A"),
                                QStringLiteral("--yes")};
    EXPECT_EQ(1, both(import)); // one row is a tutor there already

    const QString back = folder->file(QStringLiteral("после нагрузки.kvt"));
    exportServerDocument(uri, back);
    for (const char *table : {"tblTutors", "tblJob", "tblJobList", "tblTimeTableContent"})
        EXPECT_EQ(rowsOf(file, table), rowsOf(back, table)) << table;

    // Both engines publish the same pages and calendars, and export the same sheet.
    const QStringList period = {QStringLiteral("--from"), QStringLiteral("26.10.2026"),
                                QStringLiteral("--to"), QStringLiteral("31.10.2026")};
    const QString pagesA = folder->file(QStringLiteral("сайт-файл"));
    const QString pagesB = folder->file(QStringLiteral("сайт-сервер"));
    EXPECT_EQ(runSubcommand(QStringList{QStringLiteral("publish"), file, pagesA} + period).code, 0);
    EXPECT_EQ(runSubcommand(QStringList{QStringLiteral("publish"), uri, pagesB} + period).code, 0);
    const QStringList pages = QDir(pagesA).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(pages, QDir(pagesB).entryList(QDir::Files, QDir::Name));
    for (const QString &page : pages) {
        QFile a(QDir(pagesA).filePath(page)), b(QDir(pagesB).filePath(page));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll()) << page.toStdString();
    }
    const auto sheet = [&](const QString &doc, const QString &name) {
        const QString out = folder->file(name);
        EXPECT_EQ(runSubcommand({QStringLiteral("export"), doc, QStringLiteral("42"), out,
                                 QStringLiteral("--date"), QStringLiteral("29.10.2026")})
                      .code,
                  0);
        QFile f(out);
        return f.open(QIODevice::ReadOnly) ? f.size() : -1;
    };
    EXPECT_EQ(sheet(file, QStringLiteral("неделя-файл.xlsx")),
              sheet(uri, QStringLiteral("неделя-сервер.xlsx")));
}

// Undo and redo go the same way on both, a date protected since included; a trial run counts
// the same rows.
TEST_F(ServerParity, UndoAndRedoAlike)
{
    const auto run = [](const QString &doc) {
        const Database db = Database::open(doc);
        History *history = History::attach(db);
        EXPECT_NE(history, nullptr);
        QStringList seen;
        const auto tell = [&](const std::function<void()> &step) {
            try {
                step();
            } catch (const DbError &e) {
                seen << e.message();
            }
        };
        runSubcommand({QStringLiteral("copy"), doc, QStringLiteral("--day"),
                       QStringLiteral("14.10.2026"), QStringLiteral("--onto"),
                       QStringLiteral("22.10.2026"), QStringLiteral("--yes")});
        runSubcommand({QStringLiteral("note"), doc, QStringLiteral("--date"),
                       QStringLiteral("23.10.2026"), QStringLiteral("--text"),
                       QStringLiteral("Экзамен")});
        seen << history->undoCaptions().join(u'|');
        tell([&] { history->undo(); });
        tell([&] { history->undo(); });
        seen << history->redoCaptions().join(u'|');
        tell([&] { history->redo(); });
        runSubcommand(
            {QStringLiteral("lock"), doc, QStringLiteral("--date"), QStringLiteral("22.10.2026")});
        tell([&] { history->undo(); });
        seen << history->undoCaptions().join(u'|') << history->redoCaptions().join(u'|');
        History::detachAll();
        return seen;
    };
    const QStringList onFile = run(file);
    EXPECT_EQ(onFile, run(uri));
    EXPECT_TRUE(onFile.filter(QStringLiteral("22.10.2026 заблокирована")).size() == 1)
        << onFile.join(u'\n').toStdString();

    const QString back = folder->file(QStringLiteral("после отмены.kvt"));
    exportServerDocument(uri, back);
    for (const char *table : {"tblTimeTableList", "tblTimeTableContent", "tblNotes"})
        EXPECT_EQ(rowsOf(file, table), rowsOf(back, table)) << table;
    // Last: the server's keys, once taken, are not given back when a trial run rolls back.
    both({QStringLiteral("copy"), QStringLiteral("--day"), QStringLiteral("14.10.2026"),
          QStringLiteral("--onto"), QStringLiteral("27.10.2026"), QStringLiteral("--yes"),
          QStringLiteral("--dry-run")});
}

// Text in the document's order: letter case aside, "ё" a letter after "е", which the server's
// own collation ranks otherwise; and Like with the dialect's wildcards, any letter case.
TEST_F(ServerParity, TextSortsAndMatchesAsInTheFile)
{
    for (const char *tutor : {"Ковалёва В.В.", "Коваленко Е.И.", "ковалев А.А.", "КОВАЛЬ Б.Б."})
        both({QStringLiteral("sql"), QStringLiteral("INSERT INTO tblTutors (Tutor) VALUES ('%1')")
                                         .arg(QString::fromUtf8(tutor))});
    const QStringList query = {QStringLiteral("sql"),
                               QStringLiteral("SELECT Tutor FROM tblTutors WHERE Tutor Like "
                                              "'коВал*' ORDER BY Tutor")};
    both(query);
    QStringList onServer = query;
    onServer.insert(1, uri);
    EXPECT_EQ(runSubcommand(onServer).out,
              QStringLiteral("Tutor\nковалев А.А.\nКоваленко Е.И.\nКовалёва "
                             "В.В.\nКОВАЛЬ Б.Б.\n"));

    // Rows the program sorts as it reads them (terms outside the select list, Null, going
    // down, a union) and rows the server still sorts (TOP, DISTINCT) come in the same order.
    for (const char *sql :
         {"SELECT Tutor FROM tblTutors WHERE Tutor Like 'ков*' OR Key < 6 ORDER BY DefaultAud "
          "DESC, Len(Tutor), Tutor DESC",
          "SELECT Tutor, DefaultAud FROM tblTutors ORDER BY DefaultAud, Key",
          "SELECT Tutor AS N FROM tblTutors WHERE Tutor Like 'ков*' UNION SELECT Group FROM "
          "tblGroups ORDER BY N DESC",
          "SELECT TOP 3 Tutor, DefaultAud FROM tblTutors ORDER BY DefaultAud, Tutor",
          "SELECT DISTINCT Course FROM tblGroups ORDER BY Course DESC"})
        both({QStringLiteral("sql"), QString::fromUtf8(sql)});
}

} // namespace
} // namespace korvesta
