#include "frmoptions.h"

#include "gridlookcommands.h"
#include "mainwindow.h"
#include "rangecalendar.h"
#include "viewdispatcher.h"

#include "data/prompts.h"
#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "options/optionsrules.h"
#include "compile/softweights.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvesta {

namespace {

const QString kSettings = QStringLiteral("Settings");

quint32 storedColour(const SettingsStore &store, const QString &key, quint32 fallback)
{
    bool ok = false;
    const qint64 value = store.readText(kSettings, key, QString()).trimmed().toLongLong(&ok);
    return ok ? quint32(value) : fallback;
}

// The colours the difficulty levels have until the user chooses others.
constexpr quint32 kLevelColours[] = {0x80000008u, 0x008000u, 0x800000u};

} // namespace

frmOptions::frmOptions(frmMain &window)
    : QDialog(&window)
    , m_window(window)
    , m_options(window.session(), window.settings(), window.settingsRecord(), window.prompts())
    , m_gridBackground(window.grid()->model()->backColorBkg())
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Настройки"));
    buildTabs();

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_apply = buttons->addButton(QStringLiteral("Применить"), QDialogButtonBox::ApplyRole);
    m_apply->setObjectName(QStringLiteral("cmdApply"));
    for (QPushButton *b : {ok, cancel, m_apply}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(ok, &QPushButton::clicked, this, &frmOptions::accept);
    connect(cancel, &QPushButton::clicked, this, &frmOptions::reject);
    connect(m_apply, &QPushButton::clicked, this, &frmOptions::applyChanges);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buttons);

    loadRecord();
    fillFaculties();
    fillSpecializations();
    fillLessonTimes();
    fillHolidays();
    qApp->installEventFilter(this);
}

frmOptions::~frmOptions()
{
    qApp->removeEventFilter(this);
}

void frmOptions::loadRecord()
{
    m_loading = true;
    const SettingsRecord &r = m_options.record();
    const SettingsStore &store = m_window.settings();
    const SoftWeights weights = readSoftWeights(store);
    for (size_t i = 0; i < m_weights.size(); ++i)
        m_weights[i]->setValue(weights.*softWeightFields()[i].weight);
    const int workDays = std::clamp(r.WorkDays, 4, 7);
    m_workDays[size_t(workDays - 4)]->setChecked(true);
    const auto number = [](QLineEdit *box, int value) { box->setText(QString::number(value)); };
    number(m_workTimePeriod, r.WorkTimePeriod);
    number(m_lessonsInDay, r.LessonsInDay);
    number(m_lessonsInPeriod, r.LessonsInPeriod);
    number(m_lecture, r.CountGroupOnLecture);
    number(m_hoursValue, r.HoursValue);
    number(m_lessonsToTutor, r.LessonsToTutor);
    number(m_subGroupCount, r.SubGroupCount);
    number(m_lessonsToGroup, r.LessonsToGroup);
    m_jobOverFlow->setChecked(r.JobOverFlow);
    m_overFlowView[r.OverFlowView ? 0 : 1]->setChecked(true);
    m_freeWindow->setChecked(r.FreeWindow);
    m_useTypeFaculty->setChecked(r.UseTypeFaculty);
    m_useTypeTuition->setChecked(r.UseTypeTuition);
    m_useTypeFinance->setChecked(r.UseTypeFinance);
    m_useTypeDiscipline->setChecked(r.UseTypeDiscipline);
    m_showLevelDiff->setChecked(r.ShowLevelDiff);
    paintSwatch(m_subGroupColor, colorFromBgr(r.SubGroupColor));
    paintSwatch(m_gridColor, m_gridBackground);
    for (int i = 0; i < 3; ++i)
        paintSwatch(m_levelColors[size_t(i)],
                    colorFromBgr(storedColour(store, QStringLiteral("LevelDiff_%1").arg(i),
                                              kLevelColours[i])));

    m_displayOption[0]->setChecked(true);
    displayOptionChosen(0);
    m_displayText[6]->setChecked(r.ShowTimeLesson);
    m_moveTimeLesson->setEnabled(r.ShowTimeLesson);
    m_timePlace[r.TimePlace ? 1 : 0]->setChecked(true);

    m_useHeadReport->setChecked(r.UseHeadReport);
    m_headReport->setText(r.HeaderReport);
    m_headReport->setEnabled(r.UseHeadReport);
    m_useFooterReport->setChecked(r.UseFooterReport);
    m_footerReport->setText(r.FooterReport);
    m_footerReport->setEnabled(r.UseFooterReport);
    m_fixMonthView->setChecked(r.FixMonthView);
    m_checkAuditoria->setChecked(r.CheckAuditoria);
    m_checkDelete->setChecked(r.CheckDelete);
    m_showWeekNumber->setChecked(r.ShowWeekNumber);
    m_mergeLessons->setChecked(r.MergeLessons);
    m_exportPrintPreview->setChecked(r.ExcelPrintPreview);
    m_exportColor->setChecked(exportColors(store));
    const int format = m_excelPrintFormat->findText(r.ExcelPrintFormat);
    m_excelPrintFormat->setCurrentIndex(std::max(format, 0));
    m_saveCurrTable->setChecked(r.SaveCurrTable);

    const OptionsSession::Period period = m_options.studyPeriod();
    m_periodStart->setDate(period.start);
    m_periodEnd->setDate(period.end);
    m_monthView->setSelectedDate(
        std::clamp(QDate::currentDate(), period.start, std::max(period.start, period.end)));
    m_loading = false;
}

