#include "documentschema.h"

#include "documenthealth.h"
#include "documenttemplate.h"

#include "serverconnection.h"
#include "sqliteconnection.h"
#include "dberror.h"

#include <QHash>
#include <QRegularExpression>

#include <sqlite3.h>

#include <map>
#include <memory>

namespace korvesta {

const QStringList &documentTables()
{
    static const QStringList tables = {
        QStringLiteral("tblGroups"),         QStringLiteral("tblDisciplines"),
        QStringLiteral("tblAuditories"),     QStringLiteral("tblTutors"),
        QStringLiteral("tblTypeFaculty"),    QStringLiteral("tblTypeTuition"),
        QStringLiteral("tblTypeFinance"),    QStringLiteral("tblDiscType"),
        QStringLiteral("tblTypeLesson"),     QStringLiteral("tblTutorTypeOut"),
        QStringLiteral("tblTimeLesson"),     QStringLiteral("tblJob"),
        QStringLiteral("tblJobList"),        QStringLiteral("tblTimeTableList"),
        QStringLiteral("tblTimeTableContent"), QStringLiteral("tblNotes"),
        QStringLiteral("tblAutoTable"),      QStringLiteral("tblTutorOut"),
        QString::fromLatin1(kSavedQueriesTable),
    };
    return tables;
}

namespace {

// What is known about the document behind one connection. Connections are pooled and live
// long, so this is learned once per connection, not once per operation.
struct DocumentFacts
{
    std::weak_ptr<Connection> owner;
    int version = 0;
    bool prepared = false; // the open that may write has been through
    QStringList damagedQueries;
    QStringList damage; // what SQLite's check of the file found, when it failed
};

std::map<const Connection *, DocumentFacts> &knownDocuments()
{
    static std::map<const Connection *, DocumentFacts> known;
    return known;
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, column)),
                             sqlite3_column_bytes(stmt, column));
}

DocumentFacts learnServer(ServerConnection &c)
{
    DocumentFacts facts;
    facts.version =
        int(c.server().query("SELECT max(\"Version\") FROM \"sysDocument\"").rows[0][0].toLongLong());
    facts.prepared = true; // a server document is brought up to date by the server's owner
    return facts;
}

DocumentFacts learn(SqliteConnection &c)
{
    DocumentFacts facts;
    {
        SqliteConnection::Statement s(c, "PRAGMA user_version");
        facts.version = s.step() ? sqlite3_column_int(s.get(), 0) : 0;
    }
    // SQLite keeps a NUL inside a text; the program's text ends at it, so the query would
    // silently lose its tail.
    SqliteConnection::Statement s(c, QByteArray("SELECT \"Name\" FROM ") + kSavedQueriesTable
                                   + " WHERE instr(CAST(\"SQL\" AS BLOB), x'00') > 0");
    while (s.step())
        facts.damagedQueries << columnText(s.get(), 0);
    return facts;
}

// The facts of a connection, learned on first sight; those of connections that are gone are
// dropped on the way.
DocumentFacts &factsOf(const std::shared_ptr<Connection> &c)
{
    auto &known = knownDocuments();
    auto it = known.find(c.get());
    if (it != known.end() && it->second.owner.lock() == c)
        return it->second;
    for (auto k = known.begin(); k != known.end();)
        k = k->second.owner.expired() ? known.erase(k) : std::next(k);
    auto *server = dynamic_cast<ServerConnection *>(c.get());
    DocumentFacts facts = server ? learnServer(*server) : learn(sqliteOf(*c));
    facts.owner = c; // a weak reference tells when the connection has gone
    return known[c.get()] = std::move(facts);
}

