#pragma once

#include <QDate>
#include <QDateTime>
#include <QMetaType>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace korvesta {

class Database;
class ServerConnection;

// A change of the timetable another planner committed to a server document.
struct ServerChange
{
    QString user;             // the planner's login on the server
    std::vector<QDate> dates; // empty: too many to name, the whole timetable
    QDate date;               // the first date and lesson changed, as the status bar says
    int lesson = 0;
    QDateTime committedAt; // when the server wrote it (just before its commit), in UTC
};

// Reads as a ServerChange what the server announced for a change (the text its trigger
// sends); nothing for a text that is not one.
std::optional<ServerChange> serverChangeFrom(const QByteArray &payload);

// Waits, in the event loop, for the changes other planners commit to the document open on a
// server, and reports each one (the program's own changes are not reported). Does nothing for
// a document in a file.
class ServerChangeWatch : public QObject
{
    Q_OBJECT

public:
    explicit ServerChangeWatch(QObject *parent = nullptr);
    ~ServerChangeWatch() override;

    // Watches the connection of this document from now on (another document's is left).
    void watch(const Database &db);
    void stop();
    // Reads what has arrived: the socket's signal does it, and so does a timer, for what the
    // connection read while it ran the program's own statements.
    void readNow();

signals:
    void changed(const korvesta::ServerChange &change);

private:
    std::weak_ptr<ServerConnection> m_connection;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer *m_timer = nullptr;
};

} // namespace korvesta

Q_DECLARE_METATYPE(korvesta::ServerChange)
