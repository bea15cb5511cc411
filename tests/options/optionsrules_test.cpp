// The options dialog's rules that need no document: number boxes, shifts, display defaults
// and the bounds of the norms.

#include "options/optionsrules.h"
#include "settings/settingsrecord.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvesta::options {
namespace {

TEST(OptionsRules, NumberBoxesKeepTheirNumber)
{
    const struct
    {
        QString typed, kept;
        int value;
    } cases[] = {
        {"12a", "12", 12},         {"abc", "", 0},   {"", "", 0},
        {"1a2", "1", 1},           {"-", "", 0},     {"12,7", "12,7", 12},
        {"99999", "99999", 32767}, {"-3", "-3", -3}, {"7 ", "7 ", 7},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(numericText(c.typed), c.kept) << c.typed.toStdString();
        EXPECT_EQ(shortValue(numericText(c.typed)), c.value) << c.typed.toStdString();
    }
}

TEST(OptionsRules, LessonsOfAShift)
{
    EXPECT_EQ(lessonsInPeriod(7, 2), 3);
    EXPECT_EQ(lessonsInPeriod(14, 1), 14);
    EXPECT_EQ(lessonsInPeriod(14, 0), std::nullopt); // 0 shifts leave the box as it is
    const int inShiftOfThree[] = {1, 2, 3, 1, 2, 3, 1, 2, 3};
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(lessonInShift(n, 3), inShiftOfThree[n - 1]) << n;
    EXPECT_EQ(lessonInShift(10, 0), 10);
}

TEST(OptionsRules, DisplayDefaultsAsBoxes)
{
    EXPECT_EQ(displayBoxes(18), (DisplayBoxes{false, false, true, false, true, false}));
    EXPECT_EQ(displayBoxes(67), (DisplayBoxes{false, true, false, true, true, true}));
    EXPECT_EQ(displayBoxes(4), std::nullopt);
    // The lesson type has no weight: the boxes of 42 give back 18.
    EXPECT_EQ(displayCode(*displayBoxes(42)), 18);
    EXPECT_EQ(displayCode(*displayBoxes(43)), 43);
    EXPECT_EQ(displayCode(*displayBoxes(8)), 8);
    EXPECT_TRUE(isShownCode(18));
    EXPECT_FALSE(isShownCode(4)); // group and tutor: no cell shows that
}

TEST(OptionsRules, NormsOutOfBounds)
{
    const struct
    {
        const char *name;
        std::function<void(SettingsRecord &)> set;
        const char *control; // empty: accepted
    } cases[] = {
        {"defaults", [](SettingsRecord &) {}, ""},
        {"lessons a day 0", [](SettingsRecord &r) { r.LessonsInDay = 0; }, "txtLessonsInDay"},
        {"lessons a day 100", [](SettingsRecord &r) { r.LessonsInDay = 100; }, "txtLessonsInDay"},
        {"0 shifts", [](SettingsRecord &r) { r.WorkTimePeriod = 0; }, "txtWorkTimePeriod"},
        {"shift longer than the day",
         [](SettingsRecord &r) {
             r.LessonsInDay = 6;
             r.LessonsInPeriod = 7;
             r.LessonsToGroup = 6;
         },
         "txtLessonsInPeriod"},
        {"no subgroups", [](SettingsRecord &r) { r.SubGroupCount = 0; }, "txtSubGroupCount"},
        {"no limit for a tutor", [](SettingsRecord &r) { r.LessonsToTutor = 0; }, ""},
        {"a group's limit past a short day",
         [](SettingsRecord &r) {
             r.LessonsInDay = 4;
             r.LessonsInPeriod = 4;
         },
         ""},
        {"a group's limit of 25", [](SettingsRecord &r) { r.LessonsToGroup = 25; },
         "txtLessonsToGroup"},
        {"negative hours", [](SettingsRecord &r) { r.HoursValue = -1; }, "txtHoursValue"},
        {"lecture of no group", [](SettingsRecord &r) { r.CountGroupOnLecture = 0; }, "txtLecture"},
    };
    for (const auto &c : cases) {
        SettingsRecord record;
        c.set(record);
        const std::optional<Refusal> refusal = checkNorms(record);
        EXPECT_EQ(refusal ? refusal->control : QString(), QString::fromLatin1(c.control)) << c.name;
    }
    SettingsRecord record;
    record.LessonsInDay = 100;
    EXPECT_EQ(checkNorms(record)->text, "Количество занятий в день: допустимо от 1 до 24");
}

} // namespace
} // namespace korvesta::options