// Indexes whose order depends on the NOCASE collation: (index, table).
QList<std::pair<QString, QString>> caseFoldedIndexes(SqliteConnection &c)
{
    QList<std::pair<QString, QString>> found;
    SqliteConnection::Statement s(c, "SELECT DISTINCT m.name, m.tbl_name "
                               "FROM sqlite_master AS m, pragma_index_xinfo(m.name) AS x "
                               "WHERE m.type = 'index' AND x.key = 1 "
                               "AND upper(x.coll) = 'NOCASE'");
    while (s.step())
        found.append({columnText(s.get(), 0), columnText(s.get(), 1)});
    return found;
}

QByteArray quoted(const QString &name)
{
    return '"' + name.toUtf8().replace('"', "\"\"") + '"';
}

// The saved queries stay unique by name as written; names are still compared without
// regard to case by the column's collation.
void rebuildSavedQueries(SqliteConnection &c)
{
    c.exec("CREATE TABLE \"sysQueries_v3\" (\"Name\" TEXT NOT NULL COLLATE NOCASE, "
           "\"SQL\" TEXT NOT NULL, PRIMARY KEY (\"Name\" COLLATE BINARY))");
    c.exec("INSERT OR IGNORE INTO \"sysQueries_v3\" (\"Name\", \"SQL\") "
           "SELECT \"Name\", ifnull(\"SQL\", '') FROM sysQueries WHERE \"Name\" IS NOT NULL");
    c.exec("DROP TABLE sysQueries");
    c.exec("ALTER TABLE \"sysQueries_v3\" RENAME TO sysQueries");
}

// The saved queries that weigh lessons against the load count those of the study period
// since version 4; a document of an earlier version gets this version's text of them, and
// the load's index of lessons carries the date row the count looks at.
const char *const kStudyPeriodQueries[] = {"qrySelJobTutor", "qrySelJobGroup", "qryPassportGroup",
                                           "qryCheckCopyOverJob", "qryKorvesta"};

