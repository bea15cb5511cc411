#include "routerfixture.h"

#include "interaction/entryrows.h"
#include "views/frames/entryarea.h"

namespace korvesta {
namespace {

using Answer = Prompts::Answer;

// The Delete key on the header and totals rows, and double clicks outside the records.
TEST_F(RouterTest, DeleteOrDoubleClickOutsideTheRecordsDoesNothing)
{
    settings.ShowTotals = true;
    show(0, 0);
    const int groups = grid.rows();
    std::vector<int> rows = {0};
    for (int row = 1; row < grid.rows(); ++row) {
        if (grid.isSubtotal(row) || grid.text(row, 1).startsWith(QStringLiteral("Всего")))
            rows.push_back(row);
    }
    ASSERT_GE(rows.size(), 3u) << "header, course totals and the summary row";
    for (const int row : rows) {
        grid.setCurrentCell(row, 2);
        router.keyUp(Qt::Key_Delete);
        EXPECT_TRUE(prompts.shown.empty()) << "row " << row;
    }
    for (const auto &[row, col] : {std::pair{0, 2}, {3, 0}, {-1, -1}}) {
        router.doubleClicked(row, col);
        EXPECT_EQ(navigation.viewCode(), 0);
    }
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_EQ(grid.rows(), groups);
    EXPECT_EQ(count("SELECT count(*) FROM tblGroups"), 6);
}

TEST_F(RouterTest, DeleteKeyAndMenuDeleteTheRowsRecordAndRefill)
{
    show(0, 0);
    grid.setCurrentCell(grid.findRow(QStringLiteral("Э-31"), 2), 2);
    prompts.answers = {Answer::No};
    router.command(EditCommand::DeleteGroup);
    EXPECT_EQ(host.refreshes, 1) << "nothing deleted, nothing refilled";

    prompts.answers = {Answer::Yes};
    router.keyUp(Qt::Key_Delete);
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::YesNo).last(),
              QStringLiteral("Удалить группу 'Э-31' (курс '3')?"));
    EXPECT_EQ(count("SELECT count(*) FROM tblGroups WHERE \"Group\" = 'Э-31'"), 0);
    EXPECT_EQ(host.refreshes, 2);
    EXPECT_EQ(grid.findRow(QStringLiteral("Э-31"), 2), -1);
    EXPECT_TRUE(prompts.exhausted());
}

TEST_F(RouterTest, AcceptWithEmptyRequiredCellKeepsTheRowThenEnterSaves)
{
    show(0, 0);
    router.command(EditCommand::EditGroup); // no row chosen yet: nothing
    navigation.selectNewRecord();
    host.refresh();
    ASSERT_EQ(grid.text(entryarea::AcceptRow, entryarea::ButtonCol), entryarea::AcceptText);
    grid.setText(1, 1, QStringLiteral(" 4к "));

    moveTo(entryarea::AcceptRow, entryarea::ButtonCol);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Поле Группа не должно быть пустым")});
    EXPECT_EQ(navigation.viewCode(), 1);
    EXPECT_EQ(grid.text(1, 1), QStringLiteral(" 4к "));

    grid.setText(1, 2, QStringLiteral("Новая"));
    moveTo(1, 2);
    EXPECT_EQ(grid.editMode(), EditMode::KeyboardMouse);
    moveTo(1, 3);
    EXPECT_EQ(grid.editMode(), EditMode::None) << "the colour comes from the picker";
    prompts.colorAnswers = {QColor(0x11, 0x22, 0x33)};
    EXPECT_TRUE(router.keyDown(Qt::Key_Return));

    grid.setCurrentCell(entryarea::AcceptRow, entryarea::ButtonCol);
    EXPECT_TRUE(router.keyDown(Qt::Key_Return));
    EXPECT_EQ(count("SELECT count(*) FROM tblGroups WHERE \"Group\" = 'Новая' AND Course = '4К' "
                    "AND GroupColor = 3351057"),
              1);
    EXPECT_EQ(navigation.viewCode(), 0);
    EXPECT_FALSE(navigation.editExisting());
    EXPECT_EQ(grid.text(grid.currentRow(), 2), QStringLiteral("Новая"));
    EXPECT_EQ(grid.text(grid.currentRow(), 1), QStringLiteral("4К"));
}

