#include "app/gridinteraction.h"
#include "app/mainwindow.h"
#include "app/objectpane.h"
#include "app/viewdispatcher.h"
#include "data/apppaths.h"
#include "data/database.h"
#include "data/documentsession.h"
#include "data/recordset.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "institutionbuilder.h"
#include "interaction/gridrouter.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"
#include "views/frames/entryarea.h"
#include "views/frames/listframes.h"
#include "views/viewcontext.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// The window on an empty document: a new group typed into the entry area of the group list
// with the keyboard, taken over on "Принять", and found in the refilled list.
TEST(GridInteractionTest, NewGroupTypedIntoTheEntryAreaIsSavedAndShown)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    SettingsStore settings{folder.file(QStringLiteral("settings.ini"))};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, settings, AppPaths{folder.path(), folder.path()}};
    {
        frmMain window(session, settings, prompts);
        window.startUp({path});
        window.resize(1100, 700);
        window.show();
        QApplication::processEvents();
        GridView *view = window.grid();
        GridModel *grid = view->model();

        window.dispatcher().sectionClicked(0);
        window.command(QStringLiteral("submenuAddGroup"))->trigger();
        ASSERT_EQ(window.navigation().viewCode(), 1);
        ASSERT_EQ(grid->text(entryarea::AcceptRow, entryarea::ButtonCol), entryarea::AcceptText);

        // Key by key to the focused widget: the grid opens its editor on the first.
        const auto type = [&](int col, const QString &text) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                              view->cellRect(entryarea::Row, col).center());
            for (const QChar c : text) {
                for (const QEvent::Type event : {QEvent::KeyPress, QEvent::KeyRelease}) {
                    QKeyEvent key(event, Qt::Key_unknown, Qt::NoModifier, QString(c));
                    QApplication::sendEvent(QApplication::focusWidget(), &key);
                }
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        };
        type(1, QStringLiteral("2"));
        type(2, QStringLiteral("Новая-1"));
        EXPECT_EQ(grid->text(entryarea::Row, 2), QStringLiteral("Новая-1"));
        // The Enter of the last cell left it on the row below, over "Принять".
        ASSERT_EQ(grid->currentRow(), entryarea::Row + 1);
        QTest::keyClick(view, Qt::Key_Down);

        EXPECT_TRUE(prompts.shown.empty());
        EXPECT_EQ(window.navigation().viewCode(), 0);
        const int row = grid->currentRow();
        EXPECT_EQ(grid->text(row, 1), QStringLiteral("2"));
        EXPECT_EQ(grid->text(row, 2), QStringLiteral("Новая-1"));
        window.close();
    }
    Database db = Database::open(path);
    EXPECT_EQ(db.openRecordset(QStringLiteral("SELECT Course FROM tblGroups WHERE "
                                              "[Group] = 'Новая-1'"))
                  .recordCount(),
              1);
    Database::forgetAll();
}

