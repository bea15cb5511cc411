#include "dlgcopyshedule.h"

#include "frmresultlist.h"
#include "mainwindow.h"
#include "statusbarpanels.h"
#include "viewdispatcher.h"

#include "data/calendar.h"
#include "data/documentsession.h"
#include "editing/progress.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvesta {

namespace {

const QString kWizard = QStringLiteral("Wizard");
const QString kDayFormat = QStringLiteral("dd MMM yyyy - ddd");
const QString kStoredDate = QStringLiteral("dd.MM.yyyy");
const QString kProcess = QStringLiteral("Процесс...");

QDate storedDate(const SettingsStore &settings, const QString &key)
{
    const QDate date = QDate::fromString(
        settings.readText(kWizard, key, QDate::currentDate().toString(kStoredDate)), kStoredDate);
    return date.isValid() ? date : QDate::currentDate();
}

} // namespace

// Date picker -------------------------------------------------------------------------------

CopyDatePicker::CopyDatePicker(std::function<int(const QDate &)> weekNumber, QWidget *parent)
    : QDateEdit(parent)
    , m_weekNumber(std::move(weekNumber))
{
    setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    setCalendarPopup(true);
    setDisplayFormat(kDayFormat);
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (m_week)
            snapToMonday();
        showWeekStart();
    });
}

void CopyDatePicker::setWeekMode(bool week)
{
    if (m_week == week)
        return;
    m_week = week;
    lineEdit()->setReadOnly(week);
    if (week)
        snapToMonday();
    // The format is set again so that the text is drawn anew in the mode's form.
    setDisplayFormat(week ? QStringLiteral("dd.MM.yyyy") : kDayFormat);
    lineEdit()->setText(textFromDateTime(dateTime()));
    showWeekStart();
}

void CopyDatePicker::showWeekStart()
{
    // The week's number alone does not say which dates it holds.
    setToolTip(m_week ? QStringLiteral("Неделя с ") + date().toString(QStringLiteral("dd.MM.yyyy"))
                      : QString());
}

void CopyDatePicker::snapToMonday()
{
    const QDate d = date();
    if (d.dayOfWeek() != 1)
        setDate(d.addDays(1 - d.dayOfWeek()));
}

void CopyDatePicker::stepBy(int steps)
{
    if (m_week) {
        setDate(date().addDays(7 * steps));
        lineEdit()->setText(textFromDateTime(dateTime()));
        return;
    }
    QDateEdit::stepBy(steps);
}

QString CopyDatePicker::textFromDateTime(const QDateTime &dateTime) const
{
    if (m_week && m_weekNumber)
        return QString::number(m_weekNumber(dateTime.date())) + QStringLiteral(" неделя");
    return QDateEdit::textFromDateTime(dateTime);
}

QDateTime CopyDatePicker::dateTimeFromText(const QString &text) const
{
    if (m_week)
        return dateTime(); // the week's text names no date: the picker keeps its own
    return QDateEdit::dateTimeFromText(text);
}

QValidator::State CopyDatePicker::validate(QString &input, int &pos) const
{
    if (m_week)
        return QValidator::Acceptable;
    return QDateEdit::validate(input, pos);
}

// Progress -----------------------------------------------------------------------------------

// The copy's course on the dialog's progress bar and the window's status bar; Cancel is
// heard between dates, since the events are let through while the copy runs.
class dlgCopyShedule::Bar : public Progress
{
public:
    explicit Bar(dlgCopyShedule &dialog)
        : m_dialog(dialog)
    {
        m_shown.start();
    }

    void status(const QString &text) override
    {
        if (m_dialog.m_statusText)
            m_dialog.m_statusText(text);
        letEventsThrough(false);
    }
    void advance(int done, int total) override
    {
        m_done = done;
        m_total = total;
        letEventsThrough(false);
    }
    bool cancelled() override
    {
        letEventsThrough(true);
        return m_dialog.m_cancelled;
    }

private:
    // Redrawing after every lesson would cost more than the copy: a few times a second is
    // enough to see it move.
    void letEventsThrough(bool always)
    {
        if (!always && m_shown.elapsed() < 40)
            return;
        m_shown.restart();
        m_dialog.m_bar->setMaximum(std::max(m_total, 1));
        m_dialog.m_bar->setValue(std::min(m_done, std::max(m_total, 1)));
        QApplication::processEvents();
    }

    dlgCopyShedule &m_dialog;
    QElapsedTimer m_shown;
    int m_done = 0;
    int m_total = 0;
};

// Dialog -------------------------------------------------------------------------------------

