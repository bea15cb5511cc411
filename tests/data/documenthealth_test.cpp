// A document after a crash, a damaged file, a link that leads nowhere, and a document
// replaced while a write is under way: each read as it was, reported or refused in words.

#include "support/testdocument.h"

#include "check/timetablecheck.h"
#include "data/connection.h"
#include "data/database.h"
#include "data/dberror.h"
#include "data/recordset.h"
#include "settings/settingsrecord.h"

#include <QFile>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class DocumentHealth : public ::testing::Test
{
protected:
    void TearDown() override { Database::forgetAll(); }

    // A document holding groups with long comments, written straight through SQLite.
    QString documentWithGroups(const QString &name, int groups)
    {
        const QString path = newTestDocument(folder, name);
        sqlite3 *db = nullptr;
        EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (int i = 0; i < groups; ++i) {
            const QByteArray sql = "INSERT INTO tblGroups ([Group], Course, Comment) VALUES ('Г-"
                                   + QByteArray::number(i) + "', '1', '" + QString(300, u'к').toUtf8()
                                   + "')";
            sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return path;
    }
    int groupsWithComment(const Database &db, const QString &comment)
    {
        Recordset rs = db.openRecordset("SELECT Count(*) FROM tblGroups WHERE Comment = '"
                                        + comment + "';");
        return rs.value(0).toInt();
    }

    TestFolder folder;
};

TEST_F(DocumentHealth, AReadAfterACrashSeesTheDocumentAsBeforeIt)
{
    const QString path = documentWithGroups("live.kvt", 3000);
    const QString crashed = folder.file("crashed.kvt");
    // A write under way, its changed pages already in the file: the file and its journal as
    // a crash would leave them.
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA cache_size = 10; BEGIN; UPDATE tblGroups SET Comment = 'новое';",
                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(QFile::exists(path + "-journal"));
    ASSERT_TRUE(QFile::copy(path, crashed));
    ASSERT_TRUE(QFile::copy(path + "-journal", crashed + "-journal"));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    const Database read = Database::open(crashed, Database::Mode::ReadOnly);
    EXPECT_EQ(groupsWithComment(read, QString(300, u'к')), 3000);
    EXPECT_EQ(groupsWithComment(read, "новое"), 0);
    EXPECT_FALSE(QFile::exists(crashed + "-journal"));
    const TimetableCheck check = checkTimetable(read, SettingsRecord());
    EXPECT_EQ(check.errors, 0);
}

TEST_F(DocumentHealth, ADamagedFileIsReportedAndNotWritten)
{
    const QString path = documentWithGroups("cut.kvt", 3000);
    QFile file(path);
    ASSERT_TRUE(file.resize(file.size() - 825));

    const Database read = Database::open(path, Database::Mode::ReadOnly);
    const TimetableCheck check = checkTimetable(read, SettingsRecord());
    ASSERT_GE(check.errors, 1);
    EXPECT_EQ(check.problems.front().kind, ProblemKind::FileDamage);
    EXPECT_EQ(check.problems.front().objects, "cut.kvt");
    Database::forgetAll();

    const Database write = Database::open(path);
    try {
        write.execute("UPDATE tblGroups SET Comment = 'x' WHERE [Group] = 'Г-1';");
        FAIL() << "a damaged document was written";
    } catch (const DbError &error) {
        EXPECT_EQ(error.code(), dberr::ReadOnly);
        EXPECT_TRUE(error.message().startsWith("Документ «" + path + "» повреждён ("))
            << error.message().toStdString();
    }
}

TEST_F(DocumentHealth, ALinkInACircleIsToldAsSuch)
{
    const QString a = folder.file("a.kvt"), b = folder.file("b.kvt");
    ASSERT_TRUE(QFile::link(b, a));
    ASSERT_TRUE(QFile::link(a, b));
    try {
        Database::open(a);
        FAIL() << "a link loop was opened";
    } catch (const DbError &error) {
        EXPECT_TRUE(error.message().contains("по кругу ведёт сама на себя"))
            << error.message().toStdString();
    }
}

TEST_F(DocumentHealth, AWriteIntoADocumentReplacedMeanwhileIsTakenBack)
{
    const QString path = newTestDocument(folder, "doc.kvt");
    const QString other = newTestDocument(folder, "other.kvt");
    const Database db = Database::open(path);
    {
        Database::Transaction transaction(db);
        db.execute("INSERT INTO tblGroups ([Group], Course) VALUES ('Г-1', '1');");
        // Another program puts a new document in its place ("new --force").
        ASSERT_EQ(std::rename(other.toUtf8().constData(), path.toUtf8().constData()), 0);
        try {
            transaction.commit();
            FAIL() << "the write was committed into the replaced file";
        } catch (const DbError &error) {
            EXPECT_TRUE(error.message().contains("удалён или заменён другим, пока в него шла "
                                                 "запись"))
                << error.message().toStdString();
        }
    }
    Database::forgetAll();
    const Database now = Database::open(path);
    EXPECT_EQ(now.openRecordset("SELECT Count(*) FROM tblGroups;").value(0).toInt(), 0);
}

} // namespace
} // namespace korvesta