// The load in the window: "Добавить / Преподавателя" opens the entry row, the hours typed
// into it finish the row, and the confirmed tutor is written with his first load line.
TEST(GridInteractionTest, NewTutorFinishedByTheHoursTypedIsWrittenWithHisLoad)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    b.add("tblGroups", {"Group", "П-9", "Course", "1", "Key_TypeFaculty", 1, "Key_TypeTuition", 1,
                        "Key_TypeFinance", 1});
    b.add("tblDisciplines", {"Discipline", "Матем", "Discipline1", "Математика", "DiscType", 1});
    SettingsStore settings{folder.file(QStringLiteral("settings.ini"))};
    ScriptedPrompts prompts;
    prompts.answers = {Prompts::Answer::Yes};
    DocumentSession session{prompts, settings, AppPaths{folder.path(), folder.path()}};
    {
        frmMain window(session, settings, prompts);
        window.startUp({path});
        window.resize(1100, 700);
        window.show();
        QApplication::processEvents();
        GridView *view = window.grid();
        GridModel *grid = view->model();
        window.dispatcher().sectionClicked(3);
        window.dispatcher().itemClicked(0);
        ASSERT_EQ(window.navigation().viewCode(), 30);
        // The load's columns under their header, with no line yet.
        grid->setCols(7);
        grid->setFixedCols(1);
        grid->setFixedRows(1);
        grid->setRows(1);
        QAction *add = window.command(QStringLiteral("subsubmenuAddKorvesta(0)"));
        ASSERT_TRUE(add->isEnabled());
        add->trigger();
        ASSERT_EQ(grid->currentRow(), 1);
        grid->setText(1, 1, QStringLiteral("Новиков"));
        grid->setText(1, 3, QStringLiteral("Матем"));
        grid->setText(1, 4, QStringLiteral("П-9  (1)"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(1, 5).center());
        for (const QChar c : QStringLiteral("36")) {
            for (const QEvent::Type event : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(event, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(QApplication::focusWidget(), &key);
            }
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::YesNo).size(), 1);
        EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message).isEmpty());
        EXPECT_NE(grid->text(1, 0), QStringLiteral("*")) << "the entry row is gone";
        window.close();
    }
    EXPECT_EQ(b.raw("SELECT t.Tutor, l.Hours FROM tblTutors t JOIN tblJob j ON j.Key_Tutor = t.Key "
                    "JOIN tblJobList l ON l.Key_Job = j.Key"),
              QStringList{QStringLiteral("Новиков|36")});
    Database::forgetAll();
}

