#include "app/filecommands.h"
#include "app/gridlookcommands.h"
#include "app/helpcommands.h"
#include "app/statusbarpanels.h"
#include "data/calendar.h"
#include "data/connection.h"
#include "settings/recentdocuments.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace korvesta {
namespace {

const QString kSettings = QStringLiteral("Settings");

// A window whose fills count their runs and remember what they were given.
class MainWindowTest : public WindowTest
{
protected:
    void beforeStart(frmMain &w) override
    {
        for (int code : {0, 1, 10, 11, 30, 32, 40, 42}) {
            w.fills().setFill(code, [this, code](ViewContext &ctx) {
                ++fills[code];
                lastContext = {ctx.viewCode, ctx.previousViewCode, ctx.calendarDate};
                ctx.grid.setCols(2);
                ctx.grid.setRows(3);
                ctx.grid.setText(1, 1, QString::number(code));
            });
        }
    }

    QString panel(int number) const { return window->statusPanels()->panelText(number); }
    bool editMenuShown(EditMenu menu) const
    {
        return window->editMenu(menu)->menuAction()->isVisible();
    }
    void click(const char *name) { QTest::mouseClick(child(name), Qt::LeftButton); }

    struct Seen
    {
        int code = -1;
        int previous = -1;
        QDate date;
    };
    std::map<int, int> fills;
    Seen lastContext;
};

TEST_F(MainWindowTest, StartsOnANewDocumentWithTheDefaults)
{
    open();
    const QDate today = QDate::currentDate();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Тарвела - Новое расписание"));
    EXPECT_TRUE(QFile::exists(session.paths().newDocumentFile()));
    EXPECT_TRUE(child("picLeftPane")->isVisible());
    EXPECT_FALSE(child("ToolbarView")->isVisible());
    EXPECT_TRUE(command("submenuShowLeftPane")->isChecked());

    EXPECT_EQ(panel(2), today.toString("dd.MM.yyyy"));
    EXPECT_EQ(child<QDateEdit>("DTPickerFrom")->date(), academicYearStart(today));
    EXPECT_EQ(child<QDateEdit>("DTPickerTo")->date(), today);
    EXPECT_EQ(child<QCalendarWidget>("MonthView1")->selectedDate(), today);
    EXPECT_FALSE(child("MonthView1")->isVisible());

    EXPECT_FALSE(command("ButtonView")->isEnabled());
    EXPECT_TRUE(command("ButtonTotals")->isChecked());
    EXPECT_TRUE(command("ButtonShowColorItem")->isChecked());
    // A new document opens on the group list, filled.
    EXPECT_EQ(fills, (std::map<int, int>{{0, 1}}));
    EXPECT_EQ(code(), 0);
    EXPECT_EQ(child<QLabel>("Label1")->text(), QStringLiteral("Список групп"));
    EXPECT_TRUE(prompts.shown.empty());
}

// The sample is one menu entry away; the documents opened last are on the Файл menu, newest
// first, and one that is gone is dropped when chosen.
TEST_F(MainWindowTest, TheSampleAndTheRecentDocumentsAreOnTheFileMenu)
{
    open();
    const QString sample = window->fileCommands().samplePath();
    ASSERT_FALSE(QFile::exists(sample));
    command("submenuOpenSample")->trigger();
    ASSERT_TRUE(QFile::exists(sample));
    EXPECT_EQ(session.currentPath(), QFileInfo(sample).absoluteFilePath());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Тарвела - Пример колледжа"));
    // Its lectures are read to several groups: the norm is raised, in the store too, and said.
    EXPECT_GE(window->settingsRecord().CountGroupOnLecture, 2);
    EXPECT_EQ(store.readInt("Settings", "CountGroupOnLecture", 1),
              window->settingsRecord().CountGroupOnLecture);
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message)
                    .last()
                    .startsWith(QStringLiteral("Количество групп для лекционного занятия")));

    const QString other = folder.file("другой.kvt");
    ASSERT_TRUE(QFile::copy(sample, other));
    window->fileCommands().openRecent(other);
    EXPECT_EQ(RecentDocuments::list(store),
              (QStringList{QFileInfo(other).absoluteFilePath(), QFileInfo(sample).absoluteFilePath()}));
    auto *recent = window->findChild<QMenu *>(QStringLiteral("submenuRecent"));
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_TRUE(recent->actions()[1]->text().endsWith(QStringLiteral("Пример колледжа.kvt")));

    // The sample deleted is written again; a recent document deleted is dropped, with a word.
    recent->actions()[1]->trigger();
    EXPECT_EQ(session.currentPath(), QFileInfo(sample).absoluteFilePath());
    ASSERT_TRUE(QFile::remove(other));
    window->fileCommands().openRecent(other);
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message).last(),
              QStringLiteral("Файл ") + QDir::toNativeSeparators(other)
                  + QStringLiteral(" не найден.\r\nОн убран из списка последних документов."));
    EXPECT_EQ(RecentDocuments::list(store), QStringList{QFileInfo(sample).absoluteFilePath()});
    EXPECT_EQ(session.currentPath(), QFileInfo(sample).absoluteFilePath());

    // A server document is listed by its address as written.
    const QString server = QStringLiteral("postgresql:///tt?host=/run/postgresql");
    RecentDocuments::remember(store, server);
    RecentDocuments::remember(store, server);
    EXPECT_EQ(RecentDocuments::list(store),
              (QStringList{server, QFileInfo(sample).absoluteFilePath()}));
}

