#pragma once

#include <QDate>
#include <QDialog>
#include <QStringList>

#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;

namespace korvesta {

// "Составление расписания": the period, which groups (all of them, a course or a faculty) and
// how long to search. The dialog only asks; the window compiles once it is accepted.
class dlgGenerate : public QDialog
{
    Q_OBJECT

public:
    // A course or a faculty the groups can be chosen by, with its groups' keys.
    struct GroupSet
    {
        QString name;
        std::vector<int> groups;
    };

    // `groups` holds each group alone, "П-9 (1)", for the planner to tick.
    dlgGenerate(const QDate &monday, const std::vector<GroupSet> &courses,
                const std::vector<GroupSet> &faculties, const std::vector<GroupSet> &groups,
                QWidget *parent = nullptr);

    QDate from() const;
    QDate to() const;
    // The chosen groups' keys; empty for every group.
    std::vector<int> groups() const;
    int timeLimitSeconds() const;
    // Whether the lessons the program placed earlier in the period are placed anew.
    bool replace() const;

private:
    std::vector<GroupSet> m_courses, m_faculties, m_groups;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QRadioButton *m_all;
    QRadioButton *m_byCourse;
    QRadioButton *m_byFaculty;
    QRadioButton *m_chosen;
    QListWidget *m_groupList;
    QComboBox *m_course;
    QComboBox *m_faculty;
    QSpinBox *m_seconds;
    QCheckBox *m_replace;
};

} // namespace korvesta
