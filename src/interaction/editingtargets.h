#pragma once

#include "editing/referencerows.h"

#include "grid/gridtypes.h"

#include <QDate>

namespace korvesta {

// The editing that the grid routing hands on to the teaching load, the timetable and the
// busy-time marks. Each operation receives the cell it was asked for (grid row and column)
// and reads the rest from the grid and the document itself. The defaults do nothing, so a
// view whose editing is not there yet simply does not react.
//
// An operation returns true when it changed the document, so that the routing refills.
class EditingTargets
{
public:
    virtual ~EditingTargets() = default;

    // Teaching load (views 30, 31): a new tutor, a discipline for the row's tutor, a group for
    // the row's discipline, the hours of the row's job, the row's tutor.
    virtual bool addLoadTutor() { return false; }
    virtual bool addLoadDiscipline(int /*row*/) { return false; }
    virtual bool addLoadGroup(int /*row*/) { return false; }
    virtual bool editLoadHours(int /*row*/) { return false; }
    virtual bool editTutor(int /*row*/) { return false; }
    enum class LoadPart { Tutor, Discipline, Group };
    virtual bool deleteFromLoad(LoadPart /*part*/, int /*row*/) { return false; }
    // The entry area of the new-tutor view taken over; `key` is the edited tutor's Key when
    // `editExisting` is set.
    virtual SaveResult saveTutor(bool /*editExisting*/, int /*key*/) { return {}; }

    // The exam date typed into a row of the group passport; a null date clears it.
    virtual bool saveExamDate(int /*row*/, const QDate & /*date*/) { return false; }

    // Timetables: a lesson for the cell's group (day and week views) or tutor (work schedule)
    // on the date, and the removal of the cell's lesson on the calendar date. The removal
    // refills the view itself.
    virtual bool assignLessonByGroup(int /*row*/, int /*col*/, const QDate & /*date*/)
    {
        return false;
    }
    virtual bool assignLessonByTutor(int /*row*/, int /*col*/, const QDate & /*date*/)
    {
        return false;
    }
    virtual void clearLessonCell(int /*row*/, int /*col*/, const QDate & /*date*/) {}
    // The auditoriums of the cell's lessons on the date; true when one was changed (the view
    // is refilled then).
    virtual bool changeAuditorium(int /*row*/, int /*col*/, const QDate & /*date*/)
    {
        return false;
    }
    // The object pane's details of the lesson under the cursor (day timetable).
    virtual void showLessonDetails(int /*row*/, int /*col*/) {}

    // Busy-time marks (view 43): the block of day cells marked with an absence kind (1 to 4).
    virtual bool markBusyCells(int /*kind*/, const CellRange & /*block*/) { return false; }
    enum class MarkScope { Cell, Row, Column };
    virtual bool deleteBusyMarks(MarkScope /*scope*/, int /*row*/, int /*col*/) { return false; }
    virtual void showBusyKind(int /*kind*/, bool /*shown*/) {}
    virtual void showBusyIcons(bool /*icons*/) {}
    virtual void setBusyEveryWeek(bool /*everyWeek*/) {}
};

} // namespace korvesta
