#pragma once

#include "year/nextyear.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QDateEdit;
class QLineEdit;

namespace korvesta {

class frmMain;
class Prompts;

// "Новый учебный год": the first day of the new study period, whether the load comes along
// (and a table of its hours), and the new document's file. OK hands the choices to `start`,
// which says whether the new document was written; the dialog stays open, with what was
// entered, when it was not.
class dlgNewYear : public QDialog
{
    Q_OBJECT

public:
    dlgNewYear(const NextYearRequest &suggested, Prompts &prompts,
               std::function<bool(const NextYearRequest &)> start, QWidget *parent = nullptr);

    NextYearRequest request() const;

private:
    void chooseTarget();
    void chooseHours();

    NextYearRequest m_suggested;
    Prompts &m_prompts; // Not owned.
    std::function<bool(const NextYearRequest &)> m_start;
    QDateEdit *m_startDate;
    QCheckBox *m_keepLoad;
    QLineEdit *m_hours;
    QLineEdit *m_target;
};

// Файл → "Новый учебный год...": writes the next year's document from the current one and
// offers to open it.
void startNewYearFromMenu(frmMain &window);

} // namespace korvesta
