#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace korvesta {

// The cells of a reference list's entry row, as the grid hands them over when the planner
// finishes the row. Texts are taken as typed; the editors trim and convert them.
//
// A colour is given only when the colour cell's back colour differs from the grid's own
// back colour (0x00BBGGRR); nullopt keeps the stored colour (a new record gets none).

struct GroupRow
{
    QString course;               // col 1
    QString group;                // col 2
    std::optional<quint32> color; // col 3
    QString faculty;              // col 4
    QString tuition;              // col 5
    QString finance;              // col 6
    QString comment;              // col 7
};

struct AuditoriumRow
{
    QString corpus;    // col 1
    QString auditoria; // col 2
    QString comment;   // col 3
};

struct DisciplineRow
{
    QString discType;             // col 1
    QString discipline;           // col 2, the short name
    QString discipline1;          // col 3, the full name
    std::optional<quint32> color; // col 4
    QString levelDiff;            // col 5: a difficulty text or empty
};

struct TutorRow
{
    QString tutor;      // col 1
    QString defaultAud; // col 2: the usual auditorium as the lists name it, or empty
};

// A tutor's record, as the entry area is filled with it for editing.
struct TutorRecord
{
    int key = 0;
    QString tutor;
    QString defaultAud;
};

// What a save did: whether the record was written and its Key, so that the caller finds the
// row again after the list is refilled.
struct SaveResult
{
    bool saved = false;
    int key = 0;
};

} // namespace korvesta
