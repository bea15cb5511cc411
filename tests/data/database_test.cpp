// Opening documents and the errors the shared handler acts on; saved queries; compaction.

#include "database.h"
#include "dberror.h"
#include "documentschema.h"
#include "documenttemplate.h"
#include "querydef.h"
#include "recordset.h"
#include "support/testdocument.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <sqlite3.h>

#include <functional>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

int errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DbError &e) {
        return e.code();
    }
    return 0;
}

// A single value read without the program's engine.
QString rawValue(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    QString value;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

// Indexes whose order depends on NOCASE, which other SQLite programs define differently.
const char *const kCaseFoldedIndexes =
    "SELECT count(*) FROM sqlite_master AS m, pragma_index_xinfo(m.name) AS x "
    "WHERE m.type = 'index' AND x.key = 1 AND upper(x.coll) = 'NOCASE'";

// The stock sqlite3 shell, as another SQLite program that writes our documents.
QString shell(const QString &path, const QString &sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {path, sql});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

TEST(Database, UnusableFilesAreReportedAndLeftAsTheyWere)
{
    TestFolder folder;
    const QString good = newTestDocument(folder);

    const QString text = folder.file("notes.kvt");
    writeTestFile(text, "Это не документ\n");
    const QString empty = folder.file("empty.kvt");
    writeTestFile(empty, QByteArray());
    const QString truncated = folder.file("truncated.kvt");
    writeTestFile(truncated, readTestFile(good).left(1500));
    const QString otherDb = folder.file("other.kvt");
    sqliteExec(otherDb, "CREATE TABLE t (a)");
    const QString missingTable = folder.file("missing.kvt");
    QFile::copy(good, missingTable);
    sqliteExec(missingTable, "DROP TABLE tblNotes");

    const struct
    {
        QString path;
        int code;
    } cases[] = {
        {folder.file("absent.kvt"), dberr::FileNotFound},
        {folder.path(), dberr::ForeignFormat},
        {QString(), dberr::FileNotFound},
        {text, dberr::ForeignFormat},
        {empty, dberr::ForeignFormat},
        {truncated, dberr::ForeignFormat},
        {otherDb, dberr::ForeignFormat},
        {missingTable, dberr::ForeignFormat},
    };
    for (const auto &c : cases) {
        const QByteArray before = readTestFile(c.path);
        EXPECT_EQ(errorOf([&] { Database::open(c.path).openRecordset("tblGroups"); }), c.code)
            << c.path.toStdString();
        EXPECT_EQ(readTestFile(c.path), before) << c.path.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(folder.file("absent.kvt"))) << "opening created a file";
    EXPECT_EQ(errorOf([&] { Database::open(good).openRecordset("tblGroups"); }), 0);
}

TEST(Database, AReplacedOrDeletedFileIsNeverReadThroughAnOldConnection)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    Database::open(path).execute("INSERT INTO tblTutors (Tutor) VALUES ('Старый')");
    EXPECT_EQ(Database::open(path).openRecordset("tblTutors").recordCount(), 1);

    newTestDocument(folder); // a new empty document under the same name
    EXPECT_EQ(Database::open(path).openRecordset("tblTutors").recordCount(), 0);

    QFile::remove(path);
    EXPECT_EQ(errorOf([&] { Database::open(path); }), dberr::FileNotFound);
}

TEST(Database, NamesOfDocumentsInAnEarlierOrderAreSortedAgainOnOpen)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    // Written without the program's collation: the index keeps "ё" after "я", as documents
    // of version 1 did.
    sqliteExec(path, "INSERT INTO tblTutors (Tutor) VALUES ('яковлев'), ('ёжиков'), ('жуков'), "
                     "('елкин'); REINDEX NOCASE; PRAGMA user_version = 1;");
    Recordset rs = Database::open(path).openRecordset(
        "SELECT tblTutors.Tutor FROM tblTutors ORDER BY tblTutors.Tutor;");
    QStringList names;
    for (; !rs.isEof(); rs.moveNext())
        names << rs.value(0).toString();
    EXPECT_EQ(names.join(','), QStringLiteral("елкин,ёжиков,жуков,яковлев"));
    EXPECT_EQ(Database::open(path).openRecordset("SELECT 1 AS One FROM tblTutors "
                                                 "WHERE tblTutors.Tutor = 'ЖУКОВ';")
                  .recordCount(),
              1);
}

