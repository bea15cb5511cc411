#pragma once

#include <QString>

namespace korvesta {

class Database;
class Prompts;

// What a delete operation did, so that the caller knows whether to refill.
enum class DeleteOutcome {
    Nothing,              // a caption or unknown row, a refusal, or the user said No
    FutureLessonsRemoved, // the record stays; its lessons after now are gone
    RecordDeleted,
};

// Deleting a record of a reference list from the texts of its grid row, after measuring how
// much of the timetable uses it: a record with held lessons is refused, or loses only its
// lessons after now; a record used only by the future timetable, or not at all, is deleted
// after confirmation.
//
// A deleted record takes with it everything that would otherwise point at nothing:
// - a group: its lessons and its load lines (with their exam dates);
// - an auditorium: its lessons, and the tutors' usual auditorium where it named this one;
// - a discipline: its lessons, the tutors' jobs in it and their load lines;
// - a tutor: his lessons, his jobs with their load lines, and his busy-time marks.
// Jobs of a deleted group stay: a tutor's discipline without groups is a valid load entry.
// Date rows and their notes stay: they belong to the calendar, not to the record.
// Each deletion runs in one transaction. Throws DbError (nothing is then changed).
DeleteOutcome deleteGroup(const Database &db, Prompts &prompts, const QString &group,
                          const QString &course, const QString &faculty);
DeleteOutcome deleteAuditorium(const Database &db, Prompts &prompts, const QString &auditoria,
                               const QString &corpus);
DeleteOutcome deleteDiscipline(const Database &db, Prompts &prompts, const QString &discipline,
                               const QString &discipline1);
DeleteOutcome deleteTutor(const Database &db, Prompts &prompts, const QString &tutor);

} // namespace korvesta
