#include "documenthealth.h"

#include "sqliteconnection.h"

#include <sqlite3.h>

namespace korvesta {

namespace {

// The first lines SQLite finds are enough to tell damage; the rest repeat it.
constexpr int kReported = 10;

} // namespace

std::optional<QStringList> integrityProblems(Connection &connection, IntegrityScan scan)
{
    const QByteArray sql = (scan == IntegrityScan::Full ? QByteArray("PRAGMA integrity_check(")
                                                        : QByteArray("PRAGMA quick_check("))
                           + QByteArray::number(kReported) + ')';
    // The server keeps its own files whole; there is no file of ours to look into.
    auto *file = dynamic_cast<SqliteConnection *>(&connection);
    if (!file)
        return QStringList();
    sqlite3 *db = file->handle();
    sqlite3_stmt *stmt = nullptr;
    QStringList problems;
    int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW)
            break;
        const QString line = QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        if (line != u"ok")
            problems << line;
    }
    if (rc != SQLITE_DONE && rc != SQLITE_OK) {
        const int base = sqlite3_extended_errcode(db) & 0xff;
        if (base == SQLITE_BUSY || base == SQLITE_LOCKED) {
            sqlite3_finalize(stmt);
            return std::nullopt;
        }
        problems << QStringLiteral("файл не читается: %1")
                            .arg(QString::fromUtf8(sqlite3_errmsg(db)));
    }
    sqlite3_finalize(stmt);
    return problems;
}

QString damagedDocumentMessage(const QString &path, const QStringList &problems)
{
    return QStringLiteral("Документ «%1» повреждён (%2). Изменения в нём невозможны, чтобы не "
                          "испортить его сильнее: откройте его для просмотра и сохраните копию "
                          "или восстановите документ из резервной копии")
        .arg(path, problems.value(0));
}

} // namespace korvesta
