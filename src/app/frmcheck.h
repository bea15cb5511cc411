#pragma once

#include "check/timetablecheck.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvesta {

class frmMain;

// "Проверка расписания": every problem of a period in one list, grouped by kind with its count
// and sortable by any column. A double click on a problem opens the day timetable of its date
// with the cell of its group and lesson chosen.
class frmCheck : public QDialog
{
    Q_OBJECT

public:
    explicit frmCheck(frmMain &window);

    // Checks the period of the date boxes again and shows the list.
    void runCheck();
    const TimetableCheck &result() const { return m_result; }
    // Opens the day view on the problem's date and cell (false when it has no date).
    bool openProblem(const TimetableProblem &problem);

private:
    void fill();
    void itemOpened(QTreeWidgetItem *item);

    frmMain &m_window;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QTreeWidget *m_list;
    QLabel *m_summary;
    TimetableCheck m_result;
};

} // namespace korvesta