TEST(Database, MissingQueriesFieldsAndParametersAreTooFewParameters)
{
    TestFolder folder;
    Database db = Database::open(newTestDocument(folder));
    db.createQueryDef("qryProbe", "SELECT tblGroups.Key FROM tblGroups WHERE tblGroups.Key = pKey;");
    const struct
    {
        const char *what;
        std::function<void()> action;
        int code;
    } cases[] = {
        {"missing saved query", [&] { db.queryDef("qryNone"); }, dberr::TooFewParameters},
        {"unset parameter", [&] { db.queryDef("qryProbe").openRecordset(); },
         dberr::TooFewParameters},
        {"unknown parameter", [&] { db.queryDef("qryProbe").setParameter("pOther", 1); },
         dberr::TooFewParameters},
        {"missing field", [&] { db.openRecordset("SELECT tblGroups.Nothing FROM tblGroups"); },
         dberr::TooFewParameters},
        {"missing table", [&] { db.openRecordset("SELECT * FROM tblNothing"); },
         dberr::TableNotFound},
        {"bad syntax", [&] { db.openRecordset("SELECT FROM tblGroups"); }, dberr::SyntaxError},
        {"unknown field of a record", [&] { db.openRecordset("tblGroups").value("Nothing"); },
         dberr::ItemNotFound},
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorOf(c.action), c.code) << c.what;
}

TEST(Database, SyntaxErrorsSayWhere)
{
    TestFolder folder;
    Database db = Database::open(newTestDocument(folder));
    const char *const statements[] = {
        "SELECT tblGroups.Key FROM tblGroups WHERE (((tblGroups.Group)='П-9');",
        "SELECT tblGroups.Key FROM tblGroups WHERE tblGroups.Group = 'П-9",
        "SELECT [tblGroups.Key FROM tblGroups",
        "SELECT tblGroups.Key FROM tblGroups WHERE tblGroups.Key = #13/45/2007#",
        "SELECT tblGroups.Key FROM tblGroups ORDER tblGroups.Key",
        "SELEKT 1",
        "SELECT Frobnicate(tblGroups.Key) FROM tblGroups",
    };
    for (const char *sql : statements) {
        try {
            db.openRecordset(QString::fromUtf8(sql));
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const DbError &e) {
            EXPECT_EQ(e.code(), dberr::SyntaxError) << sql;
            EXPECT_TRUE(e.message().contains(QStringLiteral("позиция"))) << sql;
        }
    }
}

TEST(Database, SavedQueriesAreStoredInTheDocumentAndUsedAsSources)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    {
        Database db = Database::open(path);
        db.execute("INSERT INTO tblTutors (Tutor) VALUES ('Антонов')");
        db.execute("INSERT INTO tblTutors (Tutor) VALUES ('Борисов')");
        db.createQueryDef("qryInner", "SELECT tblTutors.Tutor FROM tblTutors WHERE tblTutors.Key = 1;");
        db.createQueryDef("qryOuter", "SELECT qryInner.Tutor AS Name FROM qryInner;");
        EXPECT_EQ(db.queryDef("qryOuter").openRecordset().value("Name").toString(),
                  QStringLiteral("Антонов"));
        // Rewriting the inner query changes what the outer one reads at once.
        db.queryDef("qryInner").setSql("SELECT tblTutors.Tutor FROM tblTutors WHERE tblTutors.Key = 2;");
        EXPECT_EQ(db.queryDef("QRYOUTER").openRecordset().value("Name").toString(),
                  QStringLiteral("Борисов"));
    }
    Database::forgetAll();
    Database db = Database::open(path);
    EXPECT_EQ(db.queryDef("qryInner").sql(),
              QStringLiteral("SELECT tblTutors.Tutor FROM tblTutors WHERE tblTutors.Key = 2;"));
    EXPECT_EQ(db.openRecordset("qryOuter").value("Name").toString(), QStringLiteral("Борисов"));
    const QStringList names = db.queryDefNames();
    EXPECT_TRUE(names.contains("qryInner") && names.contains("qryOuter"));
}

TEST(Database, CompactionWritesACopyAndRefusesAnExistingFile)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    Database db = Database::open(path);
    db.execute("INSERT INTO tblGroups ([Group], Course) VALUES ('П-9', '1')");
    const QString copy = folder.file("copy.kvt");
    db.compactTo(copy);
    EXPECT_EQ(Database::open(copy).openRecordset("tblGroups").recordCount(), 1);
    EXPECT_EQ(errorOf([&] { db.compactTo(copy); }), dberr::Failed);
}

