#pragma once

#include "editing/placement.h"

#include <QDialog>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvesta {

class SettingsStore;

// The job dialog: the load lines of a group or tutor for one lesson, checked one per
// subgroup (or per group of a lecture), with the auditorium of each, the lesson type and the
// paired lesson; or, for an auditorium change, the cell's lessons with their auditoriums. It
// draws a PlacementChoice and hands every click to it; "Добавить" hands the choice to the
// writer, and the dialog closes once it is written.
class dlgSelectJob : public QDialog
{
    Q_OBJECT

public:
    using Writer = std::function<PlacementResult(PlacementChoice &, const PlacementRequest &)>;

    dlgSelectJob(PlacementChoice &choice, Writer write, Prompts &prompts, SettingsStore &settings,
                 QWidget *parent = nullptr);
    ~dlgSelectJob() override;

    // The cells written by "Добавить"; empty until then.
    const PlacementResult &result() const { return m_result; }
    // The line "Подобрать время" was asked for (the dialog closed for it); 0 otherwise.
    int suggestFor() const { return m_suggestFor; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void fillList();
    void measureColumns();
    void fitColumns();
    void sizeToContent();
    void itemChanged(QTreeWidgetItem *item, int column);
    void currentChanged(QTreeWidgetItem *item);
    void showSlots();
    int currentSlot() const;
    int currentKey() const;
    void setCurrentKey(int keyJobList);
    void add();

    PlacementChoice &m_choice;
    Writer m_write;
    Prompts &m_prompts;
    SettingsStore &m_settings;
    PlacementResult m_result;

    QTreeWidget *m_list;
    std::vector<QLineEdit *> m_audBoxes; // by slot; [0] unused
    QComboBox *m_auds;
    QComboBox *m_types;
    QCheckBox *m_pair;
    QPushButton *m_ok;
    bool m_filling = false;
    int m_suggestFor = 0;
    // What each column's texts need, measured once the list is filled; 0 for a hidden one.
    std::vector<int> m_contentWidths;
};

} // namespace korvesta
