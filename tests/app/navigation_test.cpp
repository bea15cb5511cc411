#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "support/testdocument.h"
#include "views/datechange.h"
#include "views/dispatchplan.h"
#include "views/displaytextmodes.h"
#include "views/gridappearance.h"
#include "views/navigationstate.h"
#include "views/uisettings.h"
#include "views/viewtable.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <map>

namespace korvesta {
namespace {

const QString kSettings = QStringLiteral("Settings");

// Each view stands in its own section, and its menu key names that section and item.
TEST(ViewTable, EveryMenuKeyNamesItsOwnView)
{
    int views = 0;
    for (int s = 0; s < ViewTable::SectionCount; ++s) {
        for (const ViewEntry &view : ViewTable::items(s)) {
            EXPECT_EQ(view.section, s);
            EXPECT_EQ(ViewTable::find(view.code()), &view);
            if (view.hasMenuEntry()) {
                const auto choice = ViewTable::parseMenuKey(QString::fromLatin1(view.menuKey));
                ASSERT_TRUE(choice) << view.menuKey;
                EXPECT_EQ(choice->section * 10 + choice->item, view.code());
            }
            ++views;
        }
    }
    EXPECT_GT(views, 0);
    EXPECT_EQ(ViewTable::find(3), nullptr);
    EXPECT_EQ(ViewTable::find(60), nullptr);
    EXPECT_EQ(ViewTable::singleLineCaption(41), QStringLiteral("Расписание занятий на неделю"));
}

TEST(ViewTable, MenuKeysOfAnotherFormChooseNothing)
{
    for (const char *key : {"gr0", "gr001", "grxx", "tu36", "rp53", "gr 1", ""})
        EXPECT_FALSE(ViewTable::parseMenuKey(QString::fromLatin1(key))) << key;
}

TEST(DisplayTextModes, EachTagIsTheSumOfItsParts)
{
    const std::map<QString, int> weights = {
        {"dGroup", 1},     {"dTutor", 3},  {"dDiscipline", 7},
        {"dAuditoria", 11}, {"dLesson", 24}, {"dDiscipline1", 29},
    };
    for (const DisplayTextMode &mode : DisplayTextModes::all()) {
        int sum = 0;
        for (const QString &part : mode.key.split(QStringLiteral(" + ")))
            sum += weights.at(part);
        EXPECT_EQ(sum, mode.tag) << mode.key.toStdString();
    }
}

TEST(DisplayTextModes, StoredPerItemWithTheirDefaults)
{
    TestFolder folder;
    SettingsStore store(folder.file("settings.ini"));
    EXPECT_EQ(DisplayTextModes::current(store, 0), 18);
    EXPECT_EQ(DisplayTextModes::current(store, 1), 18);
    EXPECT_EQ(DisplayTextModes::current(store, 2), 8);
    EXPECT_EQ(DisplayTextModes::resetValue(store, 2), 8);
    store.writeInt(kSettings, "DisplayTextDefault1", 45);
    EXPECT_EQ(DisplayTextModes::resetValue(store, 1), 45);
    DisplayTextModes::setCurrent(store, 2, 25);
    EXPECT_EQ(store.readText(kSettings, "DisplayText2", "?"), QStringLiteral("25"));
}

TEST(NavigationState, SectionsAndItemsMakeTheViewCode)
{
    NavigationState state;
    EXPECT_EQ(state.viewCode(), 0);
    EXPECT_TRUE(state.selectSection(3));
    state.selectItem(4);
    EXPECT_EQ(state.viewCode(), 34);
    // The same section again goes back to its first item.
    EXPECT_FALSE(state.selectSection(3));
    EXPECT_EQ(state.viewCode(), 30);
    state.selectItem(6); // no such item
    state.selectSection(9);
    EXPECT_EQ(state.viewCode(), 30);

    state.selectSection(0);
    state.selectNewRecord();
    state.setEditExisting(true);
    EXPECT_EQ(state.beginDispatch(), 1);
    EXPECT_FALSE(state.editExisting());
    state.endDispatch(1);
    EXPECT_EQ(state.previousViewCode(), 1);
}

class DispatchPlanTest : public ::testing::Test
{
protected:
    DispatchPlan plan(int code, int previous = 0) const
    {
        return DispatchPlan::make(code, previous, record, store);
    }

