#pragma once

#include "options/optionssession.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvesta {

class frmMain;
class RangeCalendar;

// "Настройки": the norms, display defaults, export options and the small lists of the
// document (faculties, specializations, lesson times, the study period and holidays), on
// the tabs of SSTab1. The dialog only shows and collects; OptionsSession does the work.
class frmOptions : public QDialog
{
    Q_OBJECT

public:
    explicit frmOptions(frmMain &window);
    ~frmOptions() override;

    OptionsSession &options() { return m_options; }
    QTabWidget *tabs() const { return m_tabs; }

    // Copies the controls into the settings and writes the study period; false when a value
    // was refused (the user has been told and the control has the focus).
    bool applyChanges();

public slots:
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // frmoptions_tabs.cpp: the tabs and their controls.
    void buildTabs();
    QWidget *buildTimetableTab();
    QWidget *buildPeriodTab();
    QWidget *buildNormsTab();
    QWidget *buildListsTab();
    QWidget *buildDisplayTab();
    QWidget *buildServiceTab();
    QWidget *buildGenerateTab();
    QLineEdit *numberBox(const char *name);
    QCheckBox *checkBox(const char *name, const QString &caption);
    QLabel *swatch(const char *name, const QString &toolTip);

    // frmoptions.cpp: the settings record to and from the controls.
    void loadRecord();
    SettingsRecord editedRecord() const;
    void numberEdited(QLineEdit *box);
    void deriveLessonsInPeriod(QLineEdit *changed);
    bool keyPreview(QWidget *focus, QKeyEvent *event);
    void showRefusal(const QString &control);
    void swatchClicked(QLabel *swatch);
    static void paintSwatch(QLabel *swatch, const QColor &color);

    // frmoptions_lists.cpp: the lists of the document and what their buttons do.
    void fillFaculties();
    void fillSpecializations();
    void fillLessonTimes();
    void fillHolidays();
    void addFaculty();
    void deleteFaculty();
    void addSpecialization();
    void deleteSpecialization();
    void setLessonTime(bool clear);
    void dateOutPressed();
    void displayOptionChosen(int item);
    bool applyDisplayText();
    int displayItem() const; // the view whose display default the boxes show
    bool displayTextChanged() const;
    void protectionClicked(bool wanted);
    void protectAll();
    void associateExtension();
    static int selectedKey(const QTreeWidget *list);

    frmMain &m_window;
    OptionsSession m_options;
    QColor m_gridBackground; // the grid's background when the dialog opened
    bool m_loading = false;

    QTabWidget *m_tabs = nullptr;
    QPushButton *m_apply = nullptr;
    // The weights of the automatic compilation's goals, as softWeightFields() lists them.
    std::vector<QSpinBox *> m_weights;

    // Range of the data shown.
    std::array<QRadioButton *, 4> m_workDays{}; // 4 to 7
    QLineEdit *m_workTimePeriod = nullptr;
    QLineEdit *m_lessonsInDay = nullptr;
    QLineEdit *m_lessonsInPeriod = nullptr;
    // Lesson times.
    QTreeWidget *m_timeLessons = nullptr;
    QLineEdit *m_timeLesson = nullptr;
    // Holidays and the study period.
    RangeCalendar *m_monthView = nullptr;
    QTreeWidget *m_dateOut = nullptr;
    QPushButton *m_dateOutButton = nullptr;
    QDateEdit *m_periodStart = nullptr;
    QDateEdit *m_periodEnd = nullptr;
    // Norms.
    QLineEdit *m_lecture = nullptr;
    QLineEdit *m_hoursValue = nullptr;
    QLineEdit *m_lessonsToTutor = nullptr;
    QCheckBox *m_jobOverFlow = nullptr;
    std::array<QRadioButton *, 2> m_overFlowView{};
    QCheckBox *m_freeWindow = nullptr;
    QCheckBox *m_useTypeFaculty = nullptr;
    QCheckBox *m_useTypeTuition = nullptr;
    QCheckBox *m_useTypeFinance = nullptr;
    QLineEdit *m_subGroupCount = nullptr;
    QLineEdit *m_lessonsToGroup = nullptr;
    QLabel *m_subGroupColor = nullptr;
    QCheckBox *m_useTypeDiscipline = nullptr;
    QCheckBox *m_showLevelDiff = nullptr;
    // Faculties and specializations.
    QLineEdit *m_faculty = nullptr;
    QTreeWidget *m_faculties = nullptr;
    QLineEdit *m_discType = nullptr;
    QTreeWidget *m_discTypes = nullptr;
    // Display defaults and colours.
    std::array<QRadioButton *, 3> m_displayOption{};
    std::array<QCheckBox *, 7> m_displayText{};
    QGroupBox *m_moveTimeLesson = nullptr;
    std::array<QRadioButton *, 2> m_timePlace{};
    QLabel *m_gridColor = nullptr;
    std::array<QLabel *, 3> m_levelColors{};
    // Services, export and security.
    QCheckBox *m_useHeadReport = nullptr;
    QLineEdit *m_headReport = nullptr;
    QCheckBox *m_useFooterReport = nullptr;
    QLineEdit *m_footerReport = nullptr;
    QCheckBox *m_fixMonthView = nullptr;
    QCheckBox *m_checkAuditoria = nullptr;
    QCheckBox *m_checkDelete = nullptr;
    QCheckBox *m_showWeekNumber = nullptr;
    QCheckBox *m_mergeLessons = nullptr;
    QCheckBox *m_exportPrintPreview = nullptr;
    QCheckBox *m_exportColor = nullptr;
    QComboBox *m_excelPrintFormat = nullptr;
    QCheckBox *m_saveCurrTable = nullptr;
};

// "Настройки" from the service menu: the dialog, then the view refilled with what it changed.
void showOptions(frmMain &window);

} // namespace korvesta
