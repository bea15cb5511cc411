// The options dialog over a window on a new document: its keys, its number boxes, and what
// OK and Отмена leave behind in the settings, the document and the views.

#include "app/frmoptions.h"
#include "app/rangecalendar.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <stdexcept>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;

class OptionsDialogTest : public WindowTest
{
protected:
    void SetUp() override
    {
        open({path});
        dialog = std::make_unique<frmOptions>(*window);
        dialog->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        dialog.reset();
        WindowTest::TearDown();
    }

    template<typename T = QWidget>
    T *child(const char *name) const
    {
        if (T *found = dialog->findChild<T *>(QString::fromLatin1(name)))
            return found;
        throw std::runtime_error(std::string("no control ") + name);
    }
    void type(const char *box, const QString &text)
    {
        auto *edit = child<QLineEdit>(box);
        edit->clear();
        // The test library types Latin letters only.
        bool latin = true;
        for (QChar c : text)
            latin = latin && c.unicode() < 128;
        if (latin)
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
    }
    QStringList rows(const QString &sql) const { return b.raw(sql); }
    QStringList documentRows() const
    {
        return rows("SELECT * FROM tblTypeFaculty") + rows("SELECT * FROM tblDiscType")
               + rows("SELECT * FROM tblTimeLesson") + rows("SELECT * FROM tblAutoTable")
               + rows("SELECT * FROM tblTimeTableList");
    }
    QStringList itemTexts(const char *list) const
    {
        QStringList texts;
        auto *view = child<QTreeWidget>(list);
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            texts << view->topLevelItem(i)->text(0) + " " + view->topLevelItem(i)->text(1);
        return texts;
    }
    void select(const char *list, int row)
    {
        auto *view = child<QTreeWidget>(list);
        view->setCurrentItem(view->topLevelItem(row));
    }

    std::unique_ptr<frmOptions> dialog;
};

