#include "pgcluster.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include <stdexcept>

namespace korvesta {

namespace {

// The server's programs: Debian keeps them out of PATH, by version.
QString serverBin()
{
    for (const char *version : {"15", "16", "17"}) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(QLatin1String(version));
        if (QFile::exists(bin + QStringLiteral("/initdb")))
            return bin;
    }
    const QString initdb = QStandardPaths::findExecutable(QStringLiteral("initdb"));
    if (initdb.isEmpty())
        throw std::runtime_error("PostgreSQL is not installed: no initdb (scripts/install-deps.sh "
                                 "installs postgresql-15)");
    return QFileInfo(initdb).absolutePath();
}

// Clusters whose test process died without stopping them (killed, or its output pipe closed)
// are stopped and removed before a new one starts: they would hold memory and sockets.
void sweepOrphans(const QString &bin)
{
    const QDir tmp(QStringLiteral("/tmp"));
    for (const QString &name :
         tmp.entryList({QStringLiteral("korvesta-pg-*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = tmp.filePath(name);
        QFile owner(folder + QStringLiteral("/owner"));
        if (!owner.open(QIODevice::ReadOnly))
            continue;
        const pid_t pid = pid_t(owner.readAll().trimmed().toLongLong());
        if (pid <= 0 || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        QProcess stop;
        const QStringList args = {bin + QStringLiteral("/pg_ctl"), QStringLiteral("-D"),
                                  folder + QStringLiteral("/data"), QStringLiteral("-m"),
                                  QStringLiteral("immediate"), QStringLiteral("-w"),
                                  QStringLiteral("stop")};
        if (::geteuid() == 0)
            stop.start(QStringLiteral("runuser"),
                       QStringList{QStringLiteral("-u"), QStringLiteral("nobody"),
                                   QStringLiteral("--")}
                           + args);
        else
            stop.start(args.front(), args.mid(1));
        stop.waitForFinished(30000);
        QDir(folder).removeRecursively();
    }
}

} // namespace

PgCluster &PgCluster::instance()
{
    static PgCluster cluster;
    return cluster;
}

PgCluster::PgCluster()
    : m_bin(serverBin())
{
    sweepOrphans(m_bin);
    char pattern[] = "/tmp/korvesta-pg-XXXXXX";
    if (!::mkdtemp(pattern))
        throw std::runtime_error("cannot make a folder for the test cluster");
    m_folder = QString::fromLocal8Bit(pattern);
    {
        QFile owner(m_folder + QStringLiteral("/owner"));
        if (owner.open(QIODevice::WriteOnly))
            owner.write(QByteArray::number(qint64(::getpid())));
    }
    if (::geteuid() == 0) {
        const passwd *nobody = ::getpwnam("nobody");
        if (!nobody || ::chown(pattern, nobody->pw_uid, nobody->pw_gid) != 0)
            throw std::runtime_error("cannot give the test cluster's folder to user nobody");
        m_user = QStringLiteral("nobody");
    }
    const QString data = m_folder + QStringLiteral("/data");
    run({m_bin + QStringLiteral("/initdb"), QStringLiteral("-D"), data, QStringLiteral("-U"),
         QStringLiteral("korvesta"), QStringLiteral("--auth=trust"), QStringLiteral("-E"),
         QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")});
    run({m_bin + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), data, QStringLiteral("-l"),
         m_folder + QStringLiteral("/server.log"), QStringLiteral("-w"), QStringLiteral("-o"),
         QStringLiteral("-k %1 -c listen_addresses= -c fsync=off -c synchronous_commit=off "
                        "-c full_page_writes=off -c max_connections=40 -c shared_buffers=32MB")
             .arg(m_folder),
         QStringLiteral("start")});
}

PgCluster::~PgCluster()
{
    try {
        run({m_bin + QStringLiteral("/pg_ctl"), QStringLiteral("-D"),
             m_folder + QStringLiteral("/data"), QStringLiteral("-m"), QStringLiteral("immediate"),
             QStringLiteral("-w"), QStringLiteral("stop")});
    } catch (const std::exception &) {
        // Gone already: the folder is removed all the same.
    }
    QDir(m_folder).removeRecursively();
}

void PgCluster::run(const QStringList &command) const
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (m_user.isEmpty())
        p.start(command.first(), command.mid(1));
    else
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), m_user,
                                                      QStringLiteral("--")} + command);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        QString log;
        QFile file(m_folder + QStringLiteral("/server.log"));
        if (file.open(QIODevice::ReadOnly))
            log = QString::fromUtf8(file.readAll());
        throw std::runtime_error(QStringLiteral("%1 failed: %2\n%3")
                                     .arg(command.join(u' '),
                                          QString::fromLocal8Bit(p.readAll()), log)
                                     .toStdString());
    }
}

QString PgCluster::uri(const QString &database) const
{
    return QStringLiteral("postgresql:///%1?host=%2&user=korvesta").arg(database, m_folder);
}

QString PgCluster::newDatabase()
{
    const QString name = QStringLiteral("doc%1_%2").arg(::getpid()).arg(++m_databases);
    run({m_bin + QStringLiteral("/createdb"), QStringLiteral("-h"), m_folder, QStringLiteral("-U"),
         QStringLiteral("korvesta"), name});
    return uri(name);
}

} // namespace korvesta
