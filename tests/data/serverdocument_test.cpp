// A document copied onto a PostgreSQL server of the test's own and back: the same rows, keys
// and key counters as the file it came from, byte for byte.

#include "data/database.h"
#include "data/dberror.h"
#include "data/history.h"
#include "data/pgconnection.h"
#include "data/recordset.h"
#include "data/serverdocument.h"
#include "app/dlgserver.h"
#include "sample/demodocument.h"
#include "support/pgcluster.h"
#include "support/testdocument.h"

#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace korvesta {
namespace {

// Every table of a file as text, row by row in the order of their row numbers, with the
// type SQLite keeps each value as.
QStringList fileDump(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QStringList out;
    QStringList tables;
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name",
                       -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW)
        tables << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    for (const QString &table : tables) {
        // The key counters, by table; every other table by row number.
        const QByteArray sql = "SELECT * FROM \"" + table.toUtf8() + "\" ORDER BY "
                               + (table == "sqlite_sequence" ? "name" : "rowid");
        sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW) {
            QStringList row{table};
            for (int c = 0; c < sqlite3_column_count(s); ++c)
                row << QString::number(sqlite3_column_type(s, c)) + u':'
                           + QString::fromUtf8(
                               reinterpret_cast<const char *>(sqlite3_column_text(s, c)));
            out << row.join(u'|');
        }
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return out;
}

TEST(ServerDocument, ASampleGoesToTheServerAndComesBackTheSame)
{
    TestFolder folder;
    const QString file = folder.file(QStringLiteral("пример.kvt"));
    writeDemoDocument(file, DemoRequest::midTerm(DemoSize::Small, QDate(2026, 10, 14)));
    // A key given and taken back: the server, too, never gives it again.
    sqlite3 *raw = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(raw, "INSERT INTO tblGroups (\"Group\") VALUES ('удалённая'); DELETE FROM "
                      "tblGroups WHERE \"Group\" = 'удалённая'",
                 nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    Database::forgetAll();

    const QString uri = PgCluster::instance().newDatabase();
    initServerDocument(uri, file);
    const QString back = folder.file(QStringLiteral("обратно.kvt"));
    exportServerDocument(uri, back);
    Database::forgetAll();
    const QStringList before = fileDump(file), after = fileDump(back);
    EXPECT_GT(before.size(), 1000);
    ASSERT_EQ(before.size(), after.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        ASSERT_EQ(before[i], after[i]) << "row " << i;

    // Text compares without regard to letter case on the server too, "Ё" and "ё" included.
    PgConnection server(uri);
    EXPECT_EQ(server.query("SELECT count(*) FROM \"tblGroups\" WHERE \"Group\" = $1",
                           {QStringLiteral("ис-11")})
                  .rows[0][0]
                  .toInt(),
              1);
    // A second document is not made over the first.
    try {
        initServerDocument(uri, file);
        ADD_FAILURE() << "a database with tables was written over";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains("уже есть таблицы")) << e.message().toStdString();
    }
}

TEST(ServerDocument, AnEmptyDocumentAndAServerThatIsNotThere)
{
    const QString uri = PgCluster::instance().newDatabase();
    initServerDocument(uri);
    PgConnection server(uri);
    EXPECT_EQ(server.query("SELECT \"TypeTuition\" FROM \"tblTypeTuition\" ORDER BY \"Key\"")
                  .rows.size(),
              4u);
    EXPECT_GT(server.query("SELECT count(*) FROM \"sysQueries\"").rows[0][0].toInt(), 50);
    // A new group takes the first key.
    EXPECT_EQ(server.query("INSERT INTO \"tblGroups\" (\"Group\") VALUES ('П-1') RETURNING \"Key\"")
                  .rows[0][0]
                  .toInt(),
              1);

    try {
        PgConnection nowhere(QStringLiteral("postgresql:///nodb?host=/nonexistent"));
        ADD_FAILURE() << "connected to nothing";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().startsWith("Не удалось подключиться к серверу"))
            << e.message().toStdString();
    }
}

