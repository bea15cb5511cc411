// The cover window as a planner uses it on a sick tutor's day: "Сервис → Замены..." on the
// calendar's date, the tutor picked, his lesson given to the best tutor, the day's report in
// the preview; refusals said in the list's place.

#include "app/frmcover.h"
#include "app/frmnote.h"
#include "app/frmpreview.h"
#include "app/historycommands.h"
#include "app/mainwindow.h"
#include "app/notecommand.h"
#include "app/reportpreview.h"
#include "data/apppaths.h"
#include "data/database.h"
#include "data/documentsession.h"
#include "data/institutionbuilder.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFile>
#include <QDateEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(CoverWindow, ASickTutorsDayCovered)
{
    TestFolder folder;
    const QString path = newTestDocument(folder);
    const QDate monday(2026, 9, 14);
    {
        InstitutionBuilder b{Database::open(path)};
        const int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
        const int math = b.add("tblDisciplines", {"Discipline", "Матем"});
        const int aud = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Гл"});
        const int ivanov = b.add("tblTutors", {"Tutor", "Иванов"});
        const int orlov = b.add("tblTutors", {"Tutor", "Орлов"});
        for (const int t : {ivanov, orlov})
            b.add("tblJobList", {"Key_Job", b.job(t, math), "Key_Group", g1, "Hours", 10});
        b.lesson(monday, 2, b.job(ivanov, math), g1, aud);
        // Ill on Monday and Tuesday: the window takes both days.
        for (const QDate &d : {monday, monday.addDays(1)})
            b.add("tblTutorOut", {"KeyTutor", ivanov, "FreeLocalDate", d, "KeyTypeOut", 2});
    }
    SettingsStore settings{folder.file("settings.ini")};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, settings, AppPaths{folder.path(), folder.path()}};
    frmMain window(session, settings, prompts);
    window.startUp({path});
    window.show();
    window.calendar()->setSelectedDate(monday);

    window.command("submenuCover")->trigger();
    auto *cover = window.findChild<frmCover *>("frmCover");
    ASSERT_TRUE(cover);
    auto *message = cover->findChild<QLabel *>("lblMessage");
    auto *tree = cover->findChild<QTreeWidget *>("lstCover");
    EXPECT_TRUE(message->isVisible()); // not an empty screen before a tutor is chosen
    EXPECT_FALSE(message->text().isEmpty());

    cover->setTutor("Нет такого");
    EXPECT_EQ(message->text(), "Преподаватель «Нет такого» не найден");
    EXPECT_TRUE(message->isVisible());

    // A note being typed is kept, and the cover added to it.
    window.notes().open(monday);
    window.notes().window()->findChild<QPlainTextEdit *>("txtNote")->setPlainText("Педсовет");
    cover->setTutor("Иванов");
    ASSERT_TRUE(tree->isVisible());
    EXPECT_EQ(cover->findChild<QDateEdit *>("dtpTo")->date(), monday.addDays(1));
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "пн 14.09, 2 урок — П-1 (1) — Матем");
    ASSERT_TRUE(tree->currentItem());
    EXPECT_EQ(tree->currentItem()->text(0), "Орлов"); // the best, chosen

    QTest::mouseClick(cover->findChild<QPushButton *>("cmdAssign"), Qt::LeftButton);
    EXPECT_EQ(InstitutionBuilder{Database::open(path)}.raw("SELECT Note FROM tblNotes"),
              QStringList{"Педсовет\nЗамена: 2 урок, П-1 (1), Матем: Иванов → Орлов"});
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(message->text().startsWith("Все занятия преподавателя Иванов с 14.09.2026 "
                                           "по 15.09.2026 переданы"))
        << message->text().toStdString();

    // Undone in the main window, the lesson is back in the list.
    HistoryCommands *history = window.findChild<HistoryCommands *>();
    history->refresh();
    history->undoAction()->trigger();
    EXPECT_TRUE(tree->isVisible());
    EXPECT_EQ(tree->topLevelItemCount(), 1);

    QTest::mouseClick(cover->findChild<QPushButton *>("cmdReport"), Qt::LeftButton);
    auto *preview = window.findChild<frmPreview *>("frmPreview");
    ASSERT_TRUE(preview);
    ASSERT_TRUE(preview->preview()->report());
    EXPECT_EQ(preview->preview()->report()->title, "Замены на 14.09.2026 (понедельник)");
    EXPECT_EQ(preview->preview()->report()->dataRowCount(), 1);
    // Saved from the preview as the kind of document its name asks for.
    prompts.fileAnswers = {folder.file("замены.rtf")};
    EXPECT_EQ(preview->saveAs(), folder.file("замены.rtf"));
    QFile rtf(folder.file("замены.rtf"));
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(rtf.readAll().startsWith("{\\rtf1"));
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message), QStringList());
    window.close();
}

} // namespace
} // namespace korvesta