TEST(Database, ReadOnlyDocumentsReadButRefuseChanges)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    Database::open(path).execute("INSERT INTO tblTutors (Tutor) VALUES ('Антонов')");
    Database::forgetAll();
    Database db = Database::open(path, Database::Mode::ReadOnly);
    EXPECT_EQ(db.openRecordset("tblTutors").recordCount(), 1);
    EXPECT_EQ(errorOf([&] { db.execute("DELETE * FROM tblTutors"); }), dberr::ReadOnly);
    Recordset rs = db.openRecordset("tblTutors");
    EXPECT_EQ(errorOf([&] {
                  rs.edit();
                  rs.setValue("Tutor", "Б");
                  rs.update();
              }),
              dberr::ReadOnly);
    Database::forgetAll();
    EXPECT_EQ(Database::open(path).openRecordset("tblTutors").value("Tutor").toString(),
              QStringLiteral("Антонов"));
}

TEST(Database, TransactionRollsBackUnlessCommitted)
{
    TestFolder folder;
    Database db = Database::open(newTestDocument(folder));
    {
        Database::Transaction t(db);
        db.execute("INSERT INTO tblTutors (Tutor) VALUES ('А')");
    }
    EXPECT_EQ(db.openRecordset("tblTutors").recordCount(), 0);
    {
        Database::Transaction t(db);
        db.execute("INSERT INTO tblTutors (Tutor) VALUES ('А')");
        t.commit();
    }
    EXPECT_EQ(db.openRecordset("tblTutors").recordCount(), 1);
}

TEST(Database, NewDocumentHasTheTablesOfAnInstitutionAndOnlyTheTypeListsFirstRows)
{
    TestFolder folder;
    Database db = Database::open(newTestDocument(folder));
    const struct
    {
        const char *table, *fields;
        QStringList rows; // the fields after Key, for the type lists
    } tables[] = {
        {"tblGroups", "Key Group Course GroupColor Key_TypeFaculty Key_TypeTuition "
                      "Key_TypeFinance Comment", {}},
        {"tblDisciplines", "Key Discipline Discipline1 DiscType DiscColor LevelDiff", {}},
        {"tblAuditories", "Key Auditoria Corpus CommentAud", {}},
        {"tblTutors", "Key Tutor DefaultAud", {}},
        {"tblTypeFaculty", "Key TypeFaculty Visible", {"1 отсутствует True"}},
        {"tblTypeTuition", "Key TypeTuition",
         {"1 Очная", "2 Заочная", "3 Вечерняя", "4 Дистанционная"}},
        {"tblTypeFinance", "Key TypeFinance", {"1 Бюджетная", "2 Внебюджетная"}},
        {"tblDiscType", "Key Type Priory Visible", {"1 отсутствует 0 True"}},
        {"tblTypeLesson", "Key ShortTypeLesson LongTypeLesson",
         {"1 Лек Лекция", "2 Пр Практическое занятие", "3 Лаб Лабораторная работа",
          "4 Сем Семинар"}},
        {"tblTutorTypeOut", "Key TypeOut",
         {"1 Отгул", "2 По болезни", "3 Коммандировка", "4 Отпуск"}},
        {"tblTimeLesson", "Lesson TimeLesson", {}},
        {"tblJob", "Key Key_Tutor Key_Discipline", {}},
        {"tblJobList", "Key Key_Job Key_Group Hours DateExam", {}},
        {"tblTimeTableList", "Key Date ReadOnly", {}},
        {"tblTimeTableContent", "Key Key_TTList Lesson Key_Job Key_Group SubGroup Key_Aud "
                                "Key_TypeLesson", {}},
        {"tblNotes", "Key_TTL Note", {}},
        {"tblAutoTable", "Key DateType DateStart DateEnd", {}},
        {"tblTutorOut", "KeyTutor FreeDay FreeLesson FreeLocalDate KeyTypeOut", {}},
    };
    for (const auto &t : tables) {
        Recordset rs = db.openRecordset(QString::fromUtf8(t.table));
        EXPECT_EQ(rs.fieldNames().join(u' '), QString::fromUtf8(t.fields)) << t.table;
        QStringList rows;
        for (; !rs.isEof(); rs.moveNext()) {
            QStringList cells;
            for (int i = 0; i < rs.fieldCount(); ++i) {
                const QVariant v = rs.value(i);
                cells << (v.typeId() == QMetaType::Bool ? (v.toBool() ? "True" : "False")
                                                        : v.toString());
            }
            rows << cells.join(u' ');
        }
        EXPECT_EQ(rows, t.rows) << t.table;
    }
}

