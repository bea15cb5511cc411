#pragma once

#include <QString>

namespace korvesta {

// A PostgreSQL cluster of the test program's own: made by initdb in a temporary folder (as an
// unprivileged user when the tests run as root, which the server refuses to be), reached only
// through a Unix socket in that folder, without fsync. Started at the first use and stopped
// when the program ends. A test that needs it fails when it cannot start; none is skipped.
class PgCluster
{
public:
    // Throws std::runtime_error with the server's own words when it cannot start.
    static PgCluster &instance();

    // A new empty database of the cluster, by its URI.
    QString newDatabase();
    QString uri(const QString &database) const;

    ~PgCluster();
    PgCluster(const PgCluster &) = delete;
    PgCluster &operator=(const PgCluster &) = delete;

private:
    PgCluster();
    void run(const QStringList &command) const;

    QString m_folder;
    QString m_bin;
    QString m_user; // the system user the server runs as; empty for the current one
    int m_databases = 0;
};

} // namespace korvesta
