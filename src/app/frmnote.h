#pragma once

#include <QDate>
#include <QPointer>
#include <QPropertyAnimation>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QTimer;

namespace korvesta {

class DateNote;
class SettingsStore;

// The notes window: the note of one date beside the main window. It slides in from the main
// window's right edge and fades in; left idle it dims, and comes back at the first touch.
// The note is read when the window opens and stored when it closes (F9, Esc, or closing it);
// the window then slides back and is gone.
class frmNote : public QWidget
{
    Q_OBJECT

public:
    frmNote(DateNote &note, SettingsStore &settings, const QDate &date, QWidget *mainWindow);
    ~frmNote() override;

    const QDate &date() const { return m_date; }
    bool dimmed() const { return m_dimmed; }
    // Slides and fades in (no animation when animated is false: tests).
    void appear(bool animated = true);
    // Stores the note and goes; closed() follows once it is gone.
    void leave(bool animated = true);
    // What the idle timer does when it runs out (tests).
    void idleTimeout();

signals:
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void touched();
    void fadeTo(qreal opacity, bool animated);
    QRect placeBeside() const;

    DateNote &m_note;
    SettingsStore &m_settings;
    QDate m_date;
    QWidget *m_mainWindow;
    QLabel *m_label;
    QPlainTextEdit *m_text;
    QTimer *m_idle;
    QPointer<QPropertyAnimation> m_fade; // the fade running, if any
    // Mouse activity over the window since the idle timer was started again.
    bool m_armed = false;
    bool m_dimmed = false;
    // The idle timer has dimmed the window once since the last activity.
    bool m_fadedByTimer = false;
    bool m_leaving = false;
    bool m_stored = false;
};

} // namespace korvesta
