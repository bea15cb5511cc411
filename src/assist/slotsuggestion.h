#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

namespace korvesta {

class Database;
struct SettingsRecord;

// Where a lesson of a load line can go: the free cells of the line's group in a period where
// the tutor is free and present and an auditorium is free, ranked so that the group's and the
// tutor's days stay without gaps, the tutor keeps his usual auditorium and a discipline is
// not given twice a day.

struct SlotRequest
{
    QString group;      // "П-9 (1)" or "П-9"
    QString discipline; // short or full name
    QDate from, to;
    int top = 10;
};

struct Slot
{
    QDate date;
    int lesson = 0;
    QStringList freeAuditoriums; // "101 (Главный)", the tutor's usual one first
    int score = 0;
    QStringList reasons; // what raised or lowered the score
};

struct SlotSuggestions
{
    QString refusal; // why nothing can be suggested; empty otherwise
    QString tutor;
    int hoursLeft = 0;
    std::vector<Slot> best; // best first
};

// Throws DbError when the document cannot be read.
SlotSuggestions suggestSlots(const Database &db, const SettingsRecord &settings,
                             const SlotRequest &request);

} // namespace korvesta
