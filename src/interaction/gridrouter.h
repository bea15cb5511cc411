#pragma once

#include "views/dispatchplan.h"

#include "grid/gridtypes.h"

#include <QDate>
#include <QString>

namespace korvesta {

class DocumentQueries;
class EditingTargets;
class GridModel;
class InteractionHost;
class NavigationState;
class Prompts;
class ReferenceEditor;
struct SettingsRecord;

// The commands of the "Редактирование" menus, by the names of their items.
enum class EditCommand {
    EditGroup,      // submenuEditGroup
    DeleteGroup,    // submenuDeleteGroup
    EditDiscipline, // submenuEditDiscipline
    DeleteDiscipline,
    EditAuditoria, // submenuEditAuditoria
    AddLoadTutor,  // subsubmenuAddKorvesta(0..2)
    AddLoadDiscipline,
    AddLoadGroup,
    EditLoadHours,   // submenuEditKorvesta
    EditTutor,       // submenuEditTutor
    DeleteLoadTutor, // subsubmenuDeleteKorvesta(0..2)
    DeleteLoadDiscipline,
    DeleteLoadGroup,
    ClearLessonCell, // submenuClearCellTimeTable
    DeleteMarksCell, // subsubmenuBTDelete(0..2)
    DeleteMarksRow,
    DeleteMarksColumn,
    DeleteAuditoria, // submenuDeleteAuditoria
    ChangeAuditorium, // ButtonAud
};

// The events of the main grid and the edit menus, routed by the view shown: which cells may
// be edited and with which drop-down list, what a double click, Enter, Delete and the right
// mouse button do, and the entry area of the reference lists with its "Принять" and
// "Отмена". The reference lists are edited here through the ReferenceEditor; the load, the
// timetable and the busy-time marks are handed to EditingTargets.
//
// The grid's events arrive with the grid's own row and column numbers; the router keeps the
// cell of the last key or mouse press (the cell the menus act on).
class GridRouter
{
public:
    GridRouter(GridModel &grid, NavigationState &navigation, const SettingsRecord &settings,
               Prompts &prompts, DocumentQueries &queries, ReferenceEditor &editor,
               EditingTargets &targets, InteractionHost &host);

    // Grid events
    void clicked();
    void currentCellChanged();
    // False when the cell is not to be edited.
    bool beforeEdit(int row, int col);
    void afterEdit(int row, int col);
    // True when the key was acted on (the grid then leaves it alone).
    bool keyDown(int key);
    void keyUp(int key);
    void mouseDown();
    void mouseUp(Qt::MouseButton button);
    void selectionChanged();
    void doubleClicked(int row, int col);

    // Another editing of the load, timetable and marks (not owned; outlives the router).
    void setTargets(EditingTargets &targets) { m_targets = &targets; }

    // The "Редактирование" menu items.
    void command(EditCommand command);
    // submenuBTShow(kind), submenuBTShowIcon(0/1), submenuBTLocalDate.
    void busyKindShown(int kind, bool shown);
    void busyIconsShown(bool icons);
    void busyEveryWeek(bool everyWeek);

    // The cell of the last key or mouse press.
    int row() const { return m_row; }
    int col() const { return m_col; }
    // The Key of the record in the entry area while it is edited.
    int currentKey() const { return m_currentKey; }

    // The edit menu a view shows as its context menu; None for none.
    static EditMenu contextMenuOf(int viewCode);

    // What the load's entry row is open for.
    enum class LoadEntryKind { None, Tutor, Discipline, Group, Hours };

private:
    int code() const;
    void storeCell();
    void updateEditMode();
    bool canEditByColor(int row, int col) const;

    // The entry area of the reference lists (gridrouter_entry.cpp)
    void takeOverEntryArea(bool accept);
    bool saveEntryRow();
    void editRecord(int listView, int row);
    bool fillEntryFromList(int listView, int row);
    int lookUpKey(int listView, int entryRowFrom);
    void pickColor(int col);

    // Menu commands, deleting and the load (gridrouter_commands.cpp)
    void runCommand(EditCommand command);
    void editFromMenu(int listView);
    void deleteKey();
    void deleteListRow();
    bool loadCommand(EditCommand command, int row);
    bool hasTutor(int row) const;
    bool hasGroup(int row) const;
    EditCommand loadDeletionAt(int row, int col) const;
    void refillLoad(int row, int col);

    // The load's entry row (gridrouter_entry.cpp): a row put above the load by the menu
    // items that add or change a line, typed into and finished with its hours cell.
    void prepareLoadEntry(LoadEntryKind kind, int sourceRow);
    bool loadEntryOpen() const;
    bool onLoadEntry(int row, int col) const;
    bool loadEntryKey(int key);
    int firstEmptyLoadCell() const;
    void finishLoadEntry();
    int loadRowOf(int row) const;

    // Timetables (gridrouter_timetable.cpp)
    void assignLesson(int row, int col);
    QDate cellDate(int row) const;
    void announceExam(int col, const QDate &date);
    void followTimetableCell();
    void examDateEdited(int row, int col);

    GridModel &m_grid;
    NavigationState &m_navigation;
    const SettingsRecord &m_settings;
    Prompts &m_prompts;
    DocumentQueries &m_queries;
    ReferenceEditor &m_editor;
    EditingTargets *m_targets; // Not owned.
    InteractionHost &m_host;

    int m_row = -1;
    int m_col = -1;
    int m_currentKey = 0;
    LoadEntryKind m_loadEntry = LoadEntryKind::None;
    // Set when an edit of the hours saved the load's line, until the next key or click.
    bool m_savedByEdit = false;
    // The text of the cell being edited, put back when the edit is refused.
    QString m_textBeforeEdit;
    // Set while a command runs, so that the grid's own events from its refill and the
    // messages' event loop do not start another.
    bool m_busy = false;
    // The day cells of the busy time selected last: what a click on the legend marks.
    CellRange m_markBlock;
};

} // namespace korvesta