// The same line typed from the keyboard alone: the discipline and group cells are picked
// from their drop-down lists by the arrows and by the first letters; an Enter or an Escape
// that only closes a list leaves the line open.
TEST(GridInteractionTest, ALoadLineIsPickedFromItsListsByTheKeyboard)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    for (const char *group : {"Б-1", "П-9"})
        b.add("tblGroups", {"Group", group, "Course", "1", "Key_TypeFaculty", 1,
                            "Key_TypeTuition", 1, "Key_TypeFinance", 1});
    for (const char *discipline : {"Алгебра", "Матем"})
        b.add("tblDisciplines",
              {"Discipline", discipline, "Discipline1", discipline, "DiscType", 1});
    SettingsStore settings{folder.file(QStringLiteral("settings.ini"))};
    ScriptedPrompts prompts;
    prompts.answers = {Prompts::Answer::Yes};
    DocumentSession session{prompts, settings, AppPaths{folder.path(), folder.path()}};
    {
        frmMain window(session, settings, prompts);
        window.startUp({path});
        window.resize(1100, 700);
        window.show();
        QApplication::processEvents();
        GridView *view = window.grid();
        GridModel *grid = view->model();
        window.dispatcher().sectionClicked(3);
        window.dispatcher().itemClicked(0);
        ASSERT_EQ(window.navigation().viewCode(), 30);
        grid->setCols(7);
        grid->setFixedCols(1);
        grid->setFixedRows(1);
        grid->setRows(1);
        window.command(QStringLiteral("subsubmenuAddKorvesta(0)"))->trigger();
        ASSERT_EQ(grid->currentRow(), 1);

        // Keys go where the application sends them: to an open list, else to the focus.
        const auto target = [] {
            QWidget *popup = QApplication::activePopupWidget();
            return popup && popup->focusWidget() ? popup->focusWidget()
                                                 : QApplication::focusWidget();
        };
        const auto keys = [&](std::initializer_list<Qt::Key> list) {
            for (const Qt::Key key : list)
                QTest::keyClick(target(), key);
        };
        const auto type = [&](const QString &text) {
            for (const QChar c : text) {
                for (const QEvent::Type event : {QEvent::KeyPress, QEvent::KeyRelease}) {
                    QKeyEvent key(event, Qt::Key_unknown, Qt::NoModifier, QString(c));
                    QApplication::sendEvent(target(), &key);
                }
            }
        };
        const auto listOpen = [&] { return QApplication::activePopupWidget() != nullptr; };
        const auto entryOpen = [&] { return grid->text(1, 0) == QStringLiteral("*"); };

        type(QStringLiteral("Новиков"));
        keys({Qt::Key_Tab, Qt::Key_Tab});
        ASSERT_EQ(grid->currentCol(), 3);
        // Down opens the list on its first item; Escape closes it and the cell stays empty.
        keys({Qt::Key_Down});
        EXPECT_TRUE(listOpen());
        keys({Qt::Key_Down, Qt::Key_Escape});
        EXPECT_FALSE(listOpen());
        EXPECT_FALSE(view->isEditing());
        EXPECT_EQ(grid->text(1, 3), QString());
        EXPECT_TRUE(entryOpen());
        // Down, Down, Enter takes the second item; the line is not finished by it.
        keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
        EXPECT_FALSE(listOpen());
        EXPECT_EQ(grid->text(1, 3), QStringLiteral("Матем"));
        EXPECT_EQ(grid->currentCol(), 3);
        EXPECT_TRUE(entryOpen());
        // Enter on the grid with cells still empty goes on to the first of them.
        keys({Qt::Key_Return});
        EXPECT_EQ(grid->currentCol(), 4);
        EXPECT_TRUE(entryOpen());
        // A letter, in any case, finds the group; Tab takes it and moves on.
        type(QStringLiteral("п"));
        EXPECT_TRUE(listOpen());
        keys({Qt::Key_Tab});
        EXPECT_FALSE(listOpen());
        EXPECT_EQ(grid->text(1, 4), QStringLiteral("П-9  (1)"));
        EXPECT_EQ(grid->currentCol(), 5);
        EXPECT_TRUE(prompts.shown.empty());

        type(QStringLiteral("36"));
        keys({Qt::Key_Return});
        EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::YesNo).size(), 1);
        EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message).isEmpty());
        EXPECT_FALSE(entryOpen());
        // The Enter that saved the line leaves the cursor on it.
        EXPECT_FALSE(grid->isSubtotal(grid->currentRow()));
        EXPECT_EQ(grid->text(grid->currentRow(), 4), QStringLiteral("П-9  (1)"));
        window.close();
    }
    EXPECT_EQ(b.raw("SELECT t.Tutor, d.Discipline, g.[Group], l.Hours FROM tblTutors t "
                    "JOIN tblJob j ON j.Key_Tutor = t.Key "
                    "JOIN tblDisciplines d ON d.Key = j.Key_Discipline "
                    "JOIN tblJobList l ON l.Key_Job = j.Key JOIN tblGroups g ON g.Key = "
                    "l.Key_Group"),
              QStringList{QStringLiteral("Новиков|Матем|П-9|36")});
    Database::forgetAll();
}

// A document whose group query reads other fields: the group list says so in Russian and
// the window goes on to the next view.
TEST(GridInteractionTest, AViewOfAForeignQueryIsToldAndTheWindowGoesOn)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    SampleInstitution::build(b);
    b.db().createQueryDef(QStringLiteral("qryGroups"), QStringLiteral("SELECT 1 AS X"));
    SettingsStore settings{folder.file(QStringLiteral("settings.ini"))};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, settings, AppPaths{folder.path(), folder.path()}};
    {
        frmMain window(session, settings, prompts);
        window.startUp({path});
        window.show();
        QApplication::processEvents();
        prompts.shown.clear();
        window.dispatcher().sectionClicked(0);
        EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
                  QStringList{QStringLiteral("Некорректный формат базы данных\r\n"
                                             "Действие отменено")});
        EXPECT_EQ(window.navigation().viewCode(), 0);

        prompts.shown.clear();
        window.dispatcher().sectionClicked(1);
        EXPECT_TRUE(prompts.shown.empty());
        GridModel *grid = window.grid()->model();
        EXPECT_EQ(grid->text(grid->rows() - 1, 1), QStringLiteral("Всего дисциплин:"));
        window.close();
    }
    Database::forgetAll();
}