TEST(Database, AnotherSqliteProgramAndThisOneKeepTheDocumentConsistent)
{
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        GTEST_SKIP() << "no sqlite3 shell";
    TestFolder folder;
    const QString path = newTestDocument(folder);
    // The shell orders text by its own NOCASE, which folds Latin letters only.
    shell(path, QStringLiteral(
                    "INSERT INTO tblDisciplines (Discipline) VALUES ('Математика'), "
                    "('информатика'), ('ФИЗИКА'), ('Ёмкость'), ('яхтинг'), ('Алгебра');"
                    "INSERT INTO tblGroups ([Group], Course) VALUES ('ПИ-21', '1'), ('пи-22', '1'),"
                    " ('Эк-31', '3');"
                    "INSERT INTO tblTutors (Tutor) VALUES ('Иванов И.И.'), ('яковлева а.б.');"
                    "INSERT INTO tblAuditories (Auditoria, Corpus) VALUES ('Актовый зал', 'Главный');"
                    "INSERT INTO sysQueries (Name, SQL) VALUES ('ЖурналГрупп', "
                    "'SELECT tblGroups.Group FROM tblGroups');"));
    Database db = Database::open(path);
    const struct
    {
        const char *sql;
        int rows;
    } lookups[] = {
        {"SELECT * FROM tblDisciplines WHERE Discipline = 'МАТЕМАТИКА'", 1},
        {"SELECT * FROM tblDisciplines WHERE Discipline = 'Информатика'", 1},
        {"SELECT * FROM tblDisciplines WHERE Discipline = 'физика'", 1},
        {"SELECT * FROM tblDisciplines WHERE Discipline = 'ёмкость'", 1},
        {"SELECT * FROM tblDisciplines WHERE Discipline = 'ЯХТИНГ'", 1},
        {"SELECT * FROM tblGroups WHERE [Group] = 'пи-21' AND Course = '1'", 1},
        {"SELECT * FROM tblGroups WHERE [Group] = 'ЭК-31'", 1},
        {"SELECT * FROM tblTutors WHERE Tutor = 'ЯКОВЛЕВА А.Б.'", 1},
        {"SELECT * FROM tblAuditories WHERE Auditoria = 'актовый ЗАЛ' AND Corpus = 'главный'", 1},
        {"SELECT * FROM журналгрупп", 3},
    };
    for (const auto &l : lookups)
        EXPECT_EQ(db.openRecordset(QString::fromUtf8(l.sql)).recordCount(), l.rows) << l.sql;

    // This program writes names in both cases beside the shell's.
    for (const char *name : {"биология", "БОТАНИКА", "Ёлочные игрушки", "история", "Химия",
                             "ЭКОНОМИКА", "ЮРИСПРУДЕНЦИЯ", "астрономия", "Zoology"}) {
        const QString n = QString::fromUtf8(name);
        db.execute(QStringLiteral("INSERT INTO tblDisciplines (Discipline) VALUES ('%1')").arg(n));
        db.execute(QStringLiteral("INSERT INTO tblGroups ([Group], Course) VALUES ('%1', '2')").arg(n));
        db.execute(QStringLiteral("INSERT INTO tblTutors (Tutor) VALUES ('%1')").arg(n));
        db.execute(QStringLiteral("INSERT INTO tblAuditories (Auditoria) VALUES ('%1')").arg(n));
        db.createQueryDef(QStringLiteral("Запрос") + n, QStringLiteral("SELECT 1 AS X"));
    }
    db.createQueryDef(QStringLiteral("журналгрупп"), QStringLiteral("SELECT 2 AS X"));
    EXPECT_EQ(db.openRecordset(QStringLiteral("ЖурналГрупп")).value(0).toInt(), 2);
    Database::forgetAll();

    EXPECT_EQ(shell(path, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    EXPECT_EQ(shell(path, QStringLiteral("SELECT count(*) FROM sysQueries WHERE Name = 'ЖурналГрупп'")),
              QStringLiteral("1"));
    EXPECT_EQ(rawValue(path, kCaseFoldedIndexes), QStringLiteral("0"));
}

TEST(Database, AnEarlierLayoutIsUpdatedOnlyByAnOpenThatMayWrite)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    // The layout before: names and the saved queries' key ordered by NOCASE.
    sqliteExec(path, "CREATE INDEX idxDisciplinesDiscipline ON tblDisciplines (Discipline);"
                     "CREATE INDEX idxGroupsGroup ON tblGroups ([Group], Course);"
                     "CREATE TABLE old (Name TEXT PRIMARY KEY COLLATE NOCASE, SQL TEXT NOT NULL);"
                     "INSERT INTO old SELECT Name, SQL FROM sysQueries; DROP TABLE sysQueries;"
                     "ALTER TABLE old RENAME TO sysQueries;"
                     "INSERT INTO tblDisciplines (Discipline) VALUES ('Математика');"
                     "PRAGMA user_version = 2;");
    const QByteArray before = readTestFile(path);
    const int queries = int(documentTemplateQueries().size());

    Database::open(path, Database::Mode::ReadOnly).openRecordset("tblDisciplines");
    Database::forgetAll();
    EXPECT_EQ(readTestFile(path), before) << "a read wrote to the document";

    Database db = Database::open(path);
    EXPECT_EQ(rawValue(path, "PRAGMA user_version"), QString::number(kDocumentSchemaVersion));
    EXPECT_EQ(rawValue(path, kCaseFoldedIndexes), QStringLiteral("0"));
    EXPECT_EQ(db.openRecordset("SELECT * FROM tblDisciplines WHERE Discipline = 'математика'")
                  .recordCount(),
              1);
    // The saved queries came along and are still one per name.
    EXPECT_EQ(db.queryDefNames().size(), queries);
    db.createQueryDef("QRYGROUPS", "SELECT 1 AS X");
    EXPECT_EQ(rawValue(path, "SELECT count(*) FROM sysQueries"), QString::number(queries));
}

TEST(Database, ADocumentOfALaterVersionIsReadButNeverWritten)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    sqliteExec(path, "INSERT INTO tblTutors (Tutor) VALUES ('Антонов'); PRAGMA user_version = 99;");
    const QByteArray before = readTestFile(path);

    Database db = Database::open(path);
    EXPECT_TRUE(db.isFromNewerVersion());
    EXPECT_TRUE(db.isReadOnly());
    EXPECT_EQ(db.openRecordset("tblTutors").recordCount(), 1);
    const std::function<void()> writes[] = {
        [&] { db.execute("INSERT INTO tblTutors (Tutor) VALUES ('Б')"); },
        [&] { db.createQueryDef("qryNew", "SELECT 1 AS X"); },
        [&] { db.queryDef("qryGroups").setSql("SELECT 1 AS X"); },
        [&] { Database::Transaction t(db); },
        [&] {
            Recordset rs = db.openRecordset("tblTutors");
            rs.edit();
            rs.setValue("Tutor", "Б");
            rs.update();
        },
    };
    for (const auto &write : writes)
        EXPECT_EQ(errorOf(write), dberr::ReadOnly);
    try {
        db.execute("DELETE * FROM tblTutors");
        ADD_FAILURE() << "deleted";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("более новой версией программы")));
    }
    Database::forgetAll();
    EXPECT_EQ(readTestFile(path), before);
}

