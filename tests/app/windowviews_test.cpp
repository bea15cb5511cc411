// The window on the sample college with its real fills: what a planner sees of widths,
// captions, the entry area and the commands.

#include "app/frmcheck.h"
#include "app/objectpane.h"
#include "app/statusbarpanels.h"
#include "data/database.h"
#include "data/recordset.h"
#include "grid/twips.h"
#include "sample/demodocument.h"
#include "support/windowfixture.h"
#include "views/frames/entryarea.h"
#include "views/timetable/timetablelayout.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// One sample document per test program run: writing it is the slow part.
QString sampleDocument()
{
    static TestFolder folder;
    static const QString path = [] {
        const QString file = folder.file(QStringLiteral("Колледж.kvt"));
        writeDemoDocument(file, DemoRequest::fullYear(DemoSize::Small, 2026));
        return file;
    }();
    return path;
}

class WindowOnSampleTest : public WindowTest
{
protected:
    frmMain &open() { return WindowTest::open({sampleDocument()}); }

    QString title() const { return child<QLabel>("Label1")->text(); }
    void chooseObject(int index)
    {
        auto *list = child<QTreeWidget>("listAction");
        ASSERT_GT(list->topLevelItemCount(), index);
        QTreeWidgetItem *item = list->topLevelItem(index);
        list->setCurrentItem(item);
        emit list->itemClicked(item, 0);
    }
    // The first row of a list that shows a record (no total, no header).
    int firstRecordRow() const
    {
        for (int row = grid().fixedRows(); row < grid().rows(); ++row) {
            if (!grid().isSubtotal(row) && !grid().text(row, 2).trimmed().isEmpty())
                return row;
        }
        return -1;
    }
};

// The columns of a frame made of fractions of the grid's width fill it, beside the object
// pane or without it, and need no scroll bar.
TEST_F(WindowOnSampleTest, FramesAreMeasuredOnTheGridAsItIsShown)
{
    open();
    const auto columnsWidth = [this] {
        int pixels = 0;
        for (int col = 0; col < grid().cols(); ++col) {
            if (!grid().isColHidden(col))
                pixels += twipsToPixels(grid().colWidth(col));
        }
        return pixels;
    };
    // Most steps come from a view whose panes differ from their own.
    const struct
    {
        int code;
        bool chooseObject;
        bool paneShown;
        bool fractions; // the frame's columns are fractions of the grid's width
    } steps[] = {
        {33, false, true, false}, {0, false, false, true}, {2, false, true, true},
        {2, true, true, true},    {10, false, false, true}, {32, false, true, false},
        {20, false, false, true}, {2, true, true, true},
    };
    for (const auto &step : steps) {
        show(step.code);
        if (step.chooseObject)
            chooseObject(0);
        QApplication::processEvents();
        const QWidget *viewport = window->grid()->viewport();
        EXPECT_EQ(child("picMiddlePane")->isVisible(), step.paneShown) << step.code;
        if (!step.fractions)
            continue;
        EXPECT_EQ(window->grid()->horizontalScrollBar()->maximum(), 0) << step.code;
        EXPECT_LE(columnsWidth(), viewport->width()) << step.code;
        EXPECT_GE(columnsWidth(), viewport->width() * 9 / 10) << step.code;
    }
}

TEST_F(WindowOnSampleTest, TheListsShowEveryTextWhole)
{
    open();
    // The lists' columns are shares of the grid's width; a total such as "Всего групп: 10"
    // must grow its row rather than lose its number.
    for (const int code : {0, 10, 20}) {
        show(code);
        QApplication::processEvents();
        for (int row = 0; row < grid().rows(); ++row) {
            for (int col = 0; col < grid().cols(); ++col) {
                if (grid().isColHidden(col) || grid().colWidth(col) == 0)
                    continue;
                EXPECT_FALSE(window->grid()->isTextCut(row, col))
                    << code << ": " << grid().text(row, col).toStdString();
            }
        }
    }
}