TEST_F(MainWindowTest, WithoutTheNavigationBarTheSectionToolbarShows)
{
    store.writeBool(kSettings, "LeftPane", false);
    open();
    EXPECT_FALSE(child("picLeftPane")->isVisible());
    EXPECT_TRUE(child("ToolbarView")->isVisible());
    EXPECT_FALSE(command("submenuShowLeftPane")->isChecked());

    // Its menus choose views as the bar does.
    command("tu33")->trigger();
    EXPECT_EQ(code(), 33);
    EXPECT_TRUE(command("ButtonTutors")->isChecked());

    command("submenuShowLeftPane")->trigger();
    EXPECT_TRUE(child("picLeftPane")->isVisible());
    EXPECT_FALSE(child("ToolbarView")->isVisible());
    EXPECT_EQ(store.readText(kSettings, "LeftPane", "?"), QStringLiteral("True"));
}

TEST_F(MainWindowTest, SectionsAndItemsChooseTheViewWithItsMenus)
{
    open();
    click("cmdButton(4)");
    EXPECT_EQ(code(), 40);
    click("navView42");
    EXPECT_EQ(code(), 42);
    EXPECT_TRUE(child<QLabel>("Label1")->text().startsWith(
        QStringLiteral("График работы преподавателей: ")));
    EXPECT_TRUE(editMenuShown(EditMenu::Timetable));
    EXPECT_FALSE(editMenuShown(EditMenu::Groups));
    for (const char *name : {"ButtonFind", "ButtonView", "submenuShowMiddlePane"})
        EXPECT_TRUE(command(name)->isEnabled()) << name;
    EXPECT_FALSE(command("ButtonSave")->isEnabled());
    EXPECT_FALSE(command("ButtonAud")->isEnabled());
    // The work schedule offers the group modes and not the tutor's.
    EXPECT_TRUE(child<QAction>("dGroup")->isVisible());
    EXPECT_FALSE(child<QAction>("dTutor")->isVisible());
    EXPECT_FALSE(panel(StatusBarPanels::WeekNumber).isEmpty());

    command("submnuView(0)")->trigger();
    EXPECT_EQ(code(), 0);
    EXPECT_TRUE(editMenuShown(EditMenu::Groups));
    EXPECT_FALSE(editMenuShown(EditMenu::Timetable));
    EXPECT_FALSE(command("ButtonCopy")->isEnabled());
    EXPECT_FALSE(command("submenuShowMiddlePane")->isEnabled());
    EXPECT_TRUE(child<QToolButton>("cmdButton(0)")->isChecked());

    click("cmdButton(5)");
    EXPECT_TRUE(child("VSPrinter1")->isVisible());
    EXPECT_FALSE(child("VSFlexGrid1")->isVisible());
    EXPECT_TRUE(child("MonthView2")->isVisible());
    EXPECT_FALSE(command("ButtonExportToExcel")->isEnabled());
}