TEST_F(RouterTest, CancelLeavesTheDocumentAsItWas)
{
    show(0, 0);
    navigation.selectNewRecord();
    host.refresh();
    grid.setText(1, 1, QStringLiteral("1"));
    grid.setText(1, 2, QStringLiteral("Лишняя"));
    moveTo(entryarea::CancelRow, entryarea::ButtonCol);
    EXPECT_EQ(navigation.viewCode(), 0);
    EXPECT_EQ(grid.findRow(entryarea::AcceptText, entryarea::ButtonCol), -1);
    EXPECT_EQ(count("SELECT count(*) FROM tblGroups"), 6);
}

TEST_F(RouterTest, EditOfAnExistingGroupRewritesItAndFindsItAgain)
{
    show(0, 0);
    const int row = grid.findRow(QStringLiteral("П-9"), 2);
    grid.setCurrentCell(row, 2);
    router.doubleClicked(row, 2);
    ASSERT_EQ(navigation.viewCode(), 1);
    EXPECT_TRUE(navigation.editExisting());
    EXPECT_EQ(router.currentKey(), s.p9);
    EXPECT_EQ(grid.text(1, 2), QStringLiteral("П-9"));

    // Typing the name of another group of the course is refused.
    grid.setText(1, 2, QStringLiteral("п-10"));
    moveTo(entryarea::AcceptRow, entryarea::ButtonCol);
    EXPECT_EQ(messages().last(), QStringLiteral("Такая группа уже существует"));
    EXPECT_TRUE(navigation.editExisting());

    grid.setText(1, 2, QStringLiteral("П-9а"));
    grid.setText(1, 7, QStringLiteral("переименована"));
    router.keyDown(Qt::Key_Enter);
    EXPECT_EQ(
        b.raw(QStringLiteral("SELECT \"Group\", Comment FROM tblGroups WHERE Key = %1").arg(s.p9)),
        QStringList{QStringLiteral("П-9а|переименована")});
    EXPECT_EQ(count("SELECT count(*) FROM tblGroups"), 6);
    EXPECT_EQ(navigation.viewCode(), 0);
    EXPECT_FALSE(navigation.editExisting());
    EXPECT_EQ(router.currentKey(), 0);
    EXPECT_EQ(grid.text(grid.currentRow(), 2), QStringLiteral("П-9а"));
}

TEST_F(RouterTest, ARowNotFoundAgainIsSavedAsNewNotOverTheRecordEditedBefore)
{
    // A name stored with a trailing blank is not found by the trimmed text of the list.
    b.add("tblGroups", {"Group", "Ц-1 ", "Course", "4", "Key_TypeFaculty", 1});
    show(0, 0);
    const int p9 = grid.findRow(QStringLiteral("П-9"), 2);
    router.doubleClicked(p9, 2);
    ASSERT_EQ(router.currentKey(), s.p9);

    const int other = grid.findRow(QStringLiteral("Ц-1 "), 2, entryarea::Rows + 1);
    ASSERT_GT(other, entryarea::Rows);
    router.doubleClicked(other, 2);
    EXPECT_EQ(grid.text(1, 2), QStringLiteral("Ц-1 "));
    EXPECT_FALSE(navigation.editExisting());
    EXPECT_EQ(router.currentKey(), 0);

    grid.setText(1, 2, QStringLiteral("Ц-2"));
    moveTo(entryarea::AcceptRow, entryarea::ButtonCol);
    EXPECT_EQ(count("SELECT count(*) FROM tblGroups WHERE \"Group\" IN ('П-9', 'Ц-1 ', 'Ц-2')"), 3);
}