// The window's own editing: an exam date typed into the passport of the group clicked in the
// object list is saved on the row's load line and is there when the passport is filled again.
TEST(GridInteractionTest, ExamDateTypedIntoThePassportIsSaved)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    const SampleInstitution s = SampleInstitution::build(b);
    SettingsStore settings{folder.file(QStringLiteral("settings.ini"))};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, settings, AppPaths{folder.path(), folder.path()}};
    {
        frmMain window(session, settings, prompts);
        window.startUp({path});
        window.resize(1100, 700);
        window.show();
        QApplication::processEvents();
        GridModel *grid = window.grid()->model();
        GridRouter &router = window.findChild<GridInteraction *>()->router();

        window.dispatcher().sectionClicked(0);
        window.dispatcher().itemClicked(2);
        ASSERT_EQ(window.navigation().viewCode(), 2);
        QTreeWidget *objects = window.objectPane()->objectList();
        const auto chooseP9 = [&] {
            const QList<QTreeWidgetItem *> found =
                objects->findItems(QStringLiteral("П-9"), Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            objects->setCurrentItem(found.first());
            emit objects->itemClicked(found.first(), 0);
        };
        chooseP9();
        const int row = grid->findRow(QStringLiteral("Петров П.П."), 1);
        ASSERT_GT(row, 0);

        grid->setCurrentCell(row, 6);
        router.currentCellChanged();
        ASSERT_TRUE(router.beforeEdit(row, 6));
        grid->setText(row, 6, QStringLiteral("21.6.2027"));
        router.afterEdit(row, 6);
        EXPECT_TRUE(prompts.shown.empty());
        EXPECT_EQ(b.rawNumber(QStringLiteral("SELECT count(*) FROM tblJobList WHERE DateExam = "
                                             "'2027-06-21' AND Key_Group = %1")
                                  .arg(s.p9)),
                  1);

        window.dispatcher().sectionClicked(1);
        window.dispatcher().sectionClicked(0);
        window.dispatcher().itemClicked(2);
        chooseP9();
        EXPECT_EQ(grid->text(grid->findRow(QStringLiteral("Петров П.П."), 1), 6),
                  QStringLiteral("21.06.2027"));
        window.close();
    }
    Database::forgetAll();
}