SettingsRecord frmOptions::editedRecord() const
{
    SettingsRecord r = m_options.record();
    for (int i = 0; i < 4; ++i) {
        if (m_workDays[size_t(i)]->isChecked())
            r.WorkDays = i + 4;
    }
    r.WorkTimePeriod = options::shortValue(m_workTimePeriod->text());
    r.LessonsInDay = options::shortValue(m_lessonsInDay->text());
    r.LessonsInPeriod = options::shortValue(m_lessonsInPeriod->text());
    r.CountGroupOnLecture = options::shortValue(m_lecture->text());
    r.HoursValue = options::shortValue(m_hoursValue->text());
    r.LessonsToTutor = options::shortValue(m_lessonsToTutor->text());
    r.SubGroupCount = options::shortValue(m_subGroupCount->text());
    r.LessonsToGroup = options::shortValue(m_lessonsToGroup->text());
    r.JobOverFlow = m_jobOverFlow->isChecked();
    r.OverFlowView = m_overFlowView[0]->isChecked();
    r.FreeWindow = m_freeWindow->isChecked();
    r.UseTypeFaculty = m_useTypeFaculty->isChecked();
    r.UseTypeTuition = m_useTypeTuition->isChecked();
    r.UseTypeFinance = m_useTypeFinance->isChecked();
    r.UseTypeDiscipline = m_useTypeDiscipline->isChecked();
    r.ShowLevelDiff = m_showLevelDiff->isChecked();
    r.SubGroupColor = bgrFromColor(m_subGroupColor->palette().color(QPalette::Window));
    r.ShowTimeLesson = m_displayText[6]->isChecked();
    r.TimePlace = m_timePlace[1]->isChecked();
    r.UseHeadReport = m_useHeadReport->isChecked();
    r.HeaderReport = m_headReport->text();
    r.UseFooterReport = m_useFooterReport->isChecked();
    r.FooterReport = m_footerReport->text();
    r.FixMonthView = m_fixMonthView->isChecked();
    r.CheckAuditoria = m_checkAuditoria->isChecked();
    r.CheckDelete = m_checkDelete->isChecked();
    r.ShowWeekNumber = m_showWeekNumber->isChecked();
    r.MergeLessons = m_mergeLessons->isChecked();
    r.ExcelPrintPreview = m_exportPrintPreview->isChecked();
    r.ExcelPrintFormat = m_excelPrintFormat->currentText();
    r.SaveCurrTable = m_saveCurrTable->isChecked();
    return r;
}

void frmOptions::numberEdited(QLineEdit *box)
{
    const QString kept = options::numericText(box->text());
    if (kept != box->text()) {
        const QSignalBlocker blocker(box);
        box->setText(kept);
        box->setCursorPosition(int(kept.size()));
    }
    if (box == m_lessonsInDay || box == m_workTimePeriod)
        deriveLessonsInPeriod(box);
    if (box == m_lessonsInDay || box == m_lessonsInPeriod)
        fillLessonTimes();
}

void frmOptions::deriveLessonsInPeriod(QLineEdit *changed)
{
    if (m_loading)
        return;
    const int shifts = options::shortValue(m_workTimePeriod->text());
    if (changed == m_workTimePeriod && shifts == 0)
        return;
    if (const std::optional<int> lessons =
            options::lessonsInPeriod(options::shortValue(m_lessonsInDay->text()), shifts))
        m_lessonsInPeriod->setText(QString::number(*lessons));
}

