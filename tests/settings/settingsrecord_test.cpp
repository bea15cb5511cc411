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
}

// Every field is saved under its own key and read back from it.
TEST(SettingsRecord, EveryKeyRoundTrips)
{
    TestFolder folder;
    SettingsRecord changed;
    changed.CheckDelete = false;
    changed.SaveCurrTable = true;
    changed.LessonsToGroup = 5;
    changed.ExcelPrintPreview = false;
    changed.ExcelPrintFormat = QStringLiteral("A3");
    changed.HoursValue = 2;
    changed.LessonsToTutor = 6;
    changed.JobOverFlow = false;
    changed.OverFlowView = false;
    changed.LessonsInDay = 10;
    changed.LessonsInPeriod = 12;
    changed.SortPrep = true;
    changed.WorkTimePeriod = 3;
    changed.WorkDays = 6;
    changed.SortDiscAuto = true;
    changed.ShowWeekNumber = true;
    changed.FreeWindow = false;
    changed.ShowTimeLesson = true;
    changed.TimePlace = true;
    changed.SubGroupCount = 3;
    changed.PathDB = folder.file("колледж.kvt");
    changed.UseFooterReport = false;
    changed.UseHeadReport = false;
    changed.FooterReport = QStringLiteral("Подпись: ______");
    changed.HeaderReport = QStringLiteral("Колледж \"Северный\"; корпус 2");
    changed.MergeLessons = true;
    changed.ShowLevelDiff = false;
    changed.CountGroupOnLecture = 2;
    changed.ShowTotals = false;
    changed.ShowColorItem = false;
    changed.UseTypeFinance = true;
    changed.UseTypeTuition = true;
    changed.UseTypeFaculty = true;
    changed.UseTypeDiscipline = true;
    changed.CheckAuditoria = false;
    changed.SubGroupColor = 0x80000005; // a system colour
    changed.FixMonthView = true;
    {
        SettingsStore store(folder.file("settings.ini"));
        changed.save(store);
        EXPECT_EQ(store.readText("Settings", "FreeWindow", "?"), QStringLiteral("False"));
        EXPECT_EQ(store.readText("Settings", "LessonsInDay", "?"), QStringLiteral("10"));
    }
    SettingsStore again(folder.file("settings.ini"));
    SettingsRecord loaded;
    loaded.load(again);
    EXPECT_EQ(loaded, changed);
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