TEST(Database, ASavedQueryCutShortByANulCharacterIsRefused)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    sqliteExec(path, "INSERT INTO sysQueries (Name, SQL) VALUES ('qryProbe', "
                     "'SELECT tblTutors.Key FROM tblTutors' || char(0) || "
                     "' WHERE tblTutors.Key = 0'),"
                     "('qryOuter', 'SELECT * FROM qryProbe');");
    Database db = Database::open(path);
    const std::function<void()> reads[] = {
        [&] { db.queryDef("qryProbe"); },
        [&] { db.queryDef("QRYOUTER"); },
        [&] { db.openRecordset("qryProbe"); },
        [&] { db.openRecordset("SELECT * FROM [qryProbe] WHERE Key > 0"); },
    };
    for (const auto &read : reads) {
        try {
            read();
            ADD_FAILURE() << "read a damaged query";
        } catch (const DbError &e) {
            EXPECT_EQ(e.code(), dberr::SyntaxError);
            EXPECT_TRUE(e.message().contains(QStringLiteral("qryProbe"))) << e.message().toStdString();
        }
    }
    EXPECT_EQ(db.openRecordset("SELECT * FROM qryGroups").fieldCount() > 0, true);
    EXPECT_EQ(errorOf([&] {
                  db.createQueryDef("qryCut", QStringLiteral("SELECT 1 AS X") + QChar(0)
                                                  + QStringLiteral(", 2 AS Y"));
              }),
              dberr::SyntaxError);
    EXPECT_FALSE(db.hasQueryDef("qryCut"));
}

} // namespace
} // namespace korvesta
