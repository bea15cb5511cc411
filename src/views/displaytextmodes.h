#pragma once

#include <QString>

#include <span>

namespace korvesta {

class SettingsStore;

// What a timetable cell shows, chosen from the drop-down of ButtonView. A mode's tag is the
// sum of the weights of the parts it shows: group 1, tutor 3, discipline 7, auditorium 11,
// lesson type 24, full discipline name 29.
struct DisplayTextMode
{
    enum class OfferedIn { Always, DayAndWeek, WorkSchedule };

    QString caption;
    QString key;
    int tag;
    OfferedIn offeredIn;

    // Whether the drop-down offers the mode in an item of the timetable section (0 day,
    // 1 week, 2 work schedule); in other items only the modes offered always.
    bool isOfferedIn(int item) const;
};

class DisplayTextModes
{
public:
    // The timetable items that have a mode of their own (DisplayText0..2).
    static constexpr int ItemCount = 3;

    static std::span<const DisplayTextMode> all();

    // The mode of a timetable item as stored ("DisplayText" + item), and the default the
    // button resets it to ("DisplayTextDefault" + item); 18, 18 and 8 when not set.
    static int current(const SettingsStore &settings, int item);
    static int resetValue(const SettingsStore &settings, int item);
    static void setCurrent(SettingsStore &settings, int item, int tag);
    // The default of item 0, 1 or 2 when nothing is stored.
    static int builtInDefault(int item);
};

} // namespace korvesta