TEST_F(MainWindowTest, F5RefillsTheSameViewForTheSameDate)
{
    open();
    click("cmdButton(1)");
    EXPECT_EQ(fills[10], 1);
    QTest::keyClick(window->grid(), Qt::Key_F5);
    EXPECT_EQ(fills[10], 2);
    EXPECT_EQ(code(), 10);
    EXPECT_EQ(lastContext.date, QDate::currentDate());
    EXPECT_EQ(window->grid()->model()->text(1, 1), QStringLiteral("10"));
}

TEST_F(MainWindowTest, ANewRecordViewOpensOverItsOwnList)
{
    open();
    click("cmdButton(1)");
    // Chosen while the discipline list is shown, the new group changes nothing.
    window->navigation().selectSection(0);
    window->dispatcher().itemClicked(1);
    EXPECT_EQ(fills[1], 0);
    EXPECT_EQ(window->grid()->model()->text(1, 1), QStringLiteral("10"));

    // From the section toolbar it shows the group list first.
    click("cmdButton(1)");
    fills[0] = 0;
    command("gr01")->trigger();
    EXPECT_EQ(fills[0], 1);
    EXPECT_EQ(fills[1], 1);
    EXPECT_EQ(lastContext.previous, 0);

    click("cmdButton(1)");
    command("submenuAddDiscipline")->trigger();
    EXPECT_EQ(fills[11], 1);
    EXPECT_EQ(code(), 11);
}

TEST_F(MainWindowTest, PanelSevenShowsAndHidesTheCalendar)
{
    open();
    QLabel *label = window->statusPanels()->panel(StatusBarPanels::CalendarLabel);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_TRUE(child("MonthView1")->isVisible());
    EXPECT_TRUE(command("submenuCalendar")->isChecked());
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_FALSE(child("MonthView1")->isVisible());

    window->setCalendarShown(true);
    QTest::keyClick(window->grid(), Qt::Key_Escape);
    EXPECT_FALSE(child("MonthView1")->isVisible());
}

// In a narrow window the comment keeps room: the clock goes first, then today's date, then
// the lock keys; a wide window shows them all again.
TEST(StatusBar, ANarrowWindowKeepsRoomForTheComment)
{
    StatusBarPanels bar;
    bar.show();
    const auto shown = [&bar](StatusBarPanels::Panel p) { return bar.panel(p)->isVisible(); };
    bar.resize(1600, bar.sizeHint().height());
    for (int p = StatusBarPanels::TodayLabel; p <= StatusBarPanels::Comment; ++p)
        EXPECT_TRUE(shown(StatusBarPanels::Panel(p))) << p;
    bar.resize(700, bar.height());
    EXPECT_FALSE(shown(StatusBarPanels::Time));
    EXPECT_TRUE(shown(StatusBarPanels::CalendarDate) && shown(StatusBarPanels::WeekNumber));
    QApplication::processEvents();
    EXPECT_GE(bar.panel(StatusBarPanels::Comment)->width(), 150);
    bar.showFilter(QStringLiteral("Осталась нагрузка"));
    QApplication::processEvents();
    EXPECT_GE(bar.panel(StatusBarPanels::Comment)->width(), 150);
    bar.resize(1600, bar.height());
    EXPECT_TRUE(shown(StatusBarPanels::Time) && shown(StatusBarPanels::Today));
}

