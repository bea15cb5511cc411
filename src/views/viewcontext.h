#pragma once

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace korvesta {

class DocumentSession;
class GridModel;
class Prompts;
class SettingsStore;
struct SettingsRecord;

// One object of the object list (listAction): a group, tutor or auditorium. The key is a
// two-letter kind ("gr", "tu", "au") followed by the record's Key.
struct ObjectListEntry
{
    QString key;
    QStringList texts; // one per column of the list
    QString icon;      // icon key ("GROUP", "TUTOR", "AUDITORIA")
    QColor foreColor = QColor(); // the texts' colour; invalid: the list's own

    // The key without its kind: the record's Key as text.
    QString recordKey() const { return key.mid(2); }
    QString text() const { return texts.value(0); }
};

// What listAction shows: its column headers and its objects.
struct ObjectList
{
    QStringList headers;
    std::vector<ObjectListEntry> entries;

    void clear()
    {
        headers.clear();
        entries.clear();
    }
};

// Everything a view's fill reads and writes: the main grid, the object list, the document
// and the settings, and the dates and choices of the window.
struct ViewContext
{
    ViewContext(GridModel &grid_, ObjectList &objects_, DocumentSession &session_,
                SettingsStore &settings_, SettingsRecord &record_, Prompts &prompts_)
        : grid(grid_)
        , objects(objects_)
        , session(session_)
        , settings(settings_)
        , record(record_)
        , prompts(prompts_)
    {}

    GridModel &grid;
    ObjectList &objects;
    DocumentSession &session;
    SettingsStore &settings;
    SettingsRecord &record;
    Prompts &prompts;

    int viewCode = 0;
    int previousViewCode = 0;
    // The grid mode the dispatcher set for the view (0, 2 or 8), -1 when none.
    int gridMode = -1;
    QDate calendarDate; // MonthView1
    QDate periodFrom;   // DTPickerFrom
    QDate periodTo;     // DTPickerTo
    QDate rangeFrom;    // the selection of MonthView2
    QDate rangeTo;
    int tab = 3;        // TabStrip1: 0 groups, 1 disciplines, 2 auditoriums, 3 tutors
    QString filter;     // the entry chosen in ButtonFilter's menu ("Все" when none)

    // Lets the window repaint during a long fill.
    std::function<void()> processEvents;
};

} // namespace korvesta
