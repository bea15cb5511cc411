#include "dispatchplan.h"

#include "displaytextmodes.h"
#include "navigationstate.h"
#include "settings/settingsrecord.h"
#include "uisettings.h"

namespace korvesta {

namespace {

bool isTimetableGrid(int code)
{
    return code >= 40 && code <= 42;
}

std::optional<int> gridModeOf(int code)
{
    switch (code) {
    case 0:
    case 10:
    case 30:
    case 43:
        return 0;
    case 40:
    case 41:
        return 2;
    case 42:
        return 8;
    default:
        return std::nullopt;
    }
}

EditMenu editMenuOf(int code)
{
    switch (code / 10) {
    case 0:
        return EditMenu::Groups;
    case 1:
        return EditMenu::Disciplines;
    case 2:
        return EditMenu::Auditoriums;
    case 3:
        return code == 30 ? EditMenu::Load : EditMenu::None;
    case 4:
        // The busy-time view edits marks, not lessons.
        return code == 43 ? EditMenu::BusyTime : EditMenu::Timetable;
    default:
        return EditMenu::None;
    }
}

ObjectKind objectListOf(int code, bool freeWindow)
{
    switch (code) {
    case 2:
    case 51:
        return ObjectKind::Groups;
    case 32:
    case 33:
    case 34:
    case 50:
    case 53:
        return ObjectKind::Tutors;
    case 43:
        return freeWindow ? ObjectKind::Tutors : ObjectKind::None;
    case 52:
        return ObjectKind::Auditoriums;
    default:
        return ObjectKind::None;
    }
}

} // namespace

DispatchPlan DispatchPlan::make(int code, int previousCode, const SettingsRecord &record,
                                const SettingsStore &settings)
{
    DispatchPlan plan;
    plan.code = code;
    plan.section = code / 10;
    plan.item = code % 10;
    const int section = plan.section;

    if (NavigationState::isNewRecordView(code)) {
        plan.clearGrid = false;
        plan.runFill = previousCode == NavigationState::listOfSection(section);
    } else if (code == 43) {
        plan.runFill = record.FreeWindow;
    }
    plan.gridMode = gridModeOf(code);

    plan.editMenu = editMenuOf(code);
    // The individual reports are saved as documents too.
    plan.saveTable = code <= 30 || section == 5;
    plan.timetableService = section == 4;
    plan.middlePaneMenu = section == 4;
    if (isTimetableGrid(code))
        plan.middlePaneChecked = UiSettings::middlePaneOnTimeTable(settings);
    // Entry n of the menu stands for kind n + 1 (the absences, rest days, lessons).
    for (int entry = 0; entry < UiSettings::BusyTimeKinds; ++entry)
        plan.busyTimeShown[std::size_t(entry)] = UiSettings::showBusyTime(settings, entry + 1);
    plan.busyTimeIcons = UiSettings::busyTimeIcons(settings);

    plan.exportToExcel = section <= 4;
    plan.timetableTools = section == 4;
    // Also in the busy-time view, whose drop-down offers only the modes of every item.
    plan.displayTextButton = section == 4;
    plan.disableAud = section != 3;
    for (const DisplayTextMode &mode : DisplayTextModes::all())
        plan.displayTextShown.push_back(mode.isOfferedIn(plan.item));

    plan.showPreview = section == 5;
    plan.objectList = objectListOf(code, record.FreeWindow);
    plan.periodPickers = section == 3 && plan.item > 1;
    plan.secondCalendar = section == 5;
    plan.tabStrip = isTimetableGrid(code) && plan.middlePaneChecked.value_or(false);
    plan.objectPane = plan.objectList != ObjectKind::None || plan.periodPickers
                      || plan.secondCalendar || plan.tabStrip;
    return plan;
}

} // namespace korvesta
