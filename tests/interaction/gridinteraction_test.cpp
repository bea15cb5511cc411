#include "support/windowfixture.h"
#include "views/frames/entryarea.h"
#include "views/frames/listframes.h"
#include "views/viewcontext.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// The window on a document the test builds first.
class GridInteractionTest : public WindowTest
{
protected:
    frmMain &open() { return WindowTest::open({path}); }
    GridView *view() const { return window->grid(); }
    void clickCell(int row, int col)
    {
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {},
                          view()->cellRect(row, col).center());
    }
    // Keys go where the application sends them: to an open list, else to the focus.
    static QWidget *target()
    {
        QWidget *popup = QApplication::activePopupWidget();
        return popup && popup->focusWidget() ? popup->focusWidget() : QApplication::focusWidget();
    }
    static void keys(std::initializer_list<Qt::Key> list)
    {
        for (const Qt::Key key : list)
            QTest::keyClick(target(), key);
    }
    // Key by key: the grid opens its editor on the first.
    static void type(const QString &text)
    {
        for (const QChar c : text) {
            for (const QEvent::Type event : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(event, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(target(), &key);
            }
        }
    }
};

// The window on an empty document: a new group typed into the entry area of the group list
// with the keyboard, taken over on "Принять", and found in the refilled list.
TEST_F(GridInteractionTest, NewGroupTypedIntoTheEntryAreaIsSavedAndShown)
{
    open();
    window->dispatcher().sectionClicked(0);
    command("submenuAddGroup")->trigger();
    ASSERT_EQ(code(), 1);
    ASSERT_EQ(grid().text(entryarea::AcceptRow, entryarea::ButtonCol), entryarea::AcceptText);

    for (const auto &[col, text] : {std::pair(1, "2"), std::pair(2, "Новая-1")}) {
        clickCell(entryarea::Row, col);
        type(QString::fromUtf8(text));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    EXPECT_EQ(grid().text(entryarea::Row, 2), QStringLiteral("Новая-1"));
    // The Enter of the last cell left it on the row below, over "Принять".
    ASSERT_EQ(grid().currentRow(), entryarea::Row + 1);
    QTest::keyClick(view(), Qt::Key_Down);

    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(code(), 0);
    const int row = grid().currentRow();
    EXPECT_EQ(grid().text(row, 1), QStringLiteral("2"));
    EXPECT_EQ(grid().text(row, 2), QStringLiteral("Новая-1"));
    EXPECT_EQ(b.raw("SELECT Course FROM tblGroups WHERE \"Group\" = 'Новая-1'"),
              QStringList{QStringLiteral("2")});
}

// The load in the window, from the keyboard alone: "Добавить / Преподавателя" opens the entry
// row; the discipline and group cells are picked from their drop-down lists by the arrows and
// by the first letters; an Enter or an Escape that only closes a list leaves the line open;
// the hours typed finish it and the confirmed tutor is written with his first load line.
TEST_F(GridInteractionTest, ALoadLineIsPickedFromItsListsByTheKeyboard)
{
    for (const char *group : {"Б-1", "П-9"})
        b.add("tblGroups", {"Group", group, "Course", "1", "Key_TypeFaculty", 1,
                            "Key_TypeTuition", 1, "Key_TypeFinance", 1});
    for (const char *discipline : {"Алгебра", "Матем"})
        b.add("tblDisciplines",
              {"Discipline", discipline, "Discipline1", discipline, "DiscType", 1});
    prompts.answers = {Prompts::Answer::Yes};
    open();
    show(30);
    ASSERT_EQ(code(), 30);
    // The load's columns under their header, with no line yet.
    grid().setCols(7);
    grid().setFixedCols(1);
    grid().setFixedRows(1);
    grid().setRows(1);
    QAction *add = command("subsubmenuAddKorvesta(0)");
    ASSERT_TRUE(add->isEnabled());
    add->trigger();
    ASSERT_EQ(grid().currentRow(), 1);
    const auto listOpen = [] { return QApplication::activePopupWidget() != nullptr; };
    const auto entryOpen = [this] { return grid().text(1, 0) == QStringLiteral("*"); };

    type(QStringLiteral("Новиков"));
    keys({Qt::Key_Tab, Qt::Key_Tab});
    ASSERT_EQ(grid().currentCol(), 3);
    // Down opens the list on its first item; Escape closes it and the cell stays empty.
    keys({Qt::Key_Down});
    EXPECT_TRUE(listOpen());
    keys({Qt::Key_Down, Qt::Key_Escape});
    EXPECT_FALSE(listOpen());
    EXPECT_FALSE(view()->isEditing());
    EXPECT_EQ(grid().text(1, 3), QString());
    EXPECT_TRUE(entryOpen());
    // Down, Down, Enter takes the second item; the line is not finished by it.
    keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
    EXPECT_FALSE(listOpen());
    EXPECT_EQ(grid().text(1, 3), QStringLiteral("Матем"));
    EXPECT_EQ(grid().currentCol(), 3);
    EXPECT_TRUE(entryOpen());
    // Enter on the grid with cells still empty goes on to the first of them.
    keys({Qt::Key_Return});
    EXPECT_EQ(grid().currentCol(), 4);
    EXPECT_TRUE(entryOpen());
    // A letter, in any case, finds the group; Tab takes it and moves on.
    type(QStringLiteral("п"));
    EXPECT_TRUE(listOpen());
    keys({Qt::Key_Tab});
    EXPECT_FALSE(listOpen());
    EXPECT_EQ(grid().text(1, 4), QStringLiteral("П-9  (1)"));
    EXPECT_EQ(grid().currentCol(), 5);
    EXPECT_TRUE(prompts.shown.empty());

    type(QStringLiteral("36"));
    keys({Qt::Key_Return});
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::YesNo).size(), 1);
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message).isEmpty());
    EXPECT_FALSE(entryOpen());
    // The Enter that saved the line leaves the cursor on it.
    EXPECT_FALSE(grid().isSubtotal(grid().currentRow()));
    EXPECT_EQ(grid().text(grid().currentRow(), 4), QStringLiteral("П-9  (1)"));
    EXPECT_EQ(b.raw("SELECT t.Tutor, d.Discipline, g.[Group], l.Hours FROM tblTutors t "
                    "JOIN tblJob j ON j.Key_Tutor = t.Key "
                    "JOIN tblDisciplines d ON d.Key = j.Key_Discipline "
                    "JOIN tblJobList l ON l.Key_Job = j.Key JOIN tblGroups g ON g.Key = "
                    "l.Key_Group"),
              QStringList{QStringLiteral("Новиков|Матем|П-9|36")});
}