bool frmOptions::applyChanges()
{
    // The display boxes as ticked count without their own "Принять".
    if (displayTextChanged() && !applyDisplayText())
        return false;
    const std::optional<options::Refusal> refusal =
        m_options.apply(editedRecord(), {m_periodStart->date(), m_periodEnd->date()});
    if (refusal) {
        showRefusal(refusal->control);
        return false;
    }
    setExportColors(m_window.settings(), m_exportColor->isChecked());
    SoftWeights weights;
    for (size_t i = 0; i < m_weights.size(); ++i)
        weights.*softWeightFields()[i].weight = m_weights[i]->value();
    writeSoftWeights(m_window.settings(), weights);
    m_apply->setEnabled(false);
    return true;
}

void frmOptions::showRefusal(const QString &control)
{
    auto *widget = findChild<QWidget *>(control);
    if (!widget)
        return;
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->widget(i)->isAncestorOf(widget))
            m_tabs->setCurrentIndex(i);
    }
    widget->setFocus();
    if (auto *box = qobject_cast<QLineEdit *>(widget))
        box->selectAll();
}

void frmOptions::accept()
{
    if (applyChanges())
        QDialog::accept();
}

// What the dialog wrote at once (the lists, colours, protection, the display defaults)
// stays; the record's fields are left unwritten.
void frmOptions::reject()
{
    QDialog::reject();
}

void frmOptions::paintSwatch(QLabel *swatch, const QColor &color)
{
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, color);
    swatch->setPalette(palette);
}

void frmOptions::swatchClicked(QLabel *swatch)
{
    if (swatch == m_gridColor) {
        if (m_window.gridLook().chooseBackground())
            paintSwatch(m_gridColor, m_window.grid()->model()->backColorBkg());
        return;
    }
    const QColor current = swatch->palette().color(QPalette::Window);
    const std::optional<QColor> chosen = m_window.prompts().chooseColor(current);
    if (!chosen || *chosen == current)
        return;
    paintSwatch(swatch, *chosen);
    for (int i = 0; i < 3; ++i) {
        if (swatch == m_levelColors[size_t(i)])
            m_options.setLevelColour(i, bgrFromColor(*chosen));
    }
}

bool frmOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (QLabel *swatch :
             {m_gridColor, m_subGroupColor, m_levelColors[0], m_levelColors[1], m_levelColors[2]}) {
            if (watched == swatch && swatch->isEnabled()) {
                swatchClicked(swatch);
                return true;
            }
        }
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this && isVisible()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((watched == m_faculties || watched == m_discTypes) && key->key() == Qt::Key_Delete) {
            if (watched == m_faculties)
                deleteFaculty();
            else
                deleteSpecialization();
            return true;
        }
        if (keyPreview(static_cast<QWidget *>(watched), key))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Keys the dialog takes before its controls: Ctrl+Tab turns to the next tab (from the last
// to the first), Enter applies (or adds what the text box in focus holds), Esc closes.
bool frmOptions::keyPreview(QWidget *focus, QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Tab:
        if (!ctrl)
            return false;
        m_tabs->setCurrentIndex((m_tabs->currentIndex() + 1) % m_tabs->count());
        return true;
    case Qt::Key_Backtab:
        if (!ctrl)
            return false;
        m_tabs->setCurrentIndex((m_tabs->currentIndex() + m_tabs->count() - 1) % m_tabs->count());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (focus == m_faculty)
            addFaculty();
        else if (focus == m_discType)
            addSpecialization();
        else if (focus == m_timeLesson)
            setLessonTime(false);
        else if (auto *button = qobject_cast<QPushButton *>(focus))
            button->click();
        else
            applyChanges();
        return true;
    }
    case Qt::Key_Escape:
        reject();
        return true;
    default:
        return false;
    }
}

void showOptions(frmMain &window)
{
    {
        frmOptions dialog(window);
        dialog.exec();
    }
    const SettingsRecord &record = window.settingsRecord();
    window.calendar()->setVerticalHeaderFormat(record.ShowWeekNumber
                                                   ? QCalendarWidget::ISOWeekNumbers
                                                   : QCalendarWidget::NoVerticalHeader);
    // Lesson times, the study period, holidays and the norms show in every view.
    window.dispatcher().refresh();
}

} // namespace korvesta
