#pragma once

#include "views/viewcontext.h"

#include <QWidget>

#include <vector>

class QDateEdit;
class QGroupBox;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvesta {

class RangeCalendar;

// The object pane beside the grid: the tabs TabStrip1 of the timetable views, the period
// area picActionControl (the period pickers DTPickerFrom and DTPickerTo in
// fraDTPickerPeriod, the second calendar MonthView2) and the object list listAction.
class ObjectPane : public QWidget
{
    Q_OBJECT

public:
    explicit ObjectPane(QWidget *parent = nullptr);

    QTabBar *tabStrip() const { return m_tabs; }
    QWidget *periodArea() const { return m_periodArea; }
    QGroupBox *periodPickers() const { return m_pickers; }
    QDateEdit *periodFrom() const { return m_from; }
    QDateEdit *periodTo() const { return m_to; }
    RangeCalendar *secondCalendar() const { return m_monthView2; }
    QTreeWidget *objectList() const { return m_list; }

    // Shows the parts a view has; the pane itself is shown by the window.
    void showParts(bool tabs, bool pickers, bool secondCalendar, bool list);
    // Replaces the list's columns and objects.
    void setObjects(const ObjectList &objects);
    void clearObjects();
    // The object of a list row; nullptr for none.
    const ObjectListEntry *entryOf(const QTreeWidgetItem *item) const;
    // The text of the selected object; empty when none.
    QString selectedObjectText() const;
    // Makes the object with this list key ("tu5") the list's current row and returns it;
    // nullptr when the list does not hold it.
    const ObjectListEntry *selectEntry(const QString &key);

signals:
    void objectChosen(const ObjectListEntry &entry);
    // A period date changed and the user has stopped changing it.
    void periodChanged();

private:
    void chooseItem(QTreeWidgetItem *item);

    QTabBar *m_tabs = nullptr;
    QWidget *m_periodArea = nullptr;
    QGroupBox *m_pickers = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    RangeCalendar *m_monthView2 = nullptr;
    QTreeWidget *m_list = nullptr;
    std::vector<ObjectListEntry> m_entries; // by the row's index in the list
};

} // namespace korvesta
