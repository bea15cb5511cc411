#include "planners.h"

#include "database.h"
#include "serverconnection.h"

#include <QRegularExpression>

// The activity goes into the connection's application name, which every session of the
// server can read: "korvesta 41 2026-10-12" (the program, the view code, the date). Only
// printable ASCII survives there, so the words are the reader's.

namespace korvesta {

namespace {

constexpr const char *kProgram = "korvesta";

ServerConnection *serverOf(const Database &db)
{
    return dynamic_cast<ServerConnection *>(db.connection().get());
}

} // namespace

void announceActivity(const Database &db, int viewCode, const QDate &date)
{
    ServerConnection *server = serverOf(db);
    if (!server || server->m_transactionDepth > 0)
        return;
    const QString name = QStringLiteral("%1 %2 %3")
                             .arg(QLatin1String(kProgram))
                             .arg(viewCode)
                             .arg(date.isValid() ? date.toString(Qt::ISODate) : QString());
    server->server().query("SELECT set_config('application_name', $1, false)", {name.trimmed()});
}

std::vector<PlannerAtWork> plannersAtWork(const Database &db)
{
    std::vector<PlannerAtWork> found;
    ServerConnection *server = serverOf(db);
    if (!server)
        return found;
    static const QRegularExpression activity(
        QStringLiteral("^korvesta(?: (\\d{1,3}))?(?: (\\d{4}-\\d{2}-\\d{2}))?$"));
    const PgRows rows = server->server().query(
        "SELECT usename, application_name, backend_start, pid = pg_backend_pid() FROM "
        "pg_catalog.pg_stat_activity WHERE datname = current_database() AND application_name "
        "LIKE 'korvesta%' ORDER BY backend_start, pid");
    for (const std::vector<QVariant> &row : rows.rows) {
        const QRegularExpressionMatch m = activity.match(row[1].toString());
        if (!m.hasMatch())
            continue;
        PlannerAtWork p;
        p.user = row[0].toString();
        p.since = row[2].toDateTime();
        p.viewCode = m.captured(1).toInt();
        p.date = QDate::fromString(m.captured(2), Qt::ISODate);
        p.self = row[3].toBool();
        found.push_back(p);
    }
    return found;
}

} // namespace korvesta