TEST_F(RouterTest, EditMenusFillTheEntryAreaWithTheRecordsKey)
{
    const struct
    {
        int section;
        QString name; // column 2 of the list
        int key;
        EditCommand command;
    } cases[] = {
        {1, QStringLiteral("Физ"), s.physics, EditCommand::EditDiscipline},
        {2, QStringLiteral("Лаб (хим)"), s.lab, EditCommand::EditAuditoria},
        {0, QStringLiteral("ИС-21"), s.isFit, EditCommand::EditGroup},
    };
    for (const auto &c : cases) {
        show(c.section, 0);
        grid.setCurrentCell(grid.findRow(c.name, 2), 2);
        router.command(c.command);
        EXPECT_EQ(navigation.viewCode(), c.section * 10 + 1) << qPrintable(c.name);
        EXPECT_EQ(grid.text(1, 2), c.name);
        EXPECT_EQ(router.currentKey(), c.key) << qPrintable(c.name);
        EXPECT_TRUE(navigation.editExisting());
    }
    // A double click on the first column of the discipline list edits nothing.
    show(1, 0);
    router.doubleClicked(grid.findRow(QStringLiteral("Физ"), 2), 1);
    EXPECT_EQ(navigation.viewCode(), 10);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(RouterTest, DropDownListsOfTheEntryRow)
{
    settings.UseTypeFaculty = true;
    show(0, 0);
    navigation.selectNewRecord();
    host.refresh();
    ASSERT_TRUE(router.beforeEdit(1, 4));
    EXPECT_EQ(grid.comboList(),
              QStringLiteral("1\tотсутствует|%1\tФИТ|%2\tФЭМ").arg(s.facultyFit).arg(s.facultyFem));
    ASSERT_TRUE(router.beforeEdit(1, 2));
    EXPECT_EQ(grid.comboList(), QString()) << "a name is typed";
    EXPECT_FALSE(router.beforeEdit(entryarea::AcceptRow, entryarea::ButtonCol));

    b.raw(QStringLiteral("DELETE FROM tblTypeFaculty"));
    EXPECT_FALSE(router.beforeEdit(1, 4));
    EXPECT_EQ(messages().last(),
              QStringLiteral("Отсутствует перечень факультетов\r\n"
                             "Пожалуйста, выберите меню 'Настройки', вкладка 'Данные'\r\n"
                             "и задайте список факультетов\r\n"
                             "или отключите функцию использования факультетов на вкладке "
                             "'Нормативы'"));

    show(1, 0);
    navigation.selectNewRecord();
    host.refresh();
    ASSERT_TRUE(router.beforeEdit(1, 5));
    EXPECT_EQ(grid.comboList(), QStringLiteral("Лёгкий|Средний|Трудный"));
}

TEST_F(RouterTest, TimetableDoubleClickChecksTheDay)
{
    // A day timetable's headers: course and group over one lesson row.
    navigation.selectSection(4);
    grid.setCols(2);
    grid.setRows(3);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    grid.setText(0, 1, QStringLiteral("1 курс"));
    grid.setText(1, 1, QStringLiteral("П-9"));

    views.date = s.past.addDays(6); // Sunday
    router.doubleClicked(2, 1);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Выбран выходной день")});
    EXPECT_TRUE(targets.calls.isEmpty());

    views.date = s.past.addDays(4); // П-9's exam
    router.doubleClicked(2, 1);
    EXPECT_EQ(messages().last(), QStringLiteral("На данный день назначен экзамен в группе П-9"));
    EXPECT_EQ(targets.calls,
              QStringList{QStringLiteral("group 2 1 ") + views.date.toString(Qt::ISODate)});
}

TEST_F(RouterTest, DeleteInTheDayTimetableClearsOnlyACellWithALesson)
{
    navigation.selectSection(4);
    grid.setCols(3);
    grid.setRows(3);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    grid.setText(1, 1, QStringLiteral("П-9"));
    grid.setText(1, 2, QStringLiteral("П-10"));
    grid.setText(2, 2, QStringLiteral("Матем"));
    views.date = s.past;
    for (const int col : {1, 2}) {
        grid.setCurrentCell(2, col);
        router.keyUp(Qt::Key_Delete);
    }
    EXPECT_EQ(targets.calls,
              QStringList{QStringLiteral("clear 2 2 ") + s.past.toString(Qt::ISODate)});
}

TEST_F(RouterTest, WeekTimetableTakesTheDayFromTheRowHeading)
{
    settings.WorkDays = 6;
    navigation.selectSection(4);
    navigation.selectItem(1);
    grid.setCols(3);
    grid.setRows(4);
    grid.setFixedRows(2);
    grid.setFixedCols(2);
    grid.setText(0, 2, QStringLiteral("1 курс"));
    grid.setText(1, 2, QStringLiteral("П-10"));
    grid.setText(2, 0, QStringLiteral("Суббота"));
    grid.setText(3, 0, QStringLiteral("Воскресенье"));
    views.date = s.past.addDays(2); // a Wednesday of the same week

    router.doubleClicked(3, 2);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Выбран выходной день")});
    router.doubleClicked(2, 2);
    EXPECT_EQ(targets.calls,
              QStringList{QStringLiteral("group 2 2 ") + s.past.addDays(5).toString(Qt::ISODate)});
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(RouterTest, ContextMenusFollowTheView)
{
    const struct
    {
        int section, item, col;
        EditMenu menu;
    } cases[] = {
        {0, 2, 1, EditMenu::None}, {0, 0, 1, EditMenu::Groups},    {2, 0, 1, EditMenu::Auditoriums},
        {3, 0, 3, EditMenu::Load}, {4, 1, 1, EditMenu::Timetable}, {4, 3, 2, EditMenu::BusyTime},
    };
    for (const auto &c : cases) {
        navigation.selectSection(c.section);
        navigation.selectItem(c.item);
        grid.setCols(6);
        grid.setRows(3);
        grid.setCurrentCell(1, c.col);
        host.menu = EditMenu::None;
        router.mouseUp(Qt::RightButton);
        EXPECT_EQ(host.menu, c.menu) << "view " << navigation.viewCode();
    }
    // The load at column 3: a discipline or group may be added, the hours not edited.
    navigation.selectSection(3);
    grid.setCurrentCell(1, 3);
    router.mouseUp(Qt::RightButton);
    EXPECT_TRUE(host.menuState.addGroup);
    EXPECT_FALSE(host.menuState.editHours);

    grid.setText(1, 4, QString());
    router.command(EditCommand::EditLoadHours);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Не выбрана группа")});
    grid.setText(1, 4, QStringLiteral("П-9  (1)"));
    router.doubleClicked(1, 5);
    // The line goes into an entry row above the load; its hours typed change them.
    EXPECT_EQ(grid.text(2, 4), QStringLiteral("П-9  (1)"));
    EXPECT_EQ(grid.text(1, 4), QStringLiteral("П-9  (1)"));
    EXPECT_EQ(grid.currentCol(), 5);
    EXPECT_TRUE(targets.calls.isEmpty());
    grid.setText(1, 5, QStringLiteral("12"));
    router.afterEdit(1, 5);
    EXPECT_EQ(targets.calls, QStringList{QStringLiteral("hours 1")});
    EXPECT_EQ(host.refreshes, 1);
}

TEST_F(RouterTest, ExamDateOfThePassport)
{
    navigation.selectItem(2);
    grid.setCols(7);
    grid.setRows(3);
    grid.setFixedRows(1);
    grid.setText(1, 1, QStringLiteral("Иванов И.И."));
    grid.setText(1, 6, QStringLiteral("01.02.2027"));
    moveTo(1, 6);
    EXPECT_EQ(grid.editMode(), EditMode::KeyboardMouse);
    moveTo(2, 6);
    EXPECT_EQ(grid.editMode(), EditMode::None) << "no load line";

    router.beforeEdit(1, 6);
    grid.setText(1, 6, QStringLiteral("31.02.2027"));
    router.afterEdit(1, 6);
    EXPECT_EQ(prompts.shown.back().text, QStringLiteral("Неверный формат даты"));
    EXPECT_EQ(prompts.shown.back().icon, Prompts::Icon::Critical);
    EXPECT_EQ(grid.text(1, 6), QStringLiteral("01.02.2027"));

    grid.setText(1, 6, QStringLiteral("5.3.2027"));
    router.afterEdit(1, 6);
    EXPECT_EQ(targets.calls, QStringList{QStringLiteral("exam 1 2027-03-05")});
    EXPECT_EQ(grid.text(1, 6), QStringLiteral("05.03.2027"));
}

// Double clicks in the new tutor's entry area start typing there, not the load's commands.
TEST_F(RouterTest, DoubleClickInTheNewTutorsEntryAreaAsksNothing)
{
    show(3, 0);
    navigation.selectNewRecord();
    host.refresh();
    ASSERT_EQ(grid.text(entryarea::AcceptRow, entryarea::ButtonCol), entryarea::AcceptText);
    for (int col = 1; col <= 5; ++col)
        router.doubleClicked(entryarea::Row, col);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(targets.calls.isEmpty());
    EXPECT_EQ(navigation.viewCode(), 31);
}

// A new tutor is found again in the refilled load by his name alone: the load's other
// columns belong to its lines.
TEST(EntryRowsTest, NewTutorIsFoundAgainByName)
{
    GridModel entry;
    entry.setCols(7);
    entry.setRows(8);
    entry.setFixedRows(1);
    entry.setText(1, 1, QStringLiteral(" Сидоров "));
    entry.setText(1, 2, QStringLiteral("101 (Главный)"));

    GridModel load;
    load.setCols(7);
    load.setRows(4);
    load.setFixedRows(1);
    load.setText(1, 1, QStringLiteral("Иванов И.И."));
    load.setText(2, 1, QStringLiteral("Сидоров"));
    load.setText(2, 3, QStringLiteral("Матем"));
    load.setText(3, 1, QStringLiteral("Петров П.П."));
    EXPECT_EQ(entryrows::findListRow(load, entryrows::listedCells(entry, 31)), 2);
}

} // namespace
} // namespace korvesta
