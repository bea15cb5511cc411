#pragma once

#include "editing/progress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSizePolicy>

#include <vector>

class QLabel;
class QProgressBar;
class QWidget;

namespace korvesta {

class StatusBarPanels;

// The window's Progress for a long change of the timetable: its texts go to the comment panel
// of the status bar, its steps to a progress bar in the place of the date and clock panels,
// and Esc asks it to stop. While it lives the wait cursor shows and the window takes no input:
// the change runs on the window's thread and only lets the window repaint now and then. A
// dialog that shows the course itself (with a Cancel button of its own) keeps its input when
// it is named as `keepsInput`, and its Cancel calls cancel().
class StatusProgress : public QObject, public Progress
{
    Q_OBJECT

public:
    explicit StatusProgress(StatusBarPanels *panels, QWidget *keepsInput = nullptr);
    // Takes the progress bar away; the last text stays in the comment panel.
    ~StatusProgress() override;

    void status(const QString &text) override;
    void advance(int done, int total) override;
    bool cancelled() override;

    void cancel() { m_cancelled = true; }
    // The bar, once a step has been reported; for tests and screenshots.
    QProgressBar *bar() const { return m_bar; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Lets the window repaint (and Esc arrive) when some time has passed since the last time.
    void breathe(bool now = false);

    QPointer<StatusBarPanels> m_panels;
    QPointer<QWidget> m_keepsInput;
    QProgressBar *m_bar = nullptr;          // owned by the status bar while shown
    std::vector<QPointer<QLabel>> m_hidden; // the panels the bar stands in for
    QSizePolicy m_commentPolicy;
    QElapsedTimer m_sinceBreath;
    bool m_cancelled = false;
};

} // namespace korvesta