dlgCopyShedule::dlgCopyShedule(DocumentSession &session, const SettingsRecord &record,
                               SettingsStore &settings, Prompts &prompts,
                               std::function<void(const QString &)> statusText, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_record(record)
    , m_settings(settings)
    , m_prompts(prompts)
    , m_statusText(std::move(statusText))
{
    setObjectName(QStringLiteral("dlgCopyShedule"));
    setWindowTitle(QStringLiteral("Копирование расписания"));
    const auto weekNumber = [&session](const QDate &date) {
        return workingWeekNumber(session, date);
    };

    auto *sourceFrame = new QGroupBox(QStringLiteral("Исходные данные"), this);
    sourceFrame->setObjectName(QStringLiteral("fraSource"));
    m_source = new CopyDatePicker(weekNumber, sourceFrame);
    m_source->setObjectName(QStringLiteral("DTPicker1(0)"));
    auto *sourceLayout = new QVBoxLayout(sourceFrame);
    sourceLayout->addWidget(new QLabel(QStringLiteral("Дата исходного расписания"), sourceFrame));
    sourceLayout->addWidget(m_source);
    sourceLayout->addStretch();

    auto *destinationFrame = new QGroupBox(QStringLiteral("Новые данные"), this);
    destinationFrame->setObjectName(QStringLiteral("fraDestination"));
    m_destination = new CopyDatePicker(weekNumber, destinationFrame);
    m_destination->setObjectName(QStringLiteral("DTPicker1(1)"));
    auto *destinationLayout = new QVBoxLayout(destinationFrame);
    destinationLayout->addWidget(
        new QLabel(QStringLiteral("Дата нового расписания"), destinationFrame));
    destinationLayout->addWidget(m_destination);
    destinationLayout->addStretch();

    auto *periodFrame = new QGroupBox(QStringLiteral("Период для копирования"), this);
    periodFrame->setObjectName(QStringLiteral("fraPeriod"));
    m_oneDay = new QRadioButton(QStringLiteral("Один день"), periodFrame);
    m_oneDay->setObjectName(QStringLiteral("optCopyTime(0)"));
    m_oneWeek = new QRadioButton(QStringLiteral("Одну неделю"), periodFrame);
    m_oneWeek->setObjectName(QStringLiteral("optCopyTime(1)"));
    auto *periodLayout = new QVBoxLayout(periodFrame);
    periodLayout->addWidget(
        new QLabel(QStringLiteral("Период копируемого расписания"), periodFrame));
    periodLayout->addWidget(m_oneDay);
    periodLayout->addWidget(m_oneWeek);
    periodLayout->addStretch();

    auto *wayFrame = new QGroupBox(QStringLiteral("Способ копирования"), this);
    wayFrame->setObjectName(QStringLiteral("fraWay"));
    m_clearFirst = new QRadioButton(
        QStringLiteral("Предварительно удалять расписание на дату копирования"), wayFrame);
    m_clearFirst->setObjectName(QStringLiteral("optReWriteTimeTable(0)"));
    m_over = new QRadioButton(QStringLiteral("Копировать поверх имеющегося расписания"), wayFrame);
    m_over->setObjectName(QStringLiteral("optReWriteTimeTable(1)"));
    m_multiCopy =
        new QCheckBox(QStringLiteral("Размножить на каждый учебный день периода"), wayFrame);
    m_multiCopy->setObjectName(QStringLiteral("chkMultiCopy"));
    auto *multiNote = new QLabel(QStringLiteral("Только при копировании одного дня"), wayFrame);
    multiNote->setObjectName(QStringLiteral("lblMultiCopy"));
    multiNote->setIndent(m_multiCopy->sizeHint().height());
    auto *wayLayout = new QVBoxLayout(wayFrame);
    wayLayout->addWidget(m_clearFirst);
    wayLayout->addWidget(m_over);
    wayLayout->addSpacing(6);
    wayLayout->addWidget(m_multiCopy);
    wayLayout->addWidget(multiNote);
    wayLayout->addStretch();

    m_process = new QGroupBox(kProcess, this);
    m_process->setObjectName(QStringLiteral("fraProcess"));
    m_bar = new QProgressBar(m_process);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    auto *processLayout = new QVBoxLayout(m_process);
    processLayout->addWidget(m_bar);

    m_copyButton = new QPushButton(QStringLiteral("Копировать"), this);
    m_copyButton->setObjectName(QStringLiteral("CopyButton"));
    m_copyButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Закрыть"), this);
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_copyButton);
    buttons->addWidget(m_cancelButton);

    auto *layout = new QGridLayout(this);
    layout->addWidget(sourceFrame, 0, 0);
    layout->addWidget(destinationFrame, 0, 1);
    layout->addWidget(periodFrame, 1, 0);
    layout->addWidget(wayFrame, 1, 1);
    layout->addWidget(m_process, 2, 0, 1, 2);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_source->setDate(storedDate(settings, QStringLiteral("SourseDate")));
    m_destination->setDate(storedDate(settings, QStringLiteral("DestinationDate")));
    (settings.readInt(kWizard, QStringLiteral("ReWriteTimeTable"), 0) == 1 ? m_over : m_clearFirst)
        ->setChecked(true);
    const bool week = settings.readInt(kWizard, QStringLiteral("CopyWizard"), 0) == 1;
    (week ? m_oneWeek : m_oneDay)->setChecked(true);
    periodChanged();

    connect(m_oneWeek, &QRadioButton::toggled, this, [this] {
        m_settings.writeInt(kWizard, QStringLiteral("CopyWizard"), m_oneWeek->isChecked() ? 1 : 0);
        periodChanged();
    });
    connect(m_copyButton, &QPushButton::clicked, this, &dlgCopyShedule::copy);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        if (m_running)
            cancel();
        else
            reject();
    });
}