// The window's "Подключиться к серверу..." names a database by server, database and user.
TEST(ServerDocument, TheConnectDialogsAnswersMakeAUriThatOpens)
{
    EXPECT_EQ(serverUri(QString(), QStringLiteral("расписание"), QString()),
              QStringLiteral("postgresql:///%D1%80%D0%B0%D1%81%D0%BF%D0%B8%D1%81%D0%B0%D0%BD%D0%B8%D0%B5"
                             "?host=/run/postgresql"));
    EXPECT_EQ(serverUri(QStringLiteral(" db.college.local "), QStringLiteral("tt"),
                        QStringLiteral("ivanova")),
              QStringLiteral("postgresql://db.college.local/tt?user=ivanova"));
    const QString uri = PgCluster::instance().newDatabase();
    initServerDocument(uri);
    const QUrl url(uri);
    const QString made = serverUri(QUrlQuery(url).queryItemValue(QStringLiteral("host")),
                                   url.path().mid(1), QStringLiteral("korvesta"));
    EXPECT_FALSE(Database::open(made).isReadOnly());
}

// A document made by an earlier version gets this version's functions when opened.
TEST(ServerDocument, AnOlderDocumentGetsTheFunctionsItLacks)
{
    const QString uri = PgCluster::instance().newDatabase();
    initServerDocument(uri);
    {
        PgConnection older(uri);
        older.exec("DROP FUNCTION korvesta_sortkey(text); CREATE OR REPLACE FUNCTION "
                   "korvesta_functions_version() RETURNS integer LANGUAGE sql AS $$ SELECT 1 $$");
    }
    Database::forgetAll();
    Recordset rs = Database::open(uri).openRecordset(
        QStringLiteral("SELECT TypeTuition FROM tblTypeTuition ORDER BY TypeTuition"));
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("Вечерняя"));
}

// A connection the server dropped (a restart, the network) fails in Russian, and the next
// open connects again.
TEST(ServerDocument, AConnectionTheServerDroppedIsMadeAgain)
{
    const QString uri = PgCluster::instance().newDatabase();
    initServerDocument(uri);
    const Database db = Database::open(uri);
    EXPECT_EQ(db.openRecordset(QStringLiteral("SELECT Count(*) FROM tblTypeTuition")).value(0),
              QVariant(qint64(4)));
    PgConnection other(uri);
    other.query("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name "
                "= 'korvesta' AND pid <> pg_backend_pid() AND datname = current_database()");
    try {
        db.openRecordset(QStringLiteral("SELECT Count(*) FROM tblTypeTuition"));
        ADD_FAILURE() << "read through a dropped connection";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().startsWith("Связь с сервером потеряна")) << e.message().toStdString();
    }
    EXPECT_EQ(Database::open(uri)
                  .openRecordset(QStringLiteral("SELECT Count(*) FROM tblTypeTuition"))
                  .value(0),
              QVariant(qint64(4)));
}

// Undo holds only this session's steps, and refuses one whose rows another session changed
// since, leaving that session's work as it is.
TEST(ServerDocument, UndoTakesBackOnlyWhatThisSessionDidAndWhileItStands)
{
    const QString uri = PgCluster::instance().newDatabase();
    initServerDocument(uri);
    const Database db = Database::open(uri);
    History *history = History::attach(db);
    ASSERT_NE(history, nullptr);
    db.execute(QStringLiteral("INSERT INTO tblTutors (Tutor) VALUES ('Петров П.П.')"));
    db.execute(QStringLiteral("INSERT INTO tblTutors (Tutor) VALUES ('Сидоров С.С.')"));
    PgConnection other(uri);
    other.exec("INSERT INTO \"tblTutors\" (\"Tutor\") VALUES ('Чужой Ч.Ч.'); UPDATE "
               "\"tblTutors\" SET \"Tutor\" = 'Сидорова С.С.' WHERE \"Tutor\" = 'Сидоров С.С.'");
    EXPECT_EQ(history->undoCaptions().size(), 2);
    try {
        history->undo();
        ADD_FAILURE() << "undid a row another session changed";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains("после него преподавателя Сидоров С.С. изменила другая "
                                         "программа (таблица tblTutors)"))
            << e.message().toStdString();
    }
    const auto tutors = [&] {
        QStringList names;
        for (const auto &row :
             other.query("SELECT \"Tutor\" FROM \"tblTutors\" ORDER BY \"Key\"").rows)
            names << row[0].toString();
        return names.join(u',');
    };
    EXPECT_EQ(tutors(), QStringLiteral("Петров П.П.,Сидорова С.С.,Чужой Ч.Ч."));
    EXPECT_TRUE(history->canUndo());
    History::detachAll();
}

} // namespace
} // namespace korvesta