// The tutor's own record in the window: typed into the new-tutor view, edited from his row of
// the teaching load and deleted from it. The load here lists each tutor on one row, with
// his total below.
TEST(GridInteractionTest, ATutorIsTypedEditedAndDeletedFromTheLoad)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    const SampleInstitution s = SampleInstitution::build(b);
    SettingsStore settings{folder.file(QStringLiteral("settings.ini"))};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, settings, AppPaths{folder.path(), folder.path()}};
    const auto tutors = [&b] {
        return b.raw(QStringLiteral("SELECT Tutor, coalesce(DefaultAud, '') FROM tblTutors "
                                    "ORDER BY Key"));
    };
    {
        frmMain window(session, settings, prompts);
        window.startUp({path});
        window.resize(1100, 700);
        window.show();
        QApplication::processEvents();
        window.fills().setFill(30, [&tutors](ViewContext &ctx) {
            buildLoadFrame(ctx);
            ctx.grid.setRows(1);
            for (const QString &tutor : tutors()) {
                const QStringList cells = tutor.split(QLatin1Char('|'));
                ctx.grid.addRow(QStringList{QString()} + cells);
                ctx.grid.addRow(QStringList{
                    QString(), QStringLiteral("ИТОГО у преподавателя  '%1'").arg(cells[0])});
            }
        });
        GridView *view = window.grid();
        GridModel *grid = view->model();
        const auto clickCell = [&](int row, int col) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                              view->cellRect(row, col).center());
        };
        const auto title = [&] { return window.findChild<QLabel *>("Label1")->text(); };

        window.dispatcher().sectionClicked(3);
        window.dispatcher().itemClicked(1);
        ASSERT_EQ(window.navigation().viewCode(), 31);
        ASSERT_EQ(grid->text(entryarea::AcceptRow, entryarea::ButtonCol), entryarea::AcceptText);
        EXPECT_EQ(grid->text(entryarea::Rows + 1, 1), QStringLiteral("Иванов И.И."));

        clickCell(entryarea::Row, 1);
        for (const QChar c : QStringLiteral("Новиков Н.Н.")) {
            for (const QEvent::Type event : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(event, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(QApplication::focusWidget(), &key);
            }
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        grid->setText(entryarea::Row, 2, QStringLiteral("лаб (хим)"));
        clickCell(entryarea::AcceptRow, entryarea::ButtonCol);
        EXPECT_TRUE(prompts.shown.empty());
        EXPECT_EQ(window.navigation().viewCode(), 30);
        EXPECT_EQ(tutors().last(), QStringLiteral("Новиков Н.Н.|Лаб (хим) (Главный)"));
        EXPECT_EQ(grid->text(grid->currentRow(), 1), QStringLiteral("Новиков Н.Н."));

        // Without a tutor's row there is no one to edit.
        grid->setCurrentCell(0, 1);
        window.command(QStringLiteral("submenuEditTutor"))->trigger();
        EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
                  QStringList{QStringLiteral("Не выбран преподаватель")});
        EXPECT_EQ(window.navigation().viewCode(), 30);

        // A group put into its entry area and left unsaved does not stand for the tutor.
        window.dispatcher().sectionClicked(0);
        grid->setCurrentCell(grid->findRow(QStringLiteral("Э-31"), 2), 2);
        window.command(QStringLiteral("submenuEditGroup"))->trigger();
        ASSERT_EQ(window.navigation().viewCode(), 1);
        window.dispatcher().sectionClicked(3);

        // The tutor's row fills the entry area with his record.
        grid->setCurrentCell(grid->findRow(QStringLiteral("Иванов И.И."), 1), 1);
        window.command(QStringLiteral("submenuEditTutor"))->trigger();
        ASSERT_EQ(window.navigation().viewCode(), 31);
        EXPECT_TRUE(window.navigation().editExisting());
        EXPECT_EQ(title(), QStringLiteral("Изменение преподавателя Иванов И.И."));
        EXPECT_EQ(grid->text(entryarea::Row, 2), QStringLiteral("101 (Главный)"));
        // The entry area is no tutor's row to delete.
        window.command(QStringLiteral("subsubmenuDeleteKorvesta(0)"))->trigger();
        grid->setText(entryarea::Row, 1, QStringLiteral("Иванов-Старший"));
        clickCell(entryarea::AcceptRow, entryarea::ButtonCol);
        EXPECT_EQ(window.navigation().viewCode(), 30);
        EXPECT_FALSE(window.navigation().editExisting());
        EXPECT_EQ(tutors().first(), QStringLiteral("Иванов-Старший|101 (Главный)"));
        EXPECT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(tutors().size(), 5);

        // The Delete key on his total asks, then deletes him and refills.
        prompts.answers = {Prompts::Answer::Yes};
        clickCell(grid->findRow(QStringLiteral("ИТОГО у преподавателя  'Сидоров'"), 1), 1);
        QTest::keyClick(view, Qt::Key_Delete);
        EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::YesNo),
                  QStringList{QStringLiteral("Удалить преподавателя 'Сидоров'")});
        EXPECT_EQ(grid->findRow(QStringLiteral("Сидоров"), 1), -1);
        EXPECT_EQ(
            b.rawNumber(
                QStringLiteral("SELECT count(*) FROM tblTutors WHERE Key = %1").arg(s.sidorov)),
            0);
        window.close();
    }
    Database::forgetAll();
}

} // namespace
} // namespace korvesta
