#pragma once

#include <QDialog>

class QLineEdit;

namespace korvesta {

class SettingsStore;

// "Подключение к серверу": the server, the database and the user of a document on a
// PostgreSQL server. No password is asked or kept: libpq takes it from .pgpass, PGPASSWORD
// or a service file. The last answers are offered again.
class dlgServer : public QDialog
{
    Q_OBJECT

public:
    dlgServer(SettingsStore &settings, QWidget *parent = nullptr);

    // The document's URI in libpq's syntax; the answers are remembered.
    QString uri() const;

private:
    SettingsStore &m_settings;
    QLineEdit *m_host;
    QLineEdit *m_database;
    QLineEdit *m_user;
};

// The URI of a database: on a named server, or through the local socket folder when the
// host is empty.
QString serverUri(const QString &host, const QString &database, const QString &user);

} // namespace korvesta