dlgCopyShedule::~dlgCopyShedule() = default;

void dlgCopyShedule::periodChanged()
{
    const bool week = m_oneWeek->isChecked();
    m_source->setWeekMode(week);
    m_destination->setWeekMode(week);
    if (week)
        m_multiCopy->setChecked(false);
    m_multiCopy->setEnabled(!week);
}

CopyRequest dlgCopyShedule::request() const
{
    CopyRequest r;
    r.period = m_oneWeek->isChecked() ? CopyPeriod::Week : CopyPeriod::Day;
    r.source = m_source->date();
    r.destination = m_destination->date();
    r.overwrite = m_over->isChecked() ? CopyOverwrite::Over : CopyOverwrite::ClearFirst;
    r.replicate = r.period == CopyPeriod::Day && m_multiCopy->isChecked();
    return r;
}

void dlgCopyShedule::copy()
{
    if (m_running)
        return;
    m_running = true;
    m_cancelled = false;
    m_process->setTitle(kProcess);
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    const QList<QWidget *> choices = {m_source,     m_destination, m_oneDay,    m_oneWeek,
                                      m_clearFirst, m_over,        m_multiCopy, m_copyButton};
    std::vector<bool> enabled;
    for (QWidget *w : choices) {
        enabled.push_back(w->isEnabled());
        w->setEnabled(false);
    }
    m_cancelButton->setText(QStringLiteral("Отмена"));
    // Busy, yet the Cancel button can still be pressed.
    QApplication::setOverrideCursor(Qt::BusyCursor);

    Bar bar(*this);
    TimetableCopying copying(m_session, m_record, m_settings, m_prompts, bar);
    m_report = copying.run(request());
    QApplication::restoreOverrideCursor();
    if (!m_report.skipped.empty()) {
        // Which lessons the copy left out, and why: a list to read, copy or save.
        std::vector<QStringList> rows;
        rows.reserve(m_report.skipped.size());
        for (const SkippedLesson &l : m_report.skipped)
            rows.push_back(skippedLessonCells(l));
        frmResultList list(QStringLiteral("Не скопированные занятия"),
                           m_report.summary.isEmpty()
                               ? QStringLiteral("Не скопировано занятий: %1")
                                     .arg(m_report.skipped.size())
                               : m_report.summary,
                           skippedLessonHeadings(), rows, m_prompts, this);
        list.exec();
    }

    for (int i = 0; i < choices.size(); ++i)
        choices[i]->setEnabled(enabled[size_t(i)]);
    m_cancelButton->setText(QStringLiteral("Закрыть"));
    m_cancelButton->setEnabled(true);
    if (m_report.outcome == CopyOutcome::Done) {
        m_bar->setRange(0, 1);
        m_bar->setValue(1);
        m_process->setTitle(QStringLiteral("Процесс... завершён"));
    }
    m_running = false;
}

void dlgCopyShedule::cancel()
{
    // Heard now, done once the date being copied is finished.
    m_cancelled = true;
    m_cancelButton->setEnabled(false);
}

void dlgCopyShedule::saveSettings()
{
    m_settings.write(kWizard, QStringLiteral("SourseDate"), m_source->date().toString(kStoredDate));
    m_settings.write(kWizard, QStringLiteral("DestinationDate"),
                     m_destination->date().toString(kStoredDate));
    m_settings.writeInt(kWizard, QStringLiteral("ReWriteTimeTable"), m_over->isChecked() ? 1 : 0);
    m_settings.writeInt(kWizard, QStringLiteral("CopyWizard"), m_oneWeek->isChecked() ? 1 : 0);
}

void dlgCopyShedule::done(int result)
{
    // Escape or the window's cross while a copy runs stop the copy, not the dialog.
    if (m_running) {
        cancel();
        return;
    }
    saveSettings();
    QDialog::done(result);
}

void dlgCopyShedule::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        event->ignore();
        cancel();
        return;
    }
    QDialog::closeEvent(event);
}

void copyTimetable(frmMain &window)
{
    StatusBarPanels *status = window.statusPanels();
    // A text wider than the panel would widen the window: it is cut to fit, and shown whole
    // in the panel's tooltip.
    const auto showStatus = [status](const QString &text) {
        QLabel *panel = status->panel(StatusBarPanels::Comment);
        const QString line = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(": "));
        const int room = std::max(panel->contentsRect().width() - 4, 40);
        status->setPanelText(StatusBarPanels::Comment,
                             panel->fontMetrics().elidedText(line, Qt::ElideRight, room));
        panel->setToolTip(line);
    };
    dlgCopyShedule dialog(window.session(), window.settingsRecord(), window.settings(),
                          window.prompts(), showStatus, &window);
    dialog.exec();
    const GridModel *grid = window.grid()->model();
    const int row = grid->currentRow();
    const int col = grid->currentCol();
    window.dispatcher().refresh();
    window.grid()->model()->setCurrentCell(row, col);
}

} // namespace korvesta