TEST_F(WindowOnSampleTest, AddingToACollapsedListOpensTheEntryAreaForTyping)
{
    const struct
    {
        int list;
        const char *add;
    } lists[] = {
        {0, "submenuAddGroup"}, {10, "submenuAddDiscipline"}, {20, "submenuAddAuditoria"}};
    open();
    for (const auto &c : lists) {
        show(c.list);
        command("ButtonCollapsed")->trigger();
        command(c.add)->trigger();
        ASSERT_EQ(code(), c.list + 1);
        ASSERT_EQ(grid().text(entryarea::AcceptRow, entryarea::ButtonCol), entryarea::AcceptText);
        for (int row = entryarea::Row; row < entryarea::Row + entryarea::Rows; ++row)
            EXPECT_FALSE(grid().isRowHidden(row)) << c.list << " row " << row;
        EXPECT_EQ(grid().currentRow(), 1);
        EXPECT_EQ(grid().currentCol(), 1);
        EXPECT_TRUE(window->grid()->hasFocus()) << c.list;
        // Only the group the area joined is opened; the others stay collapsed.
        int hidden = 0;
        for (int row = 0; row < grid().rows(); ++row)
            hidden += grid().isRowHidden(row) ? 1 : 0;
        EXPECT_GT(hidden, 0) << c.list;

        QTest::keyClicks(window->grid(), QStringLiteral("1"));
        ASSERT_TRUE(window->grid()->isEditing()) << c.list;
        QTest::keyClick(window->grid()->editor(), Qt::Key_Escape);
    }
}

TEST_F(WindowOnSampleTest, AnEditedRecordIsTitledAsAnEdit)
{
    const struct
    {
        int list;
        const char *edit;
        QString title;
    } lists[] = {
        {0, "submenuEditGroup", QStringLiteral("Изменение группы ПК-1  (1)")},
        {10, "submenuEditDiscipline", QStringLiteral("Изменение дисциплины ")},
        {20, "submenuEditAuditoria", QStringLiteral("Изменение аудитории ")},
    };
    open();
    for (const auto &c : lists) {
        show(c.list);
        const int row = firstRecordRow();
        ASSERT_GT(row, 0);
        const QString name = grid().text(row, 2).trimmed();
        grid().setCurrentCell(row, 2);
        command(c.edit)->trigger();
        ASSERT_TRUE(window->navigation().editExisting()) << c.list;
        EXPECT_TRUE(title().startsWith(c.title)) << title().toStdString();
        EXPECT_TRUE(title().contains(name)) << title().toStdString();

        // Back on the list, the list's own title.
        show(c.list);
        EXPECT_FALSE(title().startsWith(QStringLiteral("Изменение")));
    }
    // A new record keeps the new record's title.
    command("submenuAddAuditoria")->trigger();
    EXPECT_EQ(title(), QStringLiteral("Новая аудитория"));
}

TEST_F(WindowOnSampleTest, TheDateViewsSayWhichDateTheyShow)
{
    open();
    auto *calendar = child<QCalendarWidget>("MonthView1");
    const QDate monday(2026, 9, 7);
    show(40);
    calendar->setSelectedDate(monday);
    emit calendar->clicked(monday);
    EXPECT_EQ(title(), QStringLiteral("Расписание занятий на день: понедельник, 07.09.2026"));
    show(41);
    EXPECT_EQ(title(), QStringLiteral("Расписание занятий на неделю: 07.09.2026 – 11.09.2026"));
    // The status panel tells the date as before.
    EXPECT_EQ(window->statusPanels()->panelText(StatusBarPanels::CalendarDate),
              QStringLiteral("07.09.2026"));
}

TEST_F(WindowOnSampleTest, TheAuditoriumMenuDeletesAsTheDeleteKeyDoes)
{
    open();
    show(20);
    EXPECT_TRUE(window->editMenu(EditMenu::Auditoriums)
                    ->actions()
                    .contains(command("submenuDeleteAuditoria")));
    const int row = firstRecordRow();
    ASSERT_GT(row, 0);
    grid().setCurrentCell(row, 2);
    prompts.answers = {Prompts::Answer::No, Prompts::Answer::No};
    command("submenuDeleteAuditoria")->trigger();
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_TRUE(prompts.shown[0].text.contains(grid().text(row, 2).trimmed()))
        << prompts.shown[0].text.toStdString();
}

