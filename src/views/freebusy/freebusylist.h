#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace korvesta {

class DocumentQueries;
class GridModel;
class SettingsStore;
struct ObjectList;
struct SettingsRecord;
struct ViewContext;

// The free/busy list beside the timetables: which groups, disciplines, auditoriums or tutors
// are free at one lesson of one date, one kind at a time as the tabs of TabStrip1 choose.
namespace freebusy {

// The kinds in the order of the tabs (tab 0 is the groups).
enum class Kind { Groups = 1, Disciplines, Auditoriums, Tutors };

// The kind a tab shows; the tutors for an index outside the tabs.
Kind kindOfTab(int tab);
// "groups", "disciplines", "auditoriums", "tutors"; nothing for another word.
std::optional<Kind> kindNamed(const QString &name);

// Text colours (0x00BBGGRR) of the list's rows.
constexpr unsigned FreeColor = 0x000000;
constexpr unsigned BusyColor = 0x0000FF;

struct Item
{
    int key = 0;
    QString name;
    QString detail; // the course, full name or building; empty for a tutor
    bool free = true;
};

struct List
{
    Kind kind = Kind::Tutors;
    int lesson = 1; // the lesson asked for, 0 taken as 1
    QDate date;
    QStringList headers;
    QString icon;
    std::vector<Item> items;
};

// The items of a kind at the lesson of the date. Lesson 0 (the lesson-number column) stands
// for lesson 1. Groups of a faculty switched off in the settings (section "Faculty", keyed by
// the faculty's Key) are left out. A date without a timetable leaves everything free.
// Nothing when the document could not be read; the user has been told why.
std::optional<List> read(DocumentQueries &queries, const SettingsStore &settings, Kind kind,
                         int lesson, const QDate &date);

// The list as listAction shows it: keys "it" + Key, free items black and busy ones red.
ObjectList toObjects(const List &list);

// The date and lesson of a timetable grid's current cell (views 40, 41 and 42): the lesson
// of the cell's row, 0 for a row that is no lesson; the calendar date, and in the week
// timetable the day of the row within the calendar's week.
struct CellMoment
{
    QDate date;
    int lesson = 0;
};
CellMoment cellMoment(const GridModel &grid, const SettingsRecord &record, int viewCode,
                      const QDate &calendarDate);

// Refills ctx.objects for the grid's current cell and ctx.tab.
void refillPane(ViewContext &ctx);

} // namespace freebusy

} // namespace korvesta