TEST_F(OptionsDialogTest, KeysTurnTabsApplyAndClose)
{
    EXPECT_EQ(dialog->windowTitle(), "Настройки");
    QTabWidget *tabs = dialog->tabs();
    ASSERT_EQ(tabs->count(), 7);
    auto *someBox = child<QLineEdit>("txtLessonsInDay");
    for (int i = 1; i <= tabs->count(); ++i) {
        QTest::keyClick(someBox, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(tabs->currentIndex(), i % tabs->count());
    }

    // Enter in a list's box adds to that list and nothing else.
    type("txtFaculty", "ФИТ");
    QTest::keyClick(child("txtFaculty"), Qt::Key_Return);
    EXPECT_EQ(itemTexts("lvTypeFaculty"), QStringList({"отсутствует ", "ФИТ "}));
    EXPECT_TRUE(child<QLineEdit>("txtFaculty")->text().isEmpty());
    EXPECT_TRUE(child<QPushButton>("cmdApply")->isEnabled());
    select("lvTimeLesson", 2);
    type("txtTimeLesson", "10:30");
    QTest::keyClick(child("txtTimeLesson"), Qt::Key_Enter);
    EXPECT_EQ(itemTexts("lvTimeLesson").mid(1, 3), QStringList({"2 ", "3 10:30", "4 "}));

    // Enter anywhere else applies.
    type("txtLessonsInDay", "8");
    child<QSpinBox>("txtWeightTutorGap")->setValue(200);
    QTest::keyClick(child("chkMergeLessons"), Qt::Key_Return);
    EXPECT_FALSE(child<QPushButton>("cmdApply")->isEnabled());
    EXPECT_EQ(window->settingsRecord().LessonsInDay, 8);
    EXPECT_EQ(store.readInt("Settings", "LessonsInDay", 0), 8);
    EXPECT_EQ(store.readInt("Generate", "TutorGap", 0), 200);
    EXPECT_TRUE(dialog->isVisible());

    QTest::keyClick(child("lvDateOut"), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    // What was applied stays.
    EXPECT_EQ(rows("SELECT TypeFaculty FROM tblTypeFaculty"), QStringList({"отсутствует", "ФИТ"}));
    EXPECT_EQ(store.readInt("Settings", "LessonsInDay", 0), 8);
    EXPECT_TRUE(prompts.texts(Kind::Message).isEmpty());
}

TEST_F(OptionsDialogTest, NumberBoxesAndTheLessonsOfAShift)
{
    type("txtLessonsInDay", "7a");
    EXPECT_EQ(child<QLineEdit>("txtLessonsInDay")->text(), "7");
    EXPECT_EQ(child<QLineEdit>("txtLessonsInDay")->cursorPosition(), 1);
    type("txtWorkTimePeriod", "2");
    EXPECT_EQ(child<QLineEdit>("txtLessonsInPeriod")->text(), "3");
    type("txtWorkTimePeriod", "0");
    EXPECT_EQ(child<QLineEdit>("txtLessonsInPeriod")->text(), "3");
    type("txtWorkTimePeriod", "2");
    EXPECT_EQ(itemTexts("lvTimeLesson"), QStringList({"1 ", "2 ", "3 ", "1 ", "2 ", "3 ", "1 "}));

    // 0 shifts are refused on OK, on the tab that holds them.
    type("txtWorkTimePeriod", "0");
    dialog->tabs()->setCurrentIndex(4);
    QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->tabs()->currentIndex(), 0);
    EXPECT_EQ(prompts.texts(Kind::Message), QStringList({"Количество смен: допустимо от 1 до 3"}));
    EXPECT_EQ(window->settingsRecord().WorkTimePeriod, 1);
}

// Отмена closes without writing the record; what the dialog wrote at once (a faculty, a lesson
// time, a holiday, the password, the background) stays, as the planner saw it happen.
TEST_F(OptionsDialogTest, CancelKeepsWhatWasWrittenAndLeavesTheRecord)
{
    const QStringList documentBefore = documentRows();
    const SettingsRecord recordBefore = window->settingsRecord();

    type("txtLessonsInDay", "100");
    type("txtFaculty", "ФИТ");
    QTest::mouseClick(child<QPushButton>("cmdAddFaculty"), Qt::LeftButton);
    select("lvTimeLesson", 0);
    type("txtTimeLesson", "08:30");
    QTest::mouseClick(child<QPushButton>("cmdSetTimeLesson"), Qt::LeftButton);
    child<QDateEdit>("DTPickerStart")->setDate(QDate(2026, 9, 1));
    child<QDateEdit>("DTPickerEnd")->setDate(QDate(2027, 6, 30));
    child<RangeCalendar>("MonthView1")->setRange(QDate(2026, 11, 4), QDate(2026, 11, 4));
    QTest::mouseClick(child<QPushButton>("cmdDateOut"), Qt::LeftButton);
    EXPECT_EQ(itemTexts("lvDateOut"), QStringList({"04.11.2026 "}));
    prompts.textAnswers = {QString("пароль")};
    QTest::mouseClick(child<QCheckBox>("chkSaveCurrTable"), Qt::LeftButton);
    EXPECT_TRUE(child<QCheckBox>("chkSaveCurrTable")->isChecked());
    prompts.colorAnswers = {QColor(Qt::yellow)};
    QTest::mouseClick(child("lblGridColorBkg"), Qt::LeftButton);
    EXPECT_EQ(window->grid()->model()->backColorBkg(), QColor(Qt::yellow));

    // A lesson count of 100 is refused; Отмена then closes.
    QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(prompts.texts(Kind::Message),
              QStringList({"Количество занятий в день: допустимо от 1 до 24"}));
    EXPECT_EQ(QApplication::focusWidget(), child("txtLessonsInDay"));
    const QStringList written = documentRows();
    ASSERT_NE(written, documentBefore);
    QTest::mouseClick(child<QPushButton>("cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(documentRows(), written);
    EXPECT_EQ(store.readText("Settings", "AccessEditPwd", ""), "пароль");
    EXPECT_EQ(window->grid()->model()->backColorBkg(), QColor(Qt::yellow));
    EXPECT_EQ(window->settingsRecord().LessonsInDay, recordBefore.LessonsInDay);
}

// The display boxes as ticked are the view's default after OK, with or without their own
// "Принять".
TEST_F(OptionsDialogTest, OkKeepsTheTickedDisplayBoxes)
{
    QTest::mouseClick(child<QRadioButton>("optDisplayText(1)"), Qt::LeftButton);
    const char *const boxes[] = {"chkDisplayText(0)", "chkDisplayText(1)", "chkDisplayText(2)",
                                 "chkDisplayText(3)", "chkDisplayText(4)"};
    for (int box = 0; box < 5; ++box)
        child<QCheckBox>(boxes[box])->setChecked(box == 1 || box == 3 || box == 4);
    QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(store.readText("Settings", "DisplayTextDefault1", "none"), "43");
}

TEST_F(OptionsDialogTest, ProtectionKeepsTheBoxUnderAWrongPassword)
{
    auto *box = child<QCheckBox>("chkSaveCurrTable");
    prompts.textAnswers = {QString("пароль"), QString("не тот"), QString()};
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(store.readText("Settings", "AccessEditPwd", ""), "пароль");
    EXPECT_EQ(prompts.texts(Kind::Message), QStringList({"Неверный пароль", "Неверный пароль"}));
}

TEST_F(OptionsDialogTest, OkShowsLessonTimesAndShiftsInTheDayView)
{
    type("txtLessonsInDay", "6");
    type("txtWorkTimePeriod", "2");
    select("lvTimeLesson", 0);
    type("txtTimeLesson", "08:30-09:15");
    QTest::keyClick(child("txtTimeLesson"), Qt::Key_Return);
    child<QCheckBox>("chkDisplayText(6)")->setChecked(true);
    QTest::mouseClick(child<QPushButton>("cmdApplyDisplayText"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    window->dispatcher().sectionClicked(4);
    const GridModel &grid = *window->grid()->model();
    EXPECT_EQ(grid.rows() - grid.fixedRows(), 6);
    QStringList texts;
    for (int col = 0; col < grid.cols(); ++col)
        texts << grid.text(grid.fixedRows(), col);
    EXPECT_TRUE(texts.contains("08:30-09:15")) << texts.join('|').toStdString();
    EXPECT_EQ(window->settingsRecord().LessonsInPeriod, 3);
}

// From the service menu: the view on screen is filled again with what OK changed.
TEST_F(OptionsDialogTest, TheViewIsRefilledAfterOk)
{
    dialog.reset();
    window->dispatcher().sectionClicked(4);
    const GridModel &grid = *window->grid()->model();
    ASSERT_EQ(grid.rows() - grid.fixedRows(), 14);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *shown = qobject_cast<frmOptions *>(QApplication::activeModalWidget());
        ASSERT_TRUE(shown);
        seen = true;
        auto *lessons = shown->findChild<QLineEdit *>("txtLessonsInDay");
        lessons->clear();
        QTest::keyClicks(lessons, "5");
        shown->findChild<QCheckBox *>("chkShowWeekNumber")->setChecked(true);
        QTest::mouseClick(shown->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    });
    window->command("mnuSettings")->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(grid.rows() - grid.fixedRows(), 5);
    EXPECT_EQ(window->calendar()->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
}

} // namespace
} // namespace korvesta
