#include "serverchanges.h"

#include "database.h"
#include "dberror.h"
#include "serverconnection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QTimer>

namespace korvesta {

namespace {

constexpr int kIdleReadMs = 500;
constexpr qsizetype kLongestPayload = 16 * 1024;

} // namespace

std::optional<ServerChange> serverChangeFrom(const QByteArray &payload)
{
    if (payload.size() > kLongestPayload)
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(payload).object();
    if (o.isEmpty())
        return std::nullopt;
    ServerChange change;
    change.user = o.value(QLatin1String("user")).toString().left(128);
    for (const QJsonValue &v : o.value(QLatin1String("dates")).toArray()) {
        const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
        if (d.isValid())
            change.dates.push_back(d);
    }
    change.date = change.dates.empty() ? QDate() : change.dates.front();
    change.lesson = o.value(QLatin1String("lesson")).toInt();
    const double at = o.value(QLatin1String("at")).toDouble();
    if (at > 0)
        change.committedAt = QDateTime::fromMSecsSinceEpoch(qint64(at * 1000.0), Qt::UTC);
    return change;
}

ServerChangeWatch::ServerChangeWatch(QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(kIdleReadMs);
    connect(m_timer, &QTimer::timeout, this, &ServerChangeWatch::readNow);
}

ServerChangeWatch::~ServerChangeWatch() = default;

void ServerChangeWatch::watch(const Database &db)
{
    const auto server = std::dynamic_pointer_cast<ServerConnection>(db.connection());
    if (server && server == m_connection.lock())
        return;
    m_notifier.reset();
    m_timer->stop();
    m_connection = server;
    if (!server)
        return;
    m_notifier =
        std::make_unique<QSocketNotifier>(server->server().socket(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &ServerChangeWatch::readNow);
    m_timer->start();
}

void ServerChangeWatch::stop()
{
    m_notifier.reset();
    m_timer->stop();
    m_connection.reset();
}

void ServerChangeWatch::readNow()
{
    const std::shared_ptr<ServerConnection> server = m_connection.lock();
    if (!server) {
        m_notifier.reset();
        m_timer->stop();
        return;
    }
    // While a transaction of the program's is open, its own statements read the socket.
    if (server->m_transactionDepth > 0)
        return;
    const int own = server->server().serverProcess();
    for (const PgConnection::Notification &n : server->server().notifications()) {
        if (n.process == own || n.channel != "korvesta_changes")
            continue;
        if (const std::optional<ServerChange> change = serverChangeFrom(n.payload))
            emit changed(*change);
    }
}

} // namespace korvesta