TEST_F(MainWindowTest, AChosenDateTellsOfDaysOffLocksAndRefillsDateViews)
{
    open();
    const QDate friday(2024, 3, 15);
    const QDate saturday(2024, 3, 16);
    Database::open(session.currentPath())
        .execute(QStringLiteral("INSERT INTO tblTimeTableList ([Date], ReadOnly) "
                                "VALUES (#3/15/2024#, True);"));
    auto *calendar = child<QCalendarWidget>("MonthView1");
    const auto choose = [&](const QDate &date) {
        window->setCalendarShown(true);
        calendar->setSelectedDate(date);
        emit calendar->clicked(date);
    };

    click("cmdButton(0)");
    fills[0] = 0;
    choose(saturday);
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
              QStringList{QStringLiteral("Выбран выходной день")});
    EXPECT_EQ(fills[0], 0); // the group list does not depend on the date
    EXPECT_EQ(panel(StatusBarPanels::CalendarDate), QStringLiteral("16.03.2024"));
    EXPECT_FALSE(child("MonthView1")->isVisible());
    EXPECT_FALSE(command("ButtonAccessEdit")->isChecked());

    choose(friday);
    EXPECT_EQ(panel(StatusBarPanels::Comment),
              QStringLiteral("Дата заблокирована для редактирования"));

    window->settingsRecord().WorkDays = 6;
    prompts.shown.clear();
    click("cmdButton(4)");
    choose(saturday);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(fills[40], 2);
    EXPECT_EQ(lastContext.date, saturday);
    EXPECT_TRUE(panel(StatusBarPanels::Comment).isEmpty());
}

TEST_F(MainWindowTest, ToolbarButtonsKeepTheirSettings)
{
    store.writeInt(kSettings, "DisplayTextDefault2", 25);
    open();
    window->dispatcher().menuKeyChosen(QStringLiteral("tt42"));
    command("ButtonView")->trigger();
    EXPECT_EQ(store.readText(kSettings, "DisplayText2", "?"), QStringLiteral("25"));
    child<QAction>("dGroup + dAuditoria")->trigger();
    EXPECT_EQ(store.readText(kSettings, "DisplayText2", "?"), QStringLiteral("12"));
    EXPECT_EQ(fills[42], 3);

    // The filter offers itself where the view has something to filter by.
    EXPECT_FALSE(command("ButtonFilter")->isEnabled());
    window->fills().setFilterEntries(42, [](ViewContext &) { return QStringList{"1 курс"}; });
    command("ButtonView")->trigger();
    EXPECT_TRUE(command("ButtonFilter")->isEnabled());

    command("ButtonShowColorItem")->trigger();
    EXPECT_EQ(store.readText(kSettings, "ShowColorItem", "?"), QStringLiteral("0"));
    EXPECT_FALSE(window->settingsRecord().ShowColorItem);
    command("ButtonTotals")->trigger();
    EXPECT_FALSE(window->settingsRecord().ShowTotals);
    EXPECT_EQ(store.readText(kSettings, "ShowTotals", "?"), QStringLiteral("?"));
}

TEST_F(MainWindowTest, TheObjectListCompletesItsView)
{
    open();
    QString chosen;
    window->fills().setFill(32, [](ViewContext &ctx) {
        ctx.objects.headers = {QStringLiteral("Преподаватель")};
        ctx.objects.entries = {{"tu5", {QStringLiteral("Иванов И. И.")}, "TUTOR"},
                               {"tu7", {QStringLiteral("Петров П. П.")}, "TUTOR"}};
    });
    window->fills().setObjectFill(32, [&](ViewContext &, const ObjectListEntry &entry) {
        chosen = entry.recordKey();
    });
    window->dispatcher().menuKeyChosen(QStringLiteral("tu32"));
    auto *list = child<QTreeWidget>("listAction");
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_TRUE(child("fraDTPickerPeriod")->isVisible());
    QApplication::processEvents(); // lay the freshly shown list out before aiming at a row
    const QRect second = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(chosen, QStringLiteral("7"));

    click("cmdButton(4)");
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->topLevelItemCount(), 0);
    command("submenuShowMiddlePane")->trigger();
    EXPECT_TRUE(child("TabStrip1")->isVisible());
    EXPECT_EQ(store.readText(kSettings, "ShowMiddlePaneOnTimeTable", "?"), QStringLiteral("True"));

    // A tab click refills the pane with objects of the tab clicked, not of the one before.
    int refilledFor = -1;
    window->fills().setPaneRefill(40, [&](ViewContext &ctx) { refilledFor = ctx.tab; });
    auto *tabs = child<QTabBar>("TabStrip1");
    QApplication::processEvents();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(refilledFor, 1);
    EXPECT_EQ(store.readText(kSettings, "TabStripSelected", "?"), QStringLiteral("2")); // counted from 1
}