// Moving through the day timetable with the tutors tab: the list shows the tutors busy at
// the cell's lesson in red, and a move is no tab choice (nothing saved).
TEST_F(WindowOnSampleTest, TheFreeBusyListFollowsTheCellOfTheDayTimetable)
{
    store.writeBool(QStringLiteral("Settings"), QStringLiteral("ShowMiddlePaneOnTimeTable"), true);
    store.writeInt(QStringLiteral("Settings"), QStringLiteral("TabStripSelected"), 4); // tutors
    const Database db = Database::open(sampleDocument());
    Recordset busiest = db.openRecordset(QStringLiteral(
        "SELECT TOP 1 tblTimeTableList.Date FROM tblTimeTableList INNER JOIN "
        "tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList "
        "GROUP BY tblTimeTableList.Date ORDER BY Count(*) DESC, tblTimeTableList.Date"));
    QDate date = busiest.value(0).toDate();
    if (!date.isValid())
        date = QDate::fromString(busiest.value(0).toString().left(10), Qt::ISODate);
    open();
    child<QCalendarWidget>("MonthView1")->setSelectedDate(date);
    show(40);
    auto *list = child<QTreeWidget>("listAction");
    ASSERT_GT(list->topLevelItemCount(), 0);

    const auto busyShown = [&] {
        QStringList busy;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = list->topLevelItem(i);
            if (item->foreground(0).color() == QColor(Qt::red))
                busy << item->text(0);
        }
        return busy;
    };
    const auto busyInDocument = [&](int lesson) {
        QStringList busy;
        for (Recordset rs = db.openRecordset(
                 QStringLiteral("SELECT DISTINCT tblTutors.Tutor FROM ((tblTimeTableList INNER "
                                "JOIN tblTimeTableContent ON tblTimeTableList.Key = "
                                "tblTimeTableContent.Key_TTList) INNER JOIN tblJob ON "
                                "tblJob.Key = tblTimeTableContent.Key_Job) INNER JOIN tblTutors "
                                "ON tblTutors.Key = tblJob.Key_Tutor WHERE "
                                "tblTimeTableList.Date = #%1# AND tblTimeTableContent.Lesson = %2 "
                                "ORDER BY tblTutors.Tutor")
                     .arg(date.toString(QStringLiteral("M/d/yyyy")))
                     .arg(lesson));
             !rs.isEof(); rs.moveNext())
            busy << rs.value(0).toString();
        return busy;
    };
    // Every tutor teaching at the lesson shows busy (a tutor away at it does too).
    const auto expectBusyAt = [&](int lesson) {
        const QStringList shown = busyShown();
        QStringList missing = busyInDocument(lesson);
        ASSERT_FALSE(missing.isEmpty()) << lesson;
        for (const QString &tutor : shown)
            missing.removeAll(tutor);
        EXPECT_TRUE(missing.isEmpty()) << lesson << " " << missing.join(", ").toStdString();
    };
    expectBusyAt(1); // the heading cell the view opens on stands for lesson 1
    const int col = grid().fixedCols();
    QStringList before = busyShown();
    for (const int lesson : {3, 2}) {
        grid().setCurrentCell(grid().fixedRows() + lesson - 1, col);
        QApplication::processEvents();
        expectBusyAt(lesson);
        EXPECT_NE(busyShown(), before) << lesson;
        before = busyShown();
    }
    store.writeInt(QStringLiteral("Settings"), QStringLiteral("TabStripSelected"), 0);
    grid().setCurrentCell(grid().fixedRows(), col);
    EXPECT_EQ(
        store.readText(QStringLiteral("Settings"), QStringLiteral("TabStripSelected"), QString()),
        QStringLiteral("0"));
}

TEST_F(WindowOnSampleTest, TheObjectPaneShowsEveryTab)
{
    store.writeBool(QStringLiteral("Settings"), QStringLiteral("ShowMiddlePaneOnTimeTable"), true);
    open();
    show(40);
    QApplication::processEvents();
    auto *tabs = child<QTabBar>("TabStrip1");
    ASSERT_TRUE(tabs->isVisible());
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(i))) << i;
    EXPECT_GE(child("picMiddlePane")->width(), tabs->sizeHint().width());
}

TEST_F(WindowOnSampleTest, TheWindowOpensWhereThePlannerLeftTheDocument)
{
    open();
    // The first time: the group list, filled.
    EXPECT_EQ(code(), 0);
    EXPECT_GT(firstRecordRow(), 0);

    show(33);
    chooseObject(2);
    const QString tutor = child<QTreeWidget>("listAction")->topLevelItem(2)->text(0);
    const QDate date(2026, 10, 14);
    child<QCalendarWidget>("MonthView1")->setSelectedDate(date);
    emit child<QCalendarWidget>("MonthView1")->clicked(date);
    const int rows = grid().rows();
    closeWindow();

    open();
    EXPECT_EQ(code(), 33);
    EXPECT_EQ(title(), QStringLiteral("Табель"));
    EXPECT_EQ(window->objectPane()->selectedObjectText(), tutor);
    EXPECT_EQ(grid().rows(), rows);
    EXPECT_EQ(child<QCalendarWidget>("MonthView1")->selectedDate(), date);

    // Another document keeps its own place.
    const QString other = newTestDocument(folder, QStringLiteral("Лицей.kvt"));
    prompts.fileAnswers.push_back(other);
    command("submenuOpenDB")->trigger();
    EXPECT_EQ(code(), 33);
    show(10);
    prompts.fileAnswers.push_back(sampleDocument());
    command("submenuOpenDB")->trigger();
    EXPECT_EQ(code(), 33);
    EXPECT_EQ(window->objectPane()->selectedObjectText(), tutor);
}

