#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>
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
    int keyJob = 0; // the absent tutor's job the lesson belongs to
    QDate date;
    int lesson = 0;
    int keyGroup = 0;
    QString group; // "П-9 (1)"
    QString groupText; // as the load names it: "П-9  (1)", the faculty after it when it has one
    int keyDiscipline = 0;
    QString discipline;
    QString absentTutor;
    std::vector<CoverCandidate> candidates; // best first
};

struct CoverList
{
    QString refusal; // why there is nothing to cover; empty otherwise
    std::vector<UncoveredLesson> lessons;
};

// Throws DbError.
CoverList coverList(const Database &db, const QString &tutor, const QDate &date);
// The same for every date of a period, date after date; refused only when no date of it has
// a lesson of the tutor. Throws DbError.
CoverList coverList(const Database &db, const QString &tutor, const QDate &from,
                    const QDate &to);

// The last date of the tutor's absence that takes in `date`: his whole-day exceptions of
// dates that follow one another (days off between them do not break the run); `date` itself
// when none of them falls on it. Throws DbError.
QDate absenceEnd(const Database &db, const QString &tutor, const QDate &date);

enum class CoverResult {
    Given,
    Refused,    // a question answered no, a protected date, a lesson given away since: told
    Unavailable, // the candidate teaches or is away at the lesson now: told
    Failed      // a document error: told
};

// Gives the lesson to the candidate: his load line of the discipline for the lesson's group.
// When he has none, the user is asked whether to add one of an hour (the load's own checks
// apply); "No" writes nothing. The cover is remembered as a line of the date's note
// (coverNoteLine). All of it is one transaction and one undoable step, inside which the
// candidate is checked again as the document is then (free at the lesson by the clash rules,
// not away): a list made earlier never double-books him. A protected date is refused.
CoverResult giveCover(DocumentSession &session, Prompts &prompts, const UncoveredLesson &lesson,
                      const CoverCandidate &candidate);
// The same; false when nothing was written.
bool assignCover(DocumentSession &session, Prompts &prompts, const UncoveredLesson &lesson,
                 const CoverCandidate &candidate);

// The line of the date's note that remembers a cover:
// "Замена: 3 урок, П-9 (1), Математика: Петров П.П. → Сидоров С.С."
QString coverNoteLine(const UncoveredLesson &lesson, const QString &coveringTutor);

// A cover line read back from a note; nothing for any other line.
struct CoverNote
{
    int lesson = 0;
    QString group; // "П-9 (1)"
    QString discipline;
    QString absentTutor;
    QString coveringTutor;
};
std::optional<CoverNote> parseCoverNoteLine(const QString &line);

} // namespace korvesta
