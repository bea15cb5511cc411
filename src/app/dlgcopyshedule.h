#pragma once

#include "editing/timetablecopying.h"

#include <QDateEdit>
#include <QDialog>

#include <functional>

class QCheckBox;
class QGroupBox;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace korvesta {

class DocumentSession;
class Prompts;
class SettingsStore;
class frmMain;
struct SettingsRecord;

// A date picker of the copy dialog. By day it shows "dd MMM yyyy - ddd"; by week it keeps to
// Mondays, shows the working-week number of its date ("5 неделя") and steps a week at a time.
class CopyDatePicker : public QDateEdit
{
    Q_OBJECT

public:
    explicit CopyDatePicker(std::function<int(const QDate &)> weekNumber,
                            QWidget *parent = nullptr);

    void setWeekMode(bool week);
    bool weekMode() const { return m_week; }
    void stepBy(int steps) override;

protected:
    QString textFromDateTime(const QDateTime &dateTime) const override;
    QDateTime dateTimeFromText(const QString &text) const override;
    QValidator::State validate(QString &input, int &pos) const override;

private:
    void snapToMonday();
    void showWeekStart();

    std::function<int(const QDate &)> m_weekNumber;
    bool m_week = false;
};

// "Копирование расписания": a day, a week or a day replicated over a period, with the way
// the destination's lessons are treated and a progress bar with Cancel. The choices are kept
// in the settings section "Wizard" from one opening to the next.
class dlgCopyShedule : public QDialog
{
    Q_OBJECT

public:
    // statusText shows the copy's status texts (the main window's status bar).
    dlgCopyShedule(DocumentSession &session, const SettingsRecord &record, SettingsStore &settings,
                   Prompts &prompts, std::function<void(const QString &)> statusText,
                   QWidget *parent = nullptr);
    ~dlgCopyShedule() override;

    // The report of the last copy; its outcome is Refused until one has run.
    const CopyReport &report() const { return m_report; }
    bool isCopying() const { return m_running; }

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    class Bar;
    void periodChanged();
    void copy();
    void cancel();
    void saveSettings();
    CopyRequest request() const;

    DocumentSession &m_session;
    const SettingsRecord &m_record;
    SettingsStore &m_settings;
    Prompts &m_prompts;
    std::function<void(const QString &)> m_statusText;
    CopyReport m_report;

    CopyDatePicker *m_source;
    CopyDatePicker *m_destination;
    QRadioButton *m_oneDay;
    QRadioButton *m_oneWeek;
    QRadioButton *m_clearFirst;
    QRadioButton *m_over;
    QCheckBox *m_multiCopy;
    QGroupBox *m_process;
    QProgressBar *m_bar;
    QPushButton *m_copyButton;
    QPushButton *m_cancelButton;
    bool m_running = false;
    bool m_cancelled = false;
};

// Submenu "Копировать расписание": the dialog over the window's document; the view is filled
// again once it closes.
void copyTimetable(frmMain &window);

} // namespace korvesta