// A tutor's timesheet and his busy time as the menus of the busy-time view change it; the
// month follows the calendar with the tutor still chosen.
TEST_F(WindowOnSampleTest, AccountingViewsOfATutorFollowPeriodMenusAndCalendar)
{
    open();
    show(33);
    chooseObject(0);
    ASSERT_GT(grid().rows(), 2);
    EXPECT_EQ(grid().text(1, 4), "всего");
    EXPECT_FALSE(grid().text(2, 1).isEmpty());
    EXPECT_EQ(grid().cellPicture(2, 2), "GROUP");

    show(43);
    auto *calendar = child<QCalendarWidget>("MonthView1");
    calendar->setSelectedDate(QDate(2026, 10, 14));
    emit calendar->clicked(QDate(2026, 10, 14));
    chooseObject(0);
    const auto marks = [this](bool letters) {
        int count = 0;
        for (int row = 2; row < 2 + 14; ++row) {
            for (int col = 2; col < 33; ++col)
                count += letters ? !grid().text(row, col).isEmpty()
                                 : !grid().cellPicture(row, col).isEmpty();
        }
        return count;
    };
    const int icons = marks(false);
    ASSERT_GT(icons, 0);
    EXPECT_EQ(marks(true), 0);
    ASSERT_TRUE(command("submenuBTShowIcon(1)")->isEnabled());
    command("submenuBTShowIcon(1)")->trigger();
    EXPECT_EQ(marks(true), icons);
    EXPECT_EQ(marks(false), 0);
    EXPECT_EQ(store.readInt("Settings", "ShowBusyTimeIconNoLetter", 1), 0);
    // Rest days hidden: the Saturday of 17 October keeps nothing.
    command("submenuBTShow(4)")->trigger();
    EXPECT_EQ(store.readInt("Settings", "ShowBusyTime5", 1), 0);
    EXPECT_EQ(grid().text(2, 17 + 1), "");
    command("submenuBTShow(4)")->trigger();
    EXPECT_EQ(grid().text(2, 17 + 1), "В");

    // November: the chosen tutor's month, 30 days.
    calendar->setSelectedDate(QDate(2026, 11, 3));
    emit calendar->clicked(QDate(2026, 11, 3));
    EXPECT_EQ(grid().text(1, 1 + 1), "вс");
    EXPECT_EQ(grid().colWidth(31 + 1), 0);
    EXPECT_GT(marks(true), 0);
}

// Day cells selected in a tutor's busy time take the kind of the legend line clicked next;
// the row command removes the marks of its lesson after the question.
TEST_F(WindowOnSampleTest, BusyTimeMarksFromTheLegendAndRemovedByRow)
{
    open();
    store.writeInt("Settings", "ShowBusyTimeLocalDate", 2); // marks for dates
    show(43);
    auto *calendar = child<QCalendarWidget>("MonthView1");
    calendar->setSelectedDate(QDate(2026, 11, 4));
    emit calendar->clicked(QDate(2026, 11, 4));
    chooseObject(0);
    const auto sick = [this] {
        return Database::open(session.currentPath())
            .openRecordset("SELECT Count(*) FROM tblTutorOut WHERE KeyTypeOut = 2 AND "
                           "FreeLocalDate Between #11/4/2026# And #11/5/2026# AND "
                           "FreeLesson In (2, 3)")
            .value(0)
            .toInt();
    };
    const int before = sick();
    // Lessons 2 and 3 of 4 and 5 November, then the legend's "По болезни" line.
    grid().setSelection(3, 5, 4, 6);
    grid().setCurrentCell(14 + 2 + 4, 5);
    EXPECT_EQ(sick(), before + 4);

    grid().setCurrentCell(3, 5);
    prompts.answers = {Prompts::Answer::Yes};
    ASSERT_TRUE(command("subsubmenuBTDelete(1)")->isEnabled());
    command("subsubmenuBTDelete(1)")->trigger();
    EXPECT_EQ(sick(), 2);
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::YesNo).value(0).contains("на дату 04.11.2026"));
}

