#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(SettingsRecord, AFreshUserGetsTheDefaults)
{
    TestFolder folder;
    SettingsStore store(folder.file("settings.ini"));
    SettingsRecord r;
    r.LessonsInDay = 3; // load replaces whatever was there
    r.load(store);
    EXPECT_EQ(r, SettingsRecord());
    EXPECT_EQ(r.LessonsInDay, 14);
    EXPECT_EQ(r.WorkDays, 5);
    EXPECT_TRUE(r.ShowTotals);
    EXPECT_TRUE(r.ShowColorItem);
    EXPECT_EQ(r.SubGroupColor, 0xFFFFFFu);
}

TEST(SettingsRecord, SavedValuesReadBackUnderTheSameKeys)
{
    TestFolder folder;
    SettingsStore store(folder.file("settings.ini"));
    SettingsRecord saved;
    saved.FreeWindow = false;
    saved.UseHeadReport = false;
    saved.LessonsInDay = 8;
    saved.HeaderReport = QStringLiteral("Колледж \"Северный\"; корпус 2");
    saved.SubGroupColor = 0x80000005;
    saved.save(store);
    EXPECT_EQ(store.readText("Settings", "FreeWindow", "?"), QStringLiteral("False"));
    EXPECT_EQ(store.readText("Settings", "LessonsInDay", "?"), QStringLiteral("8"));

    SettingsStore again(folder.file("settings.ini"));
    SettingsRecord loaded;
    loaded.load(again);
    EXPECT_EQ(loaded, saved);
}

TEST(SettingsRecord, ABadValueLeavesItsFieldAndTheLoadGoesOn)
{
    TestFolder folder;
    SettingsStore store(folder.file("settings.ini"));
    const struct
    {
        const char *key, *text;
    } stored[] = {
        {"LessonsInDay", "много"},  {"WorkDays", "6"},          {"ShowTotals", "нет"},
        {"CheckDelete", "0"},       {"SubGroupCount", "70000"}, {"SortPrep", "true"},
        {"SubGroupColor", "blue"},  {"MergeLessons", "-1"},
    };
    for (const auto &s : stored)
        store.write("Settings", s.key, s.text);
    SettingsRecord r;
    r.load(store);
    EXPECT_EQ(r.LessonsInDay, 14);
    EXPECT_EQ(r.WorkDays, 6);
    EXPECT_TRUE(r.ShowTotals);
    EXPECT_FALSE(r.CheckDelete);
    EXPECT_EQ(r.SubGroupCount, 2);
    EXPECT_TRUE(r.SortPrep);
    EXPECT_EQ(r.SubGroupColor, 0xFFFFFFu);
    EXPECT_TRUE(r.MergeLessons);
}

} // namespace
} // namespace korvesta
