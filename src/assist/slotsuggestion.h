#pragma once

#include "slotmap.h"

#include <QDate>
#include <QString>

#include <vector>

namespace korvesta {

class Database;
struct SettingsRecord;

// Where a lesson of a load line can go: the free cells of the line's group in a period where
// the tutor is free and present and an auditorium is free, ranked so that the group's and the
// tutor's days stay without gaps, the tutor keeps his usual auditorium, a discipline is not
// given twice a day and hard disciplines are spread over the week.

struct SlotRequest
{
    QString group;      // "П-9 (1)" or "П-9"
    QString discipline; // short or full name
    QDate from, to;
    int top = 10;
    QString tutor; // when several tutors teach the discipline to the group
};

// A lesson the line can take, with the free auditoriums and the rank's reasons; its soft
// problems (problems) lower the score.
using Slot = SlotState;

struct SlotSuggestions
{
    QString refusal; // why nothing can be suggested; empty otherwise
    QString tutor;
    int hoursLeft = 0;
    std::vector<Slot> best; // best first
};

// The ranked lessons of a load line, or why there are none: no such line, no hours left, no
// free lesson in the period.
SlotSuggestions rankSlots(const SlotMap &map, const AssistLine &line, const QDate &from,
                          const QDate &to, int top);

// Throws DbError when the document cannot be read.
SlotSuggestions suggestSlots(const Database &db, const SettingsRecord &settings,
                             const SlotRequest &request);

} // namespace korvesta