// A document whose group query reads other fields: the group list says so in Russian and
// the window goes on to the next view.
TEST_F(GridInteractionTest, AViewOfAForeignQueryIsToldAndTheWindowGoesOn)
{
    SampleInstitution::build(b);
    b.db().createQueryDef(QStringLiteral("qryGroups"), QStringLiteral("SELECT 1 AS X"));
    open();
    prompts.shown.clear();
    window->dispatcher().sectionClicked(0);
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
              QStringList{QStringLiteral("Некорректный формат базы данных\r\n"
                                         "Действие отменено")});
    EXPECT_EQ(code(), 0);

    prompts.shown.clear();
    window->dispatcher().sectionClicked(1);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(grid().text(grid().rows() - 1, 1), QStringLiteral("Всего дисциплин:"));
}

// The tutor's own record in the window: typed into the new-tutor view, edited from his row of
// the teaching load and deleted from it. The load here lists each tutor on one row, with
// his total below.
TEST_F(GridInteractionTest, ATutorIsTypedEditedAndDeletedFromTheLoad)
{
    const SampleInstitution s = SampleInstitution::build(b);
    const auto tutors = [this] {
        return b.raw(QStringLiteral("SELECT Tutor, coalesce(DefaultAud, '') FROM tblTutors "
                                    "ORDER BY Key"));
    };
    open();
    window->fills().setFill(30, [&tutors](ViewContext &ctx) {
        buildLoadFrame(ctx);
        ctx.grid.setRows(1);
        for (const QString &tutor : tutors()) {
            const QStringList cells = tutor.split(QLatin1Char('|'));
            ctx.grid.addRow(QStringList{QString()} + cells);
            ctx.grid.addRow(QStringList{
                QString(), QStringLiteral("ИТОГО у преподавателя  '%1'").arg(cells[0])});
        }
    });
    const auto title = [this] { return window->findChild<QLabel *>("Label1")->text(); };

    show(31);
    ASSERT_EQ(code(), 31);
    ASSERT_EQ(grid().text(entryarea::AcceptRow, entryarea::ButtonCol), entryarea::AcceptText);
    EXPECT_EQ(grid().text(entryarea::Rows + 1, 1), QStringLiteral("Иванов И.И."));

    clickCell(entryarea::Row, 1);
    type(QStringLiteral("Новиков Н.Н."));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    grid().setText(entryarea::Row, 2, QStringLiteral("лаб (хим)"));
    clickCell(entryarea::AcceptRow, entryarea::ButtonCol);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(code(), 30);
    EXPECT_EQ(tutors().last(), QStringLiteral("Новиков Н.Н.|Лаб (хим) (Главный)"));
    EXPECT_EQ(grid().text(grid().currentRow(), 1), QStringLiteral("Новиков Н.Н."));

    // Without a tutor's row there is no one to edit.
    grid().setCurrentCell(0, 1);
    command("submenuEditTutor")->trigger();
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
              QStringList{QStringLiteral("Не выбран преподаватель")});
    EXPECT_EQ(code(), 30);

    // A group put into its entry area and left unsaved does not stand for the tutor.
    window->dispatcher().sectionClicked(0);
    grid().setCurrentCell(grid().findRow(QStringLiteral("Э-31"), 2), 2);
    command("submenuEditGroup")->trigger();
    ASSERT_EQ(code(), 1);
    window->dispatcher().sectionClicked(3);

    // The tutor's row fills the entry area with his record.
    grid().setCurrentCell(grid().findRow(QStringLiteral("Иванов И.И."), 1), 1);
    command("submenuEditTutor")->trigger();
    ASSERT_EQ(code(), 31);
    EXPECT_TRUE(window->navigation().editExisting());
    EXPECT_EQ(title(), QStringLiteral("Изменение преподавателя Иванов И.И."));
    EXPECT_EQ(grid().text(entryarea::Row, 2), QStringLiteral("101 (Главный)"));
    // The entry area is no tutor's row to delete.
    command("subsubmenuDeleteKorvesta(0)")->trigger();
    grid().setText(entryarea::Row, 1, QStringLiteral("Иванов-Старший"));
    clickCell(entryarea::AcceptRow, entryarea::ButtonCol);
    EXPECT_EQ(code(), 30);
    EXPECT_FALSE(window->navigation().editExisting());
    EXPECT_EQ(tutors().first(), QStringLiteral("Иванов-Старший|101 (Главный)"));
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(tutors().size(), 5);

    // The Delete key on his total asks, then deletes him and refills.
    prompts.answers = {Prompts::Answer::Yes};
    clickCell(grid().findRow(QStringLiteral("ИТОГО у преподавателя  'Сидоров'"), 1), 1);
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::YesNo),
              QStringList{QStringLiteral("Удалить преподавателя 'Сидоров'")});
    EXPECT_EQ(grid().findRow(QStringLiteral("Сидоров"), 1), -1);
    EXPECT_EQ(
        b.rawNumber(QStringLiteral("SELECT count(*) FROM tblTutors WHERE Key = %1").arg(s.sidorov)),
        0);
}

} // namespace
} // namespace korvesta
