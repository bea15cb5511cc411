#include "settings/inifile.h"
#include "settings/settingsstore.h"
#include "support/testdocument.h"

#include <QFile>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(Settings, ValuesReadBackAndSurviveAnotherStore)
{
    TestFolder folder;
    const QString ini = folder.file(QStringLiteral("user.ini"));
    {
        SettingsStore store(ini);
        store.write("Settings", "PathDB", QStringLiteral("/home/планы/Колледж, 2024.kvt"));
        store.writeBool("Settings", "TempFile", true);
        store.writeBool("Faculty", "3", false);
        store.writeInt("Settings", "LessonsInDay", 12);
        store.writeInt("Settings", "SubGroupColor", 16777215);
    }
    const SettingsStore store(ini);
    EXPECT_EQ(store.readText("Settings", "PathDB", {}),
              QStringLiteral("/home/планы/Колледж, 2024.kvt"));
    EXPECT_TRUE(store.readBool("Settings", "TempFile", false));
    EXPECT_FALSE(store.readBool("Faculty", "3", true));
    EXPECT_EQ(store.readInt("Settings", "LessonsInDay", 14), 12);
    EXPECT_EQ(store.readInt("Settings", "SubGroupColor", 0), 16777215);
    // Booleans and numbers are stored as text.
    EXPECT_EQ(store.readText("Settings", "TempFile", {}), QStringLiteral("True"));
    EXPECT_EQ(store.readText("Settings", "LessonsInDay", {}), QStringLiteral("12"));
}

TEST(Settings, MissingOrBadValuesYieldTheReadsDefault)
{
    TestFolder folder;
    const QString ini = folder.file(QStringLiteral("user.ini"));
    writeTestFile(ini, "[Settings]\n"
                       "TempFile=yes\n"
                       "ShowTotals=false\n"
                       "LessonsInDay=много\n"
                       "WorkDays= 6 \n"
                       "SortPrep=\n"
                       "ShowColorItem=0\n"
                       "FreeWindow=-1\n");
    const SettingsStore store(ini);

    const struct
    {
        const char *key;
        bool defaultValue;
        bool expected;
    } bools[] = {
        {"TempFile", false, false},   // not True/False
        {"TempFile", true, true},
        {"ShowTotals", true, false},  // letter case does not matter
        {"SortPrep", true, true},     // empty
        {"ShowColorItem", true, false}, // numbers convert: not zero is true
        {"FreeWindow", false, true},
        {"Missing", true, true},
        {"Missing", false, false},
    };
    for (const auto &c : bools)
        EXPECT_EQ(store.readBool("Settings", c.key, c.defaultValue), c.expected) << c.key;

    EXPECT_EQ(store.readInt("Settings", "LessonsInDay", 14), 14);
    EXPECT_EQ(store.readInt("Settings", "WorkDays", 5), 6);
    EXPECT_EQ(store.readInt("Settings", "Missing", 7), 7);
    EXPECT_EQ(store.readText("Settings", "Missing", QStringLiteral("A4")), QStringLiteral("A4"));
    // A read never writes its default back.
    EXPECT_EQ(store.readText("Settings", "Missing", QStringLiteral("xx")), QStringLiteral("xx"));
}

TEST(Settings, RemovedKeyReadsAsMissing)
{
    TestFolder folder;
    SettingsStore store(folder.file(QStringLiteral("user.ini")));
    store.writeBool("DiscType", "4", true);
    store.remove("DiscType", "4");
    EXPECT_EQ(store.readText("DiscType", "4", QStringLiteral("xx")), QStringLiteral("xx"));
}

TEST(IniFile, KeysWithBackslashesAndCaseInsensitiveNames)
{
    TestFolder folder;
    IniFile ini(folder.file(QStringLiteral("kvt1.tmp")));
    EXPECT_EQ(ini.read(QStringLiteral("ИС-11\\2\\Очная"), QStringLiteral("3\\1"), "нет"),
              QStringLiteral("нет"));

    ASSERT_TRUE(ini.write(QStringLiteral("ИС-11\\2\\Очная"), QStringLiteral("3\\1"),
                          QStringLiteral("Петров;Математика;Лекция;101")));
    ASSERT_TRUE(ini.write(QStringLiteral("ИС-11\\2\\Очная"), QStringLiteral("4\\0"),
                          QStringLiteral("Сидоров")));
    ASSERT_TRUE(ini.write(QStringLiteral("ИС-12\\2\\Очная"), QStringLiteral("3\\1"),
                          QStringLiteral("Другой")));
    // Rewriting a key replaces its value in place.
    ASSERT_TRUE(ini.write(QStringLiteral("ис-11\\2\\очная"), QStringLiteral("4\\0"),
                          QStringLiteral("Сидорова")));

    const IniFile again(ini.path());
    EXPECT_EQ(again.read(QStringLiteral("ИС-11\\2\\Очная"), QStringLiteral("3\\1")),
              QStringLiteral("Петров;Математика;Лекция;101"));
    EXPECT_EQ(again.read(QStringLiteral("ИС-11\\2\\Очная"), QStringLiteral("4\\0")),
              QStringLiteral("Сидорова"));
    EXPECT_EQ(again.read(QStringLiteral("ИС-12\\2\\Очная"), QStringLiteral("3\\1")),
              QStringLiteral("Другой"));
    EXPECT_EQ(again.read(QStringLiteral("ИС-12\\2\\Очная"), QStringLiteral("4\\0"), "-"),
              QStringLiteral("-"));

    EXPECT_EQ(QString::fromUtf8(readTestFile(ini.path())).count(QStringLiteral("[ИС-11")), 1);
}

TEST(IniFile, LineBreaksBecomeBlanksAndRemoveDeletes)
{
    TestFolder folder;
    IniFile ini(folder.file(QStringLiteral("kvt1.tmp")));
    ASSERT_TRUE(ini.write("A", "k", QStringLiteral("раз\r\nдва\nтри\rчетыре")));
    EXPECT_EQ(ini.read("A", "k"), QStringLiteral("раз два три четыре"));
    EXPECT_TRUE(ini.remove());
    EXPECT_FALSE(QFile::exists(ini.path()));
    EXPECT_TRUE(ini.remove()); // already gone
}

} // namespace
} // namespace korvesta
