// The same document in a file and on the server gives the same views, byte for byte, and
// the same commands leave both in the same state (compared after the server's copy is
// written back into a file).

#include "cli/subcommands.h"
#include "cli/viewcommand.h"
#include "data/database.h"
#include "data/serverdocument.h"
#include "sample/demodocument.h"
#include "support/pgcluster.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace korvesta {
namespace {

struct Outcome
{
    int code = 0;
    QString out, err;
};

Outcome command(const QStringList &args)
{
    Outcome r;
    QTextStream out(&r.out), err(&r.err);
    const Subcommand *c = findSubcommand(args.front());
    r.code = runGuarded([&] { return c->run(args.mid(1), out, err); }, err);
    out.flush();
    err.flush();
    return r;
}

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
    // The same command on both; its output and exit code must agree.
    void both(const QStringList &args)
    {
        QStringList onFile = args, onServer = args;
        onFile.insert(1, file);
        onServer.insert(1, uri);
        const Outcome a = command(onFile), b = command(onServer);
        EXPECT_EQ(a.code, b.code) << args.join(u' ').toStdString() << "\n"
                                  << b.err.toStdString();
        EXPECT_EQ(a.out, b.out) << args.join(u' ').toStdString();
    }

    static inline TestFolder *folder = nullptr;
    static inline QString file, uri;
};

TEST_F(ServerParity, EveryViewShowsTheSame)
{
    for (const QString &code : viewCodeWords()) {
        SCOPED_TRACE(code.toStdString());
        both({QStringLiteral("view"), code, QStringLiteral("--date"),
              QStringLiteral("13.10.2026")});
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

TEST_F(ServerParity, CommandsLeaveBothAlike)
{
    const QString group = command({QStringLiteral("names"), file, QStringLiteral("--kind"),
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

// Text in the document's order: letter case aside, "ё" a letter after "е", which the server's
// own collation ranks otherwise; and Like with the dialect's wildcards, any letter case.
TEST_F(ServerParity, TextSortsAndMatchesAsInTheFile)
{
    for (const char *tutor : {"Ковалёва В.В.", "Коваленко Е.И.", "ковалев А.А.", "КОВАЛЬ Б.Б."})
        both({QStringLiteral("sql"),
              QStringLiteral("INSERT INTO tblTutors (Tutor) VALUES ('%1')").arg(QString::fromUtf8(tutor))});
    const QStringList query = {QStringLiteral("sql"),
                               QStringLiteral("SELECT Tutor FROM tblTutors WHERE Tutor Like "
                                              "'коВал*' ORDER BY Tutor")};
    both(query);
    QStringList onServer = query;
    onServer.insert(1, uri);
    EXPECT_EQ(command(onServer).out, QStringLiteral("Tutor\nковалев А.А.\nКоваленко Е.И.\nКовалёва "
                                                    "В.В.\nКОВАЛЬ Б.Б.\n"));
}

} // namespace
} // namespace korvesta
