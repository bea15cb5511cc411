// The lists of the options dialog that live in the document, and the buttons that act at
// once: display defaults, protection and the file association.

#include "frmoptions.h"
#include "mainwindow.h"
#include "rangecalendar.h"

#include "data/fileassociation.h"
#include "data/prompts.h"
#include "options/optionsrules.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace korvesta {

namespace {

// Items are keyed "ls" + Key, "re" or "se" + Key; the number is kept as the item's data.
void fillChecked(QTreeWidget *list, const std::vector<OptionsSession::ListItem> &items)
{
    const QSignalBlocker blocker(list);
    list->clear();
    for (const OptionsSession::ListItem &item : items) {
        auto *row = new QTreeWidgetItem(list, {item.text});
        row->setData(0, Qt::UserRole, item.key);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, item.checked ? Qt::Checked : Qt::Unchecked);
    }
}

} // namespace

int frmOptions::selectedKey(const QTreeWidget *list)
{
    const QTreeWidgetItem *item = list->currentItem();
    return item && item->isSelected() ? item->data(0, Qt::UserRole).toInt() : 0;
}

void frmOptions::fillFaculties()
{
    fillChecked(m_faculties, m_options.faculties());
}

void frmOptions::fillSpecializations()
{
    fillChecked(m_discTypes, m_options.specializations());
}

void frmOptions::fillLessonTimes()
{
    if (!m_timeLessons)
        return;
    const int selected = selectedKey(m_timeLessons);
    const QSignalBlocker blocker(m_timeLessons);
    m_timeLessons->clear();
    const int lessons = std::clamp(options::shortValue(m_lessonsInDay->text()), 0, 24);
    for (const OptionsSession::LessonTime &t :
         m_options.lessonTimes(lessons, options::shortValue(m_lessonsInPeriod->text()))) {
        auto *row = new QTreeWidgetItem(m_timeLessons, {QString::number(t.inShift), t.time});
        row->setData(0, Qt::UserRole, t.lesson);
        row->setToolTip(0, QStringLiteral("Занятие %1 дня").arg(t.lesson));
        if (t.lesson == selected) {
            m_timeLessons->setCurrentItem(row);
            row->setSelected(true);
        }
    }
}

void frmOptions::fillHolidays()
{
    m_dateOut->clear();
    for (const OptionsSession::Holiday &h : m_options.holidays()) {
        auto *row = new QTreeWidgetItem(m_dateOut, {h.text()});
        row->setData(0, Qt::UserRole, h.key);
        row->setToolTip(0, h.rest ? QStringLiteral("Каникулы") : QStringLiteral("Праздник"));
    }
}

void frmOptions::addFaculty()
{
    if (m_options.addFaculty(m_faculty->text())) {
        m_faculty->clear();
        fillFaculties();
    }
}

void frmOptions::deleteFaculty()
{
    if (const int key = selectedKey(m_faculties); key && m_options.deleteFaculty(key))
        fillFaculties();
}

void frmOptions::addSpecialization()
{
    if (m_options.addSpecialization(m_discType->text())) {
        m_discType->clear();
        fillSpecializations();
    }
}

void frmOptions::deleteSpecialization()
{
    if (const int key = selectedKey(m_discTypes); key && m_options.deleteSpecialization(key))
        fillSpecializations();
}

void frmOptions::setLessonTime(bool clear)
{
    const int lesson = selectedKey(m_timeLessons);
    if (!lesson) {
        m_window.prompts().message(QStringLiteral("Выберите урок в списке"),
                                   Prompts::Icon::Information, QStringLiteral("Время занятия"));
        return;
    }
    if (m_options.setLessonTime(lesson, clear ? QString() : m_timeLesson->text())) {
        m_timeLesson->clear();
        fillLessonTimes();
    }
}

void frmOptions::dateOutPressed()
{
    const bool removing = m_dateOutButton->text() == QStringLiteral("Удалить");
    if (removing) {
        if (const int key = selectedKey(m_dateOut); key && m_options.deleteHoliday(key))
            fillHolidays();
        m_dateOutButton->setText(QStringLiteral("Принять"));
        return;
    }
    QDate first = m_monthView->rangeStart();
    QDate last = m_monthView->rangeEnd();
    if (!first.isValid())
        first = last = m_monthView->selectedDate();
    if (m_options.addHoliday(first, last, {m_periodStart->date(), m_periodEnd->date()}))
        fillHolidays();
}

void frmOptions::displayOptionChosen(int item)
{
    const int code = m_window.settings().readInt(QStringLiteral("Settings"),
                                                 QStringLiteral("DisplayTextDefault%1").arg(item),
                                                 item == 2 ? 8 : 18);
    // A code the table does not know leaves the boxes as they are.
    if (const std::optional<options::DisplayBoxes> boxes = options::displayBoxes(code)) {
        for (size_t i = 0; i < boxes->size(); ++i)
            m_displayText[i]->setChecked((*boxes)[i]);
    }
}

int frmOptions::displayItem() const
{
    int item = 0;
    for (int i = 0; i < 3; ++i) {
        if (m_displayOption[size_t(i)]->isChecked())
            item = i;
    }
    return item;
}

bool frmOptions::displayTextChanged() const
{
    const int item = displayItem();
    const int code = m_window.settings().readInt(QStringLiteral("Settings"),
                                                 QStringLiteral("DisplayTextDefault%1").arg(item),
                                                 item == 2 ? 8 : 18);
    const std::optional<options::DisplayBoxes> stored = options::displayBoxes(code);
    for (size_t i = 0; i < 5; ++i) {
        if (!stored || (*stored)[i] != m_displayText[i]->isChecked())
            return true;
    }
    return m_displayText[6]->isChecked() != m_window.settingsRecord().ShowTimeLesson;
}

bool frmOptions::applyDisplayText()
{
    std::array<bool, 6> boxes{};
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = m_displayText[i]->isChecked();
    return m_options.setDisplayDefault(displayItem(), boxes, m_displayText[6]->isChecked());
}

void frmOptions::protectionClicked(bool wanted)
{
    // The box shows what came of the question, not what the click made of it.
    const bool state = m_options.setProtection(wanted);
    const QSignalBlocker blocker(m_saveCurrTable);
    m_saveCurrTable->setChecked(state);
}

void frmOptions::protectAll()
{
    QProgressDialog progress(QStringLiteral("Пожалуйста, дождитесь завершения процесса"), QString(),
                             0, 1, this);
    progress.setObjectName(QStringLiteral("progressSaveAll"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    m_options.protectAll([&](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

void frmOptions::associateExtension()
{
    if (associateFileType(QCoreApplication::applicationFilePath()))
        m_window.prompts().message(QStringLiteral("Файлы .kvt теперь открываются программой"),
                                   Prompts::Icon::Information,
                                   QStringLiteral("Инициализация файлов"));
    else
        m_window.prompts().message(QStringLiteral("Не удалось связать файлы .kvt с программой"),
                                   Prompts::Icon::Warning, QStringLiteral("Инициализация файлов"));
}

} // namespace korvesta
