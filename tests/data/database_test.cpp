// Opening documents and the errors the shared handler acts on; saved queries; compaction.

#include "database.h"
#include "dberror.h"
#include "documentschema.h"
#include "querydef.h"
#include "recordset.h"
#include "support/testdocument.h"

#include <QFile>
#include <QFileInfo>

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

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void rawSql(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

TEST(Database, UnusableFilesAreReportedAndLeftAsTheyWere)
{
    TestFolder folder;
    const QString good = newTestDocument(folder);

    const QString text = folder.file("notes.kvt");
    writeFile(text, "Это не документ\n");
    const QString empty = folder.file("empty.kvt");
    writeFile(empty, QByteArray());
    const QString truncated = folder.file("truncated.kvt");
    writeFile(truncated, contents(good).left(1500));
    const QString otherDb = folder.file("other.kvt");
    rawSql(otherDb, "CREATE TABLE t (a)");
    const QString missingTable = folder.file("missing.kvt");
    QFile::copy(good, missingTable);
    rawSql(missingTable, "DROP TABLE tblNotes");

    const struct
    {
        QString path;
        int code;
    } cases[] = {
        {folder.file("absent.kvt"), dberr::FileNotFound},
        {folder.path(), dberr::FileNotFound},
        {QString(), dberr::FileNotFound},
        {text, dberr::ForeignFormat},
        {empty, dberr::ForeignFormat},
        {truncated, dberr::ForeignFormat},
        {otherDb, dberr::ForeignFormat},
        {missingTable, dberr::ForeignFormat},
    };
    for (const auto &c : cases) {
        const QByteArray before = contents(c.path);
        EXPECT_EQ(errorOf([&] { Database::open(c.path).openRecordset("tblGroups"); }), c.code)
            << c.path.toStdString();
        EXPECT_EQ(contents(c.path), before) << c.path.toStdString();
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
    rawSql(path, "INSERT INTO tblTutors (Tutor) VALUES ('яковлев'), ('ёжиков'), ('жуков'), "
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

TEST(Database, NewDocumentHasEveryTableAndOnlyTheTypeListsFirstRows)
{
    TestFolder folder;
    Database db = Database::open(newTestDocument(folder));
    for (const QString &table : documentTables()) {
        if (table == u"sysQueries")
            continue;
        const int rows = db.openRecordset(table).recordCount();
        const bool typeList = table == u"tblTypeFaculty" || table == u"tblTypeTuition"
                              || table == u"tblTypeFinance" || table == u"tblDiscType"
                              || table == u"tblTutorTypeOut" || table == u"tblTypeLesson";
        EXPECT_EQ(rows > 0, typeList) << table.toStdString();
    }
    const struct
    {
        const char *table, *field, *first;
    } firsts[] = {
        {"tblTypeFaculty", "TypeFaculty", "отсутствует"},
        {"tblTypeTuition", "TypeTuition", "Очная"},
        {"tblTypeFinance", "TypeFinance", "Бюджетная"},
        {"tblTutorTypeOut", "TypeOut", "Отгул"},
    };
    for (const auto &f : firsts) {
        Recordset rs = db.openRecordset(QString::fromUtf8(f.table));
        EXPECT_EQ(rs.value("Key").toInt(), 1);
        EXPECT_EQ(rs.value(QString::fromUtf8(f.field)).toString(), QString::fromUtf8(f.first));
    }
}

} // namespace
} // namespace korvesta
