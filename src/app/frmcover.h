#pragma once

#include "assist/cover.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvesta {

class frmMain;
class frmPreview;

// "Замены": the lessons an absent tutor leaves on a date, each with the tutors who could take
// it, the best first. "Назначить" (or a double click on a tutor) gives the lesson away and
// writes it into the date's note; "Отчёт за день..." shows the day's covers in the preview,
// to print or save. Not modal; one at a time beside the main window, which owns it.
class frmCover : public QWidget
{
    Q_OBJECT

public:
    explicit frmCover(frmMain &window);

    // Opens the window (or brings the open one to the front) on the calendar's date.
    static frmCover *showFor(frmMain &window);

    // Reads the list again for the tutor and date of the boxes.
    void refresh();
    // Gives the lesson of the chosen item to its tutor (the lesson's best one when a lesson
    // is chosen). True when the document changed.
    bool assignChosen();
    void showReport();

    const CoverList &list() const { return m_list; }
    void setTutor(const QString &tutor);
    void setDate(const QDate &date);

private:
    void fillTutors();
    // The period's end at the last day of the tutor's absence from the first date on.
    void extendToAbsence();
    void fill();
    void say(const QString &text);
    // The lesson and the candidate an item stands for; false for none.
    bool chosen(const QTreeWidgetItem *item, size_t &lesson, size_t &candidate) const;

    frmMain &m_window;
    QComboBox *m_tutor;
    QDateEdit *m_date;
    QDateEdit *m_to; // the last date of the absence; the date itself for one day
    bool m_assigning = false;
    QStackedWidget *m_stack;
    QTreeWidget *m_tree;
    QLabel *m_message;
    QLabel *m_status;
    QPushButton *m_assign;
    QPointer<frmPreview> m_preview;
    CoverList m_list;
    QString m_given; // the last lesson given away, told under the list
    QString m_listDocument; // the document the list was read from
};

} // namespace korvesta
