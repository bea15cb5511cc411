#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace korvesta {

class SettingsStore;

// The window's own keys of section "Settings" (those outside the settings record), each
// read with its default and written as the store's text.
class UiSettings
{
public:
    // The navigation bar is shown (default True).
    static bool leftPane(const SettingsStore &settings);
    static void setLeftPane(SettingsStore &settings, bool shown);

    // The object pane beside the timetable views (default False).
    static bool middlePaneOnTimeTable(const SettingsStore &settings);
    static void setMiddlePaneOnTimeTable(SettingsStore &settings, bool shown);

    // The tab of the object pane as the tab bar counts (from 0: groups, disciplines,
    // auditoriums, tutors). The setting counts from 1, its default 3 the auditoriums.
    static int tabStripSelected(const SettingsStore &settings);
    static void setTabStripSelected(SettingsStore &settings, int tab);

    // ButtonShowColorItem keeps its state as 1 or 0.
    static void setShowColorItem(SettingsStore &settings, bool on);

    // The busy-time marks shown, by kind 1..6 (the absences 1 to 5, 5 also the rest days, 6
    // the lessons; default shown), and whether they show as icons rather than letters
    // (default icons).
    static constexpr int BusyTimeKinds = 6;
    static bool showBusyTime(const SettingsStore &settings, int kind);
    static void setShowBusyTime(SettingsStore &settings, int kind, bool shown);
    static bool busyTimeIcons(const SettingsStore &settings);
    static void setBusyTimeIcons(SettingsStore &settings, bool icons);
    // Marks belong to a weekday of every week (ShowBusyTimeLocalDate other than 2, the
    // default) rather than to one date.
    static bool busyTimeEveryWeek(const SettingsStore &settings);
    static void setBusyTimeEveryWeek(SettingsStore &settings, bool everyWeek);

    // Where the planner left a document: the view, the object chosen in its list (its list
    // key, "tu5"; empty for none) and the calendar date. Kept per document file in section
    // "LastView", so that each document opens where its own work stopped.
    struct LastView
    {
        int code = 0;
        QString object;
        QDate date;
    };
    static std::optional<LastView> lastView(const SettingsStore &settings,
                                            const QString &documentPath);
    static void setLastView(SettingsStore &settings, const QString &documentPath,
                            const LastView &view);
};

} // namespace korvesta
