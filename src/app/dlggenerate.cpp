#include "dlggenerate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvesta {

namespace {

QComboBox *namesBox(const std::vector<dlgGenerate::GroupSet> &sets, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    for (const dlgGenerate::GroupSet &set : sets)
        box->addItem(set.name);
    box->setEnabled(false);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

} // namespace

dlgGenerate::dlgGenerate(const QDate &monday, const std::vector<GroupSet> &courses,
                         const std::vector<GroupSet> &faculties,
                         const std::vector<GroupSet> &groups, QWidget *parent)
    : QDialog(parent)
    , m_courses(courses)
    , m_faculties(faculties)
    , m_groups(groups)
{
    setObjectName(QStringLiteral("dlgGenerate"));
    setWindowTitle(QStringLiteral("Составление расписания"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(
        QStringLiteral("Занятия строк нагрузки, у которых остались часы, ставятся вокруг уже "
                       "поставленных: каждой строке - её доля оставшихся часов, со всеми "
                       "проверками постановки занятия. Всё записывается одним шагом, который "
                       "можно отменить."),
        this);
    intro->setWordWrap(true);
    intro->setMinimumWidth(420);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    m_from = new QDateEdit(monday, this);
    m_from->setObjectName(QStringLiteral("txtFrom"));
    m_to = new QDateEdit(monday.addDays(4), this);
    m_to->setObjectName(QStringLiteral("txtTo"));
    for (QDateEdit *edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    form->addRow(QStringLiteral("С:"), m_from);
    form->addRow(QStringLiteral("По:"), m_to);
    m_seconds = new QSpinBox(this);
    m_seconds->setObjectName(QStringLiteral("txtSeconds"));
    m_seconds->setRange(1, 3600);
    m_seconds->setValue(10);
    m_seconds->setSuffix(QStringLiteral(" с"));
    form->addRow(QStringLiteral("Время поиска:"), m_seconds);
    layout->addLayout(form);

    auto *which = new QGroupBox(QStringLiteral("Группы"), this);
    auto *grid = new QGridLayout(which);
    m_all = new QRadioButton(QStringLiteral("Все группы"), which);
    m_all->setObjectName(QStringLiteral("optAllGroups"));
    m_all->setChecked(true);
    m_byCourse = new QRadioButton(QStringLiteral("Курс:"), which);
    m_byCourse->setObjectName(QStringLiteral("optCourse"));
    m_byFaculty = new QRadioButton(QStringLiteral("Факультет:"), which);
    m_byFaculty->setObjectName(QStringLiteral("optFaculty"));
    m_course = namesBox(m_courses, which);
    m_course->setObjectName(QStringLiteral("cboCourse"));
    m_faculty = namesBox(m_faculties, which);
    m_faculty->setObjectName(QStringLiteral("cboFaculty"));
    m_byCourse->setEnabled(!m_courses.empty());
    m_byFaculty->setEnabled(!m_faculties.empty());
    connect(m_byCourse, &QRadioButton::toggled, m_course, &QComboBox::setEnabled);
    connect(m_byFaculty, &QRadioButton::toggled, m_faculty, &QComboBox::setEnabled);
    grid->addWidget(m_all, 0, 0, 1, 2);
    grid->addWidget(m_byCourse, 1, 0);
    grid->addWidget(m_course, 1, 1);
    grid->addWidget(m_byFaculty, 2, 0);
    grid->addWidget(m_faculty, 2, 1);
    m_chosen = new QRadioButton(QStringLiteral("Выбранные:"), which);
    m_chosen->setObjectName(QStringLiteral("optChosenGroups"));
    m_chosen->setEnabled(!m_groups.empty());
    m_groupList = new QListWidget(which);
    m_groupList->setObjectName(QStringLiteral("lstGroups"));
    for (const GroupSet &group : m_groups) {
        auto *item = new QListWidgetItem(group.name, m_groupList);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
    }
    m_groupList->setMaximumHeight(m_groupList->fontMetrics().height() * 8);
    m_groupList->scrollToTop();
    m_groupList->setEnabled(false);
    connect(m_chosen, &QRadioButton::toggled, m_groupList, &QListWidget::setEnabled);
    grid->addWidget(m_chosen, 3, 0, Qt::AlignTop);
    grid->addWidget(m_groupList, 3, 1);
    layout->addWidget(which);

    m_replace = new QCheckBox(QStringLiteral("Составить заново и занятия, поставленные программой "
                                             "ранее"),
                              this);
    m_replace->setObjectName(QStringLiteral("chkReplace"));
    m_replace->setToolTip(QStringLiteral("Занятия, перенесённые с тех пор вручную, остаются на "
                                         "своих местах, как и все поставленные вручную"));
    layout->addWidget(m_replace);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok =
        buttons->addButton(QStringLiteral("Составить"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The period must run forward, and chosen groups be chosen.
    const auto check = [this, ok] {
        bool ticked = false;
        for (int i = 0; i < m_groupList->count(); ++i)
            ticked = ticked || m_groupList->item(i)->checkState() == Qt::Checked;
        ok->setEnabled(m_from->date() <= m_to->date() && (!m_chosen->isChecked() || ticked));
    };
    connect(m_from, &QDateEdit::dateChanged, this, check);
    connect(m_to, &QDateEdit::dateChanged, this, check);
    connect(m_chosen, &QRadioButton::toggled, this, check);
    connect(m_groupList, &QListWidget::itemChanged, this, check);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QDate dlgGenerate::from() const
{
    return m_from->date();
}

QDate dlgGenerate::to() const
{
    return m_to->date();
}

std::vector<int> dlgGenerate::groups() const
{
    if (m_byCourse->isChecked() && m_course->currentIndex() >= 0)
        return m_courses[size_t(m_course->currentIndex())].groups;
    if (m_byFaculty->isChecked() && m_faculty->currentIndex() >= 0)
        return m_faculties[size_t(m_faculty->currentIndex())].groups;
    if (m_chosen->isChecked()) {
        std::vector<int> keys;
        for (int i = 0; i < m_groupList->count(); ++i) {
            if (m_groupList->item(i)->checkState() == Qt::Checked)
                keys.insert(keys.end(), m_groups[size_t(i)].groups.begin(),
                            m_groups[size_t(i)].groups.end());
        }
        return keys;
    }
    return {};
}

bool dlgGenerate::replace() const
{
    return m_replace->isChecked();
}

int dlgGenerate::timeLimitSeconds() const
{
    return m_seconds->value();
}

} // namespace korvesta
