#pragma once

#include "assist/slotmap.h"
#include "assist/slotpaint.h"

#include <QDockWidget>

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvesta {

class frmMain;

// "Подобрать время": the placement assistant beside the grid. For one load line it colours
// the line's group in the day and week timetables by where the line can go and lists the
// best lessons of the week (or four weeks) of the calendar date, best first; a double click
// on a lesson places it with the ordinary placement checks.
class SlotAssistant : public QDockWidget
{
    Q_OBJECT

public:
    explicit SlotAssistant(frmMain &window);

    // The command: the load line of the load view's current row, or the line worked for
    // already, in the week timetable.
    void startFromView();
    // Works for the load line given by its key and shows the week timetable.
    void startForLine(int keyJobList);
    // The line worked for; nothing while the assistant is closed.
    const std::optional<AssistLine> &line() const { return m_line; }
    // Places the lesson of the list's row (false when nothing was written).
    bool placeRow(int row);
    QTreeWidget *list() const { return m_list; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void start(const AssistLine &line);
    void stop();
    // After every fill of the window: the line read again, the list and the colours.
    void viewShown(int code);
    void update();
    void fillList(const std::vector<SlotState> &best);
    void showMessage(const QString &text);
    void currentChanged(QTreeWidgetItem *item);
    // The cell of the line's group at the lesson, current and in sight.
    void showCell(const QDate &date, int lesson);

    frmMain &m_window;
    std::optional<AssistLine> m_line;
    QString m_document; // the path of the document the line belongs to
    std::vector<SlotState> m_best;
    SlotPaint m_paint;
    QLabel *m_header;
    QComboBox *m_period;
    QTreeWidget *m_list;
    QLabel *m_message;
    QLabel *m_details;
    QPushButton *m_place;
    bool m_sized = false; // the pane took its width once; then the user's width stays
};

} // namespace korvesta
