#pragma once

#include "keyboardlocks.h"

#include <QStatusBar>
#include <QTimer>

#include <array>

class QLabel;

namespace korvesta {

// The window's status bar, StatusBar1, as eleven panels counted from 1: "Сегодня:", today's
// date, "Время:", the time, CAPS, NUM, "Дата расписания:", the calendar date, "Рабочая
// неделя", the working-week number and the comment of the running command. The clock and
// the lock keys keep themselves up to date. In a window too narrow for all of them the comment
// (what another planner changed, what a command says) keeps room of its own: the clock is
// hidden first, then today's date, then the lock keys.
class StatusBarPanels : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int PanelCount = 11;
    enum Panel {
        TodayLabel = 1, Today, TimeLabel, Time, Caps, Num, CalendarLabel, CalendarDate,
        WeekLabel, WeekNumber, Comment
    };

    explicit StatusBarPanels(QWidget *parent = nullptr);

    QLabel *panel(int number) const;
    QString panelText(int number) const;
    void setPanelText(int number, const QString &text);

    // The filter the view shown is narrowed by, beside the comment; hidden when empty.
    void showFilter(const QString &entry);

    // Reads the clock and the lock keys again.
    void refreshClock();
    void refreshLocks();
    // A lock key went down in the window.
    void lockKeyPressed(int key);

signals:
    void panelClicked(int number);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void scheduleClock();
    void fitPanels();

    std::array<QLabel *, PanelCount> m_panels{};
    QLabel *m_filter = nullptr;
    QTimer m_clock;
    KeyboardLocks m_locks;
};

} // namespace korvesta