    TestFolder folder;
    SettingsStore store{folder.file("settings.ini")};
    SettingsRecord record;
};

TEST_F(DispatchPlanTest, MenusButtonsAndPanesFollowTheView)
{
    const struct
    {
        int code;
        EditMenu edit;
        bool saveTable, exportToExcel, timetable, aud, preview, pickers;
        ObjectKind objects;
    } rows[] = {
        {0, EditMenu::Groups, true, true, false, false, false, false, ObjectKind::None},
        {2, EditMenu::Groups, true, true, false, false, false, false, ObjectKind::Groups},
        {10, EditMenu::Disciplines, true, true, false, false, false, false, ObjectKind::None},
        {20, EditMenu::Auditoriums, true, true, false, false, false, false, ObjectKind::None},
        {30, EditMenu::Load, true, true, false, true, false, false, ObjectKind::None},
        {31, EditMenu::None, false, true, false, true, false, false, ObjectKind::None},
        {33, EditMenu::None, false, true, false, true, false, true, ObjectKind::Tutors},
        {35, EditMenu::None, false, true, false, true, false, true, ObjectKind::None},
        {40, EditMenu::Timetable, false, true, true, false, false, false, ObjectKind::None},
        {42, EditMenu::Timetable, false, true, true, false, false, false, ObjectKind::None},
        {43, EditMenu::BusyTime, false, true, true, false, false, false, ObjectKind::Tutors},
        {51, EditMenu::None, true, false, false, false, true, false, ObjectKind::Groups},
        {52, EditMenu::None, true, false, false, false, true, false, ObjectKind::Auditoriums},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.code);
        const DispatchPlan p = plan(row.code);
        EXPECT_EQ(p.editMenu, row.edit);
        EXPECT_EQ(p.saveTable, row.saveTable);
        EXPECT_EQ(p.exportToExcel, row.exportToExcel);
        EXPECT_EQ(p.timetableTools, row.timetable);
        EXPECT_EQ(p.timetableService, row.timetable);
        EXPECT_EQ(p.middlePaneMenu, row.timetable);
        EXPECT_EQ(p.disableAud, !row.aud);
        EXPECT_EQ(p.showPreview, row.preview);
        EXPECT_EQ(p.periodPickers, row.pickers);
        EXPECT_EQ(p.objectList, row.objects);
        EXPECT_EQ(p.secondCalendar, row.preview);
    }
    EXPECT_EQ(plan(40).gridMode, 2);
    EXPECT_EQ(plan(42).gridMode, 8);
    EXPECT_EQ(plan(30).gridMode, 0);
    EXPECT_FALSE(plan(20).gridMode);
}

TEST_F(DispatchPlanTest, ANewRecordViewOpensOnlyOverTheListOfItsSection)
{
    EXPECT_TRUE(plan(1, 0).runFill);
    EXPECT_FALSE(plan(1, 10).runFill);
    EXPECT_FALSE(plan(1, 10).clearGrid);
    EXPECT_TRUE(plan(11, 10).runFill);
    EXPECT_TRUE(plan(31, 30).runFill);
    EXPECT_FALSE(plan(21, 21).runFill);
    EXPECT_TRUE(plan(10, 1).clearGrid);
}

TEST_F(DispatchPlanTest, BusyTimeNeedsFreeWindow)
{
    EXPECT_TRUE(plan(43).runFill);
    record.FreeWindow = false;
    const DispatchPlan p = plan(43);
    EXPECT_FALSE(p.runFill);
    EXPECT_TRUE(p.clearGrid);
    EXPECT_EQ(p.objectList, ObjectKind::None);
    EXPECT_FALSE(p.objectPane);
}

TEST_F(DispatchPlanTest, TheTimetableShowsTheObjectPaneAsSaved)
{
    EXPECT_EQ(plan(41).middlePaneChecked, false);
    EXPECT_FALSE(plan(41).objectPane);
    UiSettings::setMiddlePaneOnTimeTable(store, true);
    for (int code : {40, 41, 42}) {
        EXPECT_EQ(plan(code).middlePaneChecked, true);
        EXPECT_TRUE(plan(code).tabStrip);
        EXPECT_TRUE(plan(code).objectPane);
    }
    EXPECT_FALSE(plan(43).middlePaneChecked);
    EXPECT_FALSE(plan(30).middlePaneChecked);
}

TEST_F(DispatchPlanTest, DisplayModesAndBusyMarksFollowTheSettings)
{
    const auto shown = [](const DispatchPlan &p, const char *key) {
        const auto modes = DisplayTextModes::all();
        for (std::size_t i = 0; i < modes.size(); ++i) {
            if (modes[i].key == QLatin1String(key))
                return bool(p.displayTextShown.at(i));
        }
        return false;
    };
    EXPECT_TRUE(shown(plan(42), "dGroup"));
    EXPECT_FALSE(shown(plan(42), "dTutor"));
    EXPECT_TRUE(shown(plan(40), "dTutor"));
    EXPECT_FALSE(shown(plan(41), "dGroup + dAuditoria"));
    EXPECT_TRUE(shown(plan(41), "dDiscipline + dAuditoria"));
    EXPECT_TRUE(plan(42).displayTextButton);
    EXPECT_TRUE(plan(43).displayTextButton);
    EXPECT_FALSE(plan(30).displayTextButton);

    // Entry n of the menu stands for kind n + 1.
    EXPECT_TRUE(plan(43).busyTimeShown[2]);
    EXPECT_TRUE(plan(43).busyTimeIcons);
    store.writeInt(kSettings, "ShowBusyTime3", 0);
    store.writeInt(kSettings, "ShowBusyTimeIconNoLetter", 0);
    EXPECT_FALSE(plan(43).busyTimeShown[2]);
    EXPECT_TRUE(plan(43).busyTimeShown[3]);
    EXPECT_FALSE(plan(43).busyTimeIcons);
    store.writeInt(kSettings, "ShowBusyTimeIconNoLetter", 2);
    EXPECT_FALSE(plan(43).busyTimeIcons);
}

TEST(DateChange, RefillsDateViewsAndTellsOfDaysOff)
{
    const QDate saturday(2024, 3, 16);
    const QDate friday(2024, 3, 15);
    const struct
    {
        int code;
        QDate date;
        int workDays;
        bool refill, dayOff;
    } rows[] = {
        {0, saturday, 5, false, true},  {34, friday, 5, false, false},
        {35, friday, 5, true, false},   {40, saturday, 6, true, false},
        {41, QDate(2024, 3, 17), 6, true, true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.code);
        const DateChange change = DateChange::make(row.code, row.date, row.workDays);
        EXPECT_EQ(change.refill, row.refill);
        EXPECT_EQ(change.dayOff, row.dayOff);
    }
    EXPECT_EQ(DateChange::make(0, QDate(2008, 1, 5), 5).dateText, QStringLiteral("05.01.2008"));
    EXPECT_EQ(DateChange::lockComment(true),
              QStringLiteral("Дата заблокирована для редактирования"));
    EXPECT_TRUE(DateChange::lockComment(false).isEmpty());
}

TEST(ViewTable, DateViewsAreTitledWithTheirDates)
{
    const QDate monday(2026, 9, 7);
    const QDate sunday(2026, 9, 13);
    const struct
    {
        int code;
        QDate date;
        int workDays;
        QString title;
    } rows[] = {
        {40, monday, 5, QStringLiteral("Расписание занятий на день: понедельник, 07.09.2026")},
        {42, sunday, 5,
         QStringLiteral("График работы преподавателей: воскресенье, 13.09.2026")},
        {41, sunday, 5, QStringLiteral("Расписание занятий на неделю: 07.09.2026 – 11.09.2026")},
        {41, monday, 6, QStringLiteral("Расписание занятий на неделю: 07.09.2026 – 12.09.2026")},
        {43, monday, 5, QStringLiteral("Занятость преподавателя: сентябрь 2026")},
        {0, monday, 5, QStringLiteral("Список групп")},
        {35, monday, 5, QStringLiteral("Отработка (полная)")},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ViewTable::viewTitle(row.code, row.date, row.workDays), row.title) << row.code;

    EXPECT_EQ(ViewTable::editTitle(1, QStringLiteral("ИС-11  (1)")),
              QStringLiteral("Изменение группы ИС-11  (1)"));
    EXPECT_EQ(ViewTable::editTitle(21, QStringLiteral(" ")),
              QStringLiteral("Изменение аудитории"));
    EXPECT_EQ(ViewTable::editTitle(0, QStringLiteral("x")), QStringLiteral("Список групп"));
}

TEST(UiSettings, EachDocumentKeepsItsLastView)
{
    TestFolder folder;
    SettingsStore store(folder.file("settings.ini"));
    const QString college = folder.file("Колледж.kvt");
    const QString school = folder.file("школа; 2.kvt");
    EXPECT_FALSE(UiSettings::lastView(store, college));
    UiSettings::setLastView(store, college, {33, QStringLiteral("tu5"), QDate(2026, 10, 14)});
    UiSettings::setLastView(store, school, {41, QStringLiteral("a;b"), QDate()});

    const auto first = UiSettings::lastView(store, folder.path() + "/./Колледж.kvt");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->code, 33);
    EXPECT_EQ(first->object, QStringLiteral("tu5"));
    EXPECT_EQ(first->date, QDate(2026, 10, 14));
    const auto second = UiSettings::lastView(store, school);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->code, 41);
    EXPECT_EQ(second->object, QStringLiteral("a;b"));
    EXPECT_FALSE(second->date.isValid());

    // A damaged value reads as nothing remembered.
    QStringList keys;
    {
        QSettings ini(store.fileName(), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("LastView"));
        keys = ini.childKeys();
    }
    ASSERT_EQ(keys.size(), 2);
    for (const char *bad : {"", "x;2026-10-14;tu5", "-1;;", "7"}) {
        for (const QString &key : keys)
            store.write(QStringLiteral("LastView"), key, QString::fromUtf8(bad));
        EXPECT_FALSE(UiSettings::lastView(store, college)) << bad;
    }
}

