#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace korvesta {

class Database;
class DocumentSession;
class Prompts;
struct SettingsRecord;

// Cover for an absent tutor: his lessons of a date, and for each the tutors who could take it
// (free then, present, teaching the discipline or the group), best first.

struct CoverCandidate
{
    int keyTutor = 0;
    QString tutor;
    int keyJob = 0;      // his line of the discipline (0: he does not teach it)
    bool teachesGroup = false; // he has a load line with the group
    int hoursLeft = 0;   // of his load line of the discipline for the group, else of all his
    int lessonsThatDay = 0;
    QString why;
};

struct UncoveredLesson
{
    int keyContent = 0;
    int lesson = 0;
    int keyGroup = 0;
    QString group; // "П-9 (1)"
    QString discipline;
    std::vector<CoverCandidate> candidates; // best first
};

struct CoverList
{
    QString refusal; // why there is nothing to cover; empty otherwise
    std::vector<UncoveredLesson> lessons;
};

// Throws DbError.
CoverList coverList(const Database &db, const QString &tutor, const QDate &date);

// Gives the lesson to the candidate: his load line of the discipline for the lesson's group,
// which must exist (told otherwise). One undoable step; false when nothing was written.
bool assignCover(DocumentSession &session, Prompts &prompts, const UncoveredLesson &lesson,
                 const CoverCandidate &candidate);

} // namespace korvesta