// The sample has no clash; one planted is listed, and its double click opens the day view on
// its date with the group's cell of that lesson chosen.
TEST_F(WindowOnSampleTest, TheCheckListsAPlantedClashAndOpensItsCell)
{
    TestFolder own;
    const QString copy = own.file("Проверка.kvt");
    ASSERT_TRUE(QFile::copy(sampleDocument(), copy));
    WindowTest::open({copy});
    command("submenuCheckTimeTable")->trigger();
    frmCheck *list = window->checkList();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->result().errors, 0);

    // A second lesson for a group, whole, beside one it already has: another tutor's line.
    Database::open(copy).execute(
        "INSERT INTO tblTimeTableContent (Key_TTList, Key_Job, Key_Group, Lesson, Key_Aud, "
        "SubGroup, Key_TypeLesson) SELECT TOP 1 c.Key_TTList, (SELECT TOP 1 j.Key FROM tblJob j "
        "WHERE j.Key <> c.Key_Job), c.Key_Group, c.Lesson, c.Key_Aud, c.SubGroup, "
        "c.Key_TypeLesson FROM tblTimeTableContent c INNER JOIN tblTimeTableList d ON d.Key = "
        "c.Key_TTList WHERE Not d.ReadOnly AND Weekday(d.[Date], 2) <= 5 ORDER BY d.[Date] DESC");
    list->runCheck();
    const auto clash = std::find_if(
        list->result().problems.begin(), list->result().problems.end(),
        [](const TimetableProblem &p) { return p.kind == ProblemKind::GroupClash; });
    ASSERT_NE(clash, list->result().problems.end());
    auto *tree = list->findChild<QTreeWidget *>("lstProblems");
    ASSERT_GT(tree->topLevelItemCount(), 0);

    ASSERT_TRUE(list->openProblem(*clash));
    EXPECT_EQ(code(), 40);
    EXPECT_EQ(window->calendar()->selectedDate(), clash->date);
    const GridModel &g = grid();
    const TimetableLayout layout =
        TimetableLayout::ofGrid(TimetableKind::Day, window->settingsRecord(), g);
    EXPECT_EQ(g.text(layout.objectRow(), g.currentCol()).trimmed(), clash->group);
    EXPECT_EQ(layout.lessonOfRow(g, g.currentRow()), clash->lesson);
    closeWindow(); // before its document's folder goes
}

// The commands every view offers, and those only some views do.
TEST_F(WindowOnSampleTest, CommandsFollowTheView)
{
    open();
    for (int view : {0, 20, 30, 40, 42, 43}) {
        show(view);
        for (const char *name : {"ButtonFont", "ButtonTotals", "ButtonUnCollapsed",
                                 "submenuCalendar", "mnuSettings", "submenuCheckTimeTable",
                                 "submenuExport", "submenuPrintPreview"})
            EXPECT_TRUE(command(name)->isEnabled()) << name << " in " << view;
        // Only the load narrows its rows; copying and clearing belong to the timetables.
        EXPECT_EQ(command("ButtonFilter")->isEnabled(), view == 30) << view;
        EXPECT_EQ(command("submenuCopyTimeTable")->isEnabled(), view / 10 == 4) << view;
    }
}

// The lock button follows the calendar's date and locks or unlocks it under the password.
TEST_F(WindowOnSampleTest, LockButtonLocksAndUnlocksTheCalendarDate)
{
    open();
    show(40);
    const QDate date(2024, 3, 15);
    auto *calendar = child<QCalendarWidget>("MonthView1");
    calendar->setSelectedDate(date);
    emit calendar->clicked(date);
    QAction *button = command("ButtonAccessEdit");
    ASSERT_TRUE(button->isEnabled());
    EXPECT_FALSE(button->isChecked());
    const auto lockedInDocument = [&] {
        Recordset rs = Database::open(session.currentPath())
                           .openRecordset(QStringLiteral("SELECT ReadOnly FROM tblTimeTableList "
                                                         "WHERE [Date] = #3/15/2024#"));
        return !rs.isEof() && rs.value(0).toBool();
    };

    button->trigger(); // a date without a row gets one, locked
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(lockedInDocument());
    EXPECT_EQ(window->statusPanels()->panelText(StatusBarPanels::Comment),
              QStringLiteral("Дата заблокирована для редактирования"));

    store.write("Settings", "AccessEditPwd", "секрет");
    prompts.textAnswers = {QStringLiteral("не тот"), std::nullopt, QStringLiteral("секрет")};
    button->trigger(); // a wrong password
    EXPECT_TRUE(button->isChecked());
    button->trigger(); // cancelled
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(lockedInDocument());
    button->trigger();
    EXPECT_FALSE(button->isChecked());
    EXPECT_FALSE(lockedInDocument());
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
              QStringList({"Доступ к редактированию расписания закрыт", "Неверный пароль",
                           "Доступ к редактированию расписания открыт"}));
    EXPECT_TRUE(prompts.exhausted());
}

} // namespace
} // namespace korvesta