TEST(UiSettings, AFreshUserGetsTheDefaults)
{
    TestFolder folder;
    SettingsStore store(folder.file("settings.ini"));
    EXPECT_TRUE(UiSettings::leftPane(store));
    EXPECT_FALSE(UiSettings::middlePaneOnTimeTable(store));
    EXPECT_EQ(UiSettings::tabStripSelected(store), 2); // the setting's 3: the auditoriums
    UiSettings::setTabStripSelected(store, 3);
    EXPECT_EQ(store.readText(kSettings, "TabStripSelected", "?"), QStringLiteral("4"));
    UiSettings::setLeftPane(store, false);
    UiSettings::setShowColorItem(store, false);
    store.write(kSettings, "TabStripSelected", "9");
    EXPECT_EQ(store.readText(kSettings, "LeftPane", "?"), QStringLiteral("False"));
    EXPECT_EQ(store.readText(kSettings, "ShowColorItem", "?"), QStringLiteral("0"));
    EXPECT_EQ(UiSettings::tabStripSelected(store), 2);

    // The record reads ShowColorItem back from the button's 0 or 1.
    SettingsRecord record;
    record.load(store);
    EXPECT_FALSE(record.ShowColorItem);
}

TEST(GridAppearance, FontAndBackgroundAreKeptAsText)
{
    TestFolder folder;
    SettingsStore store(folder.file("settings.ini"));
    GridAppearance fresh = GridAppearance::load(store);
    EXPECT_EQ(fresh.fontSize, 8);
    EXPECT_TRUE(fresh.fontName.isEmpty());
    EXPECT_FALSE(fresh.bold);
    EXPECT_FALSE(fresh.foreColor);
    EXPECT_FALSE(fresh.backColorBkg);
    // With no name saved the grid keeps its own face.
    QFont designed(QStringLiteral("DejaVu Sans"), 10);
    EXPECT_EQ(fresh.applyTo(designed).family(), designed.family());
    EXPECT_EQ(fresh.applyTo(designed).pointSizeF(), 8);

    GridAppearance chosen;
    chosen.takeFont(QFont(QStringLiteral("Liberation Serif"), 11, QFont::Bold, true));
    chosen.fontSize = 10.5;
    chosen.foreColor = 0x000000FF; // red
    chosen.backColorBkg = 0x00E0E0E0;
    chosen.saveFont(store);
    chosen.saveBackground(store);
    const struct
    {
        const char *key, *text;
    } stored[] = {
        {"GridFontBold", "True"},       {"GridFontItalic", "True"},
        {"GridFontName", "Liberation Serif"}, {"GridFontSize", "10.5"},
        {"GridForeColor", "255"},       {"GridBackColorBkg", "14737632"},
    };
    for (const auto &s : stored)
        EXPECT_EQ(store.readText(kSettings, s.key, "?"), QString::fromUtf8(s.text)) << s.key;

    const GridAppearance loaded = GridAppearance::load(store);
    EXPECT_TRUE(loaded.bold && loaded.italic);
    EXPECT_EQ(loaded.fontName, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(loaded.fontSize, 10.5);
    EXPECT_EQ(loaded.foreColor, 255u);
    EXPECT_EQ(loaded.backColorBkg, 0x00E0E0E0u);
}

TEST(GridAppearance, BadValuesFallBackToTheGridsOwn)
{
    TestFolder folder;
    SettingsStore store(folder.file("settings.ini"));
    store.write(kSettings, "GridFontSize", "9,5"); // written with a decimal comma
    store.write(kSettings, "GridFontBold", "жирный");
    store.write(kSettings, "GridForeColor", "красный");
    store.write(kSettings, "GridBackColorBkg", "-2147483633"); // a system colour, signed
    const GridAppearance look = GridAppearance::load(store);
    EXPECT_EQ(look.fontSize, 9.5);
    EXPECT_FALSE(look.bold);
    EXPECT_FALSE(look.foreColor);
    EXPECT_EQ(look.backColorBkg, 0x8000000Fu);

    store.write(kSettings, "GridFontSize", "0");
    EXPECT_EQ(GridAppearance::load(store).fontSize, 8);
}

} // namespace
} // namespace korvesta
