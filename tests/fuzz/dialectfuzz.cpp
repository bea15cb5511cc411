#include "dialectfuzz.h"

#include "data/sqliteconnection.h"
#include "data/dberror.h"
#include "data/documenttemplate.h"
#include "data/jet/jettranslator.h"

#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace korvesta {

namespace {

// One document for the whole run: its tables and the program's saved queries are what the
// statements may name. Nothing writes to it after it is made.
Connection &document()
{
    static QTemporaryDir folder;
    static std::shared_ptr<Connection> connection = [] {
        if (!folder.isValid()) {
            std::fprintf(stderr, "no temporary folder\n");
            std::abort();
        }
        const QString path = folder.filePath(QStringLiteral("fuzz.kvt"));
        writeNewDocument(path);
        auto c = Connection::acquire(path, false);
        for (const auto &[name, sql] : documentTemplateQueries())
            c->setSavedQuery(name, sql);
        return c;
    }();
    return *connection;
}

// Prepares a piece of the translation; SQLite may refuse it (a name the document lacks, a
// limit of its own), which is no fault of the dialect.
void prepare(sqlite3 *db, const QByteArray &sql)
{
    if (sql.isEmpty())
        return;
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr);
    sqlite3_finalize(statement);
}

} // namespace

bool runDialectInput(const uint8_t *data, size_t size)
{
    SqliteConnection &c = sqliteOf(document());
    const QString sql = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const jet::Translation t = jet::translate(sql, c);
        prepare(c.handle(), t.sql);
        prepare(c.handle(), t.pivotValuesSql);
        for (const auto &m : t.materialized)
            prepare(c.handle(), m.createSql);
        if (t.kind == jet::Translation::Kind::Crosstab) {
            QByteArray value = t.valueSql;
            value.replace(jet::kPivotFilter, "1");
            prepare(c.handle(), t.crosstabHead + ", " + value + t.crosstabTail);
        }
        return true;
    } catch (const DbError &) {
        // Refused with a message for the user: the expected outcome for most inputs.
        return false;
    }
}

} // namespace korvesta