void countLoadInStudyPeriod(SqliteConnection &c)
{
    c.exec("DROP INDEX IF EXISTS idxContentJob");
    c.exec("CREATE INDEX idxContentJob ON tblTimeTableContent (\"Key_Job\", \"Key_Group\", "
           "\"Key_TTList\")");
    QHash<QString, QString> texts;
    for (const auto &[name, sql] : documentTemplateQueries())
        texts.insert(name, sql);
    SqliteConnection::Statement update(c, QByteArray("UPDATE ") + kSavedQueriesTable
                                        + " SET \"SQL\" = ?1 WHERE \"Name\" = ?2");
    for (const char *name : kStudyPeriodQueries) {
        const QByteArray sql = texts.value(QString::fromLatin1(name)).toUtf8();
        if (sql.isEmpty())
            continue;
        sqlite3_bind_text(update.get(), 1, sql.constData(), int(sql.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(update.get(), 2, name, -1, SQLITE_STATIC);
        update.step();
        sqlite3_reset(update.get());
    }
}

void keepCompiledLessons(SqliteConnection &c)
{
    c.exec("CREATE TABLE IF NOT EXISTS tblCompiledLessons (\"Key\" INTEGER PRIMARY KEY, "
           "\"Key_TTList\" INTEGER, \"Lesson\" SMALLINT, \"Key_Job\" INTEGER, "
           "\"Key_Group\" INTEGER, \"Key_Aud\" INTEGER)");
}

// Since version 6 the indexes of lessons by date and by load line carry what the views and
// the counts of lessons read, so that those reads never visit the lessons' rows themselves.
void coverLessonReads(SqliteConnection &c)
{
    c.exec("DROP INDEX IF EXISTS idxContentDay");
    c.exec("CREATE INDEX idxContentDay ON tblTimeTableContent (\"Key_TTList\", \"Lesson\", "
           "\"Key_Group\", \"Key_Job\", \"Key_Aud\")");
    c.exec("DROP INDEX IF EXISTS idxContentJob");
    c.exec("CREATE INDEX idxContentJob ON tblTimeTableContent (\"Key_Job\", \"Key_Group\", "
           "\"Key_TTList\", \"Lesson\")");
}

void upgradeLayout(SqliteConnection &c, int fromVersion)
{
    c.exec("BEGIN IMMEDIATE");
    try {
        if (fromVersion < 4)
            countLoadInStudyPeriod(c);
        if (fromVersion < 5)
            keepCompiledLessons(c);
        if (fromVersion < 6)
            coverLessonReads(c);
        for (const auto &[index, table] : caseFoldedIndexes(c)) {
            if (!index.startsWith(QLatin1String("sqlite_autoindex_")))
                c.exec("DROP INDEX " + quoted(index));
            else if (table.compare(QLatin1String(kSavedQueriesTable), Qt::CaseInsensitive) == 0)
                rebuildSavedQueries(c);
        }
        c.exec("PRAGMA user_version = " + QByteArray::number(kDocumentSchemaVersion));
        c.exec("COMMIT");
    } catch (const DbError &) {
        sqlite3_exec(c.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

QString newerVersionMessage(const Connection &c)
{
    return QStringLiteral("Документ «%1» создан более новой версией программы. Его можно "
                          "просматривать, но изменения в нём невозможны: обновите программу")
        .arg(c.path());
}

} // namespace

void inspectDocument(const std::shared_ptr<Connection> &c, bool mayWrite)
{
    DocumentFacts &facts = factsOf(c);
    if (!mayWrite || facts.prepared || c->isReadOnly())
        return;
    facts.prepared = true;
    SqliteConnection &connection = sqliteOf(*c);
    if (facts.version > kDocumentSchemaVersion) {
        // Its layout is unknown to us: nothing may be written into it.
        connection.exec("PRAGMA query_only = 1");
        return;
    }
    // A write into a damaged file spreads the damage: such a document is only read.
    if (const std::optional<QStringList> damage = integrityProblems(connection);
        damage && !damage->isEmpty()) {
        facts.damage = *damage;
        connection.exec("PRAGMA query_only = 1");
        return;
    }
    if (facts.version < kDocumentSchemaVersion || !caseFoldedIndexes(connection).isEmpty()) {
        try {
            upgradeLayout(connection, facts.version);
            facts.version = kDocumentSchemaVersion;
        } catch (const DbError &) {
            // Held by another program: the document works as it is, and is brought up to
            // date the next time the program opens it.
        }
    }
}

bool isFromNewerVersion(const std::shared_ptr<Connection> &connection)
{
    return factsOf(connection).version > kDocumentSchemaVersion;
}

void ensureWritable(const std::shared_ptr<Connection> &connection)
{
    if (isFromNewerVersion(connection))
        throw DbError(dberr::ReadOnly, newerVersionMessage(*connection));
    if (const QStringList &damage = factsOf(connection).damage; !damage.isEmpty())
        throw DbError(dberr::ReadOnly, damagedDocumentMessage(connection->path(), damage));
}

void ensureIntactQueries(const std::shared_ptr<Connection> &connection, const QString &sqlOrName)
{
    const QStringList &damaged = factsOf(connection).damagedQueries;
    for (const QString &name : damaged) {
        // The name as a word of the text (or the text itself).
        const QRegularExpression word(QStringLiteral("(^|\\W)%1($|\\W)")
                                          .arg(QRegularExpression::escape(name)),
                                      QRegularExpression::CaseInsensitiveOption
                                          | QRegularExpression::UseUnicodePropertiesOption);
        if (word.match(sqlOrName).hasMatch())
            throw DbError(dberr::SyntaxError,
                          QStringLiteral("Текст сохранённого запроса «%1» повреждён: в нём есть "
                                         "нулевой символ. Запишите текст запроса заново")
                              .arg(name));
    }
}

void ensureStorableQueryText(const QString &name, const QString &sql)
{
    if (sql.contains(QChar(0)) || name.contains(QChar(0)))
        throw DbError(dberr::SyntaxError,
                      QStringLiteral("Запрос «%1» не сохранён: в его тексте есть нулевой символ")
                          .arg(QString(name).remove(QChar(0))));
}

} // namespace korvesta