TEST_F(MainWindowTest, HelpIsShownOrItsAbsenceExplained)
{
    open();
    HelpCommands &help = window->helpCommands();
    help.setHelpFile(folder.file("нет.html"));
    EXPECT_FALSE(help.showHelp());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, HelpCommands::MissingMessage);
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Information);

    writeTestFile(folder.file("index.html"), "<html><body><h1>Справка</h1></body></html>");
    help.setHelpFile(folder.file("index.html"));
    EXPECT_TRUE(help.showHelp());
    EXPECT_TRUE(help.helpWindow()->isVisible());
}

TEST_F(MainWindowTest, TheGridsLookIsSavedAndRestored)
{
    open();
    window->gridLook().setFontChooser([](const QFont &, const QColor &) {
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPointSizeF(12);
        font.setBold(true);
        return GridLookCommands::FontChoice{font, QColor(Qt::red)};
    });
    command("ButtonFont")->trigger();
    prompts.colorAnswers.push_back(QColor(200, 220, 240));
    EXPECT_TRUE(window->gridLook().chooseBackground());

    // Kept in the settings: a new window shows them.
    closeWindow();
    open();
    EXPECT_EQ(grid().font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(grid().font().pointSizeF(), 12);
    EXPECT_EQ(grid().foreColor(), QColor(Qt::red));
    EXPECT_EQ(grid().backColorBkg(), QColor(200, 220, 240));
    EXPECT_EQ(window->printPreview()->palette().color(QPalette::Window), QColor(200, 220, 240));
}

TEST_F(MainWindowTest, AStartDocumentThatIsNoneIsReplacedByANewOne)
{
    writeTestFile(folder.file("junk.kvt"), "not a timetable");
    const struct
    {
        QString path;
        const char *says;
    } cases[] = {
        {folder.file("нет такого.kvt"), "не найден"},
        {folder.file("junk.kvt"), "не является файлом расписания"},
    };
    for (const auto &c : cases) {
        prompts.shown.clear();
        open({c.path});
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_TRUE(prompts.shown[0].text.contains(QString::fromUtf8(c.says)));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Тарвела - Новое расписание"));
        closeWindow();
    }

    const QString document = newTestDocument(folder, QStringLiteral("Колледж.kvt"));
    open({document});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Тарвела - Колледж"));
    EXPECT_EQ(session.currentPath(), document);

    // The options record follows "Открыть", so that saving the options keeps the new PathDB.
    const QString other = newTestDocument(folder, QStringLiteral("Лицей.kvt"));
    prompts.fileAnswers.push_back(other);
    command("submenuOpenDB")->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Тарвела - Лицей"));
    EXPECT_EQ(window->settingsRecord().PathDB, other);
}

TEST_F(MainWindowTest, AStartDocumentHeldByAnotherProgramStays)
{
    const QString document = newTestDocument(folder, QStringLiteral("Колледж.kvt"));
    Connection::setLockWait(50);
    sqlite3 *other = nullptr;
    sqlite3_open_v2(QFile::encodeName(document).constData(), &other, SQLITE_OPEN_READWRITE,
                    nullptr);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    open({document});
    sqlite3_close_v2(other);
    Connection::setLockWait(5000);
    ASSERT_FALSE(prompts.texts(ScriptedPrompts::Kind::Message).isEmpty());
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message)[0].contains(
        QStringLiteral("занят другой программой")));
    EXPECT_EQ(session.currentPath(), document);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Тарвела - Колледж"));
}

TEST_F(MainWindowTest, ClosingDeletesAnEmptyNewDocument)
{
    open();
    const QString file = session.paths().newDocumentFile();
    ASSERT_TRUE(QFile::exists(file));
    command("submenuExit")->trigger();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(prompts.shown.empty());
}

} // namespace
} // namespace korvesta
