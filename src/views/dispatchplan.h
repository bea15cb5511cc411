#pragma once

#include <array>
#include <optional>
#include <vector>

namespace korvesta {

class SettingsStore;
struct SettingsRecord;

// The "Редактирование" menus, one per kind of view, in the order of the menu bar.
enum class EditMenu { None = -1, Groups, Disciplines, Auditoriums, Load, Timetable, BusyTime };
constexpr int EditMenuCount = 6;

// The kind of object the object list of a view offers.
enum class ObjectKind { None, Groups, Tutors, Auditoriums };

// What the view dispatcher does to the window for one view code: whether the view's fill
// runs, and which menus, toolbar buttons, panes and pickers the view has. Computed without
// the window, so that the rules can be checked on their own; the window applies it.
struct DispatchPlan
{
    int code = 0;
    int section = 0;
    int item = 0;

    // The grid is emptied before the fill; a new-record view keeps the list it adds to.
    bool clearGrid = true;
    // The view's fill runs: not for a new-record view over another section's list, not for
    // the busy-time view without FreeWindow.
    bool runFill = true;
    // The grid mode set before the fill (the timetable views' layout), when the view has one.
    std::optional<int> gridMode;

    // Menus
    EditMenu editMenu = EditMenu::None;
    bool saveTable = false;          // submenuSaveToFile and ButtonSave
    bool timetableService = false;   // "Копировать расписание", "Очистить расписание"
    bool middlePaneMenu = false;     // "Панель объектов"
    std::optional<bool> middlePaneChecked; // its check mark, for the timetable views
    std::array<bool, 6> busyTimeShown{};   // submenuBTShow(0..5)
    bool busyTimeIcons = true;             // submenuBTShowIcon(0) rather than (1)

    // Toolbar
    bool exportToExcel = false;      // ButtonExportToExcel
    bool timetableTools = false;     // ButtonCopy, ButtonDeleteTable, ButtonFind, ButtonAccessEdit
    bool displayTextButton = false;  // ButtonView
    bool disableAud = true;          // ButtonAud off; inside section 3 it keeps its state
    // Per entry of DisplayTextModes::all(): shown in ButtonView's drop-down.
    std::vector<bool> displayTextShown;

    // Panes
    bool showPreview = false;        // VSPrinter1 in place of VSFlexGrid1
    ObjectKind objectList = ObjectKind::None; // listAction offers these objects
    bool objectPane = false;         // the pane with the object list, tabs and pickers
    bool tabStrip = false;           // TabStrip1 (timetable views with the object pane)
    bool periodPickers = false;      // fraDTPickerPeriod
    bool secondCalendar = false;     // MonthView2 (the range of the individual reports)

    static DispatchPlan make(int code, int previousCode, const SettingsRecord &record,
                             const SettingsStore &settings);
};

} // namespace korvesta
