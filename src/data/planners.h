#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

namespace korvesta {

class Database;

// A planner connected to the same server document: the login, since when, and the view and
// date the program last showed.
struct PlannerAtWork
{
    QString user;
    QDateTime since;
    int viewCode = 0; // 0: not told
    QDate date;
    bool self = false; // this program's own connection
};

// Tells the other planners what this program shows now (the server keeps it with the
// connection, as its application name). Nothing happens for a document in a file.
void announceActivity(const Database &db, int viewCode, const QDate &date);

// The planners working in the server document now, this one included, longest connected
// first; empty for a document in a file. Throws DbError.
std::vector<PlannerAtWork> plannersAtWork(const Database &db);

} // namespace korvesta
