#include "frmcover.h"

#include "busyindicator.h"
#include "frmnote.h"
#include "frmpreview.h"
#include "mainwindow.h"
#include "notecommand.h"
#include "viewdispatcher.h"

#include "assist/coverreport.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/recordset.h"
#include "grid/gridmodel.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvesta {

namespace {

constexpr int LessonRole = Qt::UserRole;
constexpr int CandidateRole = Qt::UserRole + 1; // -1 on a lesson's own row

const QString kDash = QStringLiteral(" — ");

} // namespace

frmCover::frmCover(frmMain &window)
    : QWidget(&window, Qt::Window)
    , m_window(window)
{
    setObjectName(QStringLiteral("frmCover"));
    setWindowTitle(QStringLiteral("Замены"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_tutor = new QComboBox(this);
    m_tutor->setObjectName(QStringLiteral("cboTutor"));
    m_tutor->setEditable(true);
    m_tutor->setInsertPolicy(QComboBox::NoInsert);
    m_tutor->setMinimumContentsLength(24);
    m_tutor->completer()->setFilterMode(Qt::MatchContains);
    m_tutor->completer()->setCompletionMode(QCompleter::PopupCompletion);
    m_tutor->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    m_date = new QDateEdit(window.calendar()->selectedDate(), this);
    m_date->setObjectName(QStringLiteral("dtpDate"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_to = new QDateEdit(m_date->date(), this);
    m_to->setObjectName(QStringLiteral("dtpTo"));
    m_to->setCalendarPopup(true);
    m_to->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_to->setToolTip(QStringLiteral("Последний день отсутствия: по отметкам занятости "
                                    "преподавателя, или выберите сами"));
    auto *choice = new QHBoxLayout;
    auto *tutorLabel = new QLabel(QStringLiteral("Отсутствует"), this);
    tutorLabel->setBuddy(m_tutor);
    choice->addWidget(tutorLabel);
    choice->addWidget(m_tutor, 1);
    choice->addWidget(new QLabel(QStringLiteral("с"), this));
    choice->addWidget(m_date);
    choice->addWidget(new QLabel(QStringLiteral("по"), this));
    choice->addWidget(m_to);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("lstCover"));
    m_tree->setHeaderLabels({QStringLiteral("Занятие / кто может заменить"),
                             QStringLiteral("Почему"), QStringLiteral("Осталось часов"),
                             QStringLiteral("Занятий в этот день")});
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setRootIsDecorated(true);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("lblMessage"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setMargin(24);
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_message);
    m_stack->addWidget(m_tree);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);

    m_assign = new QPushButton(QStringLiteral("Назначить"), this);
    m_assign->setObjectName(QStringLiteral("cmdAssign"));
    m_assign->setDefault(true);
    auto *report = new QPushButton(QStringLiteral("Отчёт за день..."), this);
    report->setObjectName(QStringLiteral("cmdReport"));
    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_assign);
    buttons->addWidget(report);
    buttons->addStretch();
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(m_stack, 1);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    // A name picked or typed out in full shows its lessons; Enter shows why another does not.
    // A new tutor or first date takes the absence marked from that date on.
    const auto another = [this] {
        m_given.clear();
        extendToAbsence();
        refresh();
    };
    connect(m_tutor, &QComboBox::currentTextChanged, this, [this, another](const QString &text) {
        if (m_tutor->findText(text.trimmed(), Qt::MatchFixedString) >= 0)
            another();
    });
    connect(m_tutor->lineEdit(), &QLineEdit::returnPressed, this, another);
    connect(m_date, &QDateEdit::dateChanged, this, another);
    connect(m_to, &QDateEdit::dateChanged, this, [this] {
        m_given.clear();
        refresh();
    });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item && item->parent())
            assignChosen();
    });
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this] { m_assign->setEnabled(m_tree->currentItem() != nullptr); });
    connect(m_assign, &QPushButton::clicked, this, &frmCover::assignChosen);
    connect(report, &QPushButton::clicked, this, &frmCover::showReport);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Whatever changed the timetable (an undo, a lesson placed or cleared) is read again.
    connect(&window.dispatcher(), &ViewDispatcher::dispatched, this, [this] {
        if (isVisible() && !m_assigning)
            refresh();
    });

    fillTutors();
    resize(820, 500);
    refresh();
}

frmCover *frmCover::showFor(frmMain &window)
{
    frmCover *cover = window.findChild<frmCover *>(QString(), Qt::FindDirectChildrenOnly);
    if (!cover) {
        cover = new frmCover(window);
    } else {
        cover->fillTutors();
        cover->setDate(window.calendar()->selectedDate());
        cover->refresh();
    }
    cover->show();
    cover->raise();
    cover->activateWindow();
    return cover;
}

void frmCover::setTutor(const QString &tutor)
{
    m_tutor->setEditText(tutor);
    extendToAbsence();
    refresh();
}

void frmCover::setDate(const QDate &date)
{
    if (date.isValid())
        m_date->setDate(date);
}

void frmCover::extendToAbsence()
{
    QDate end = m_date->date();
    const QString tutor = m_tutor->currentText().trimmed();
    if (!tutor.isEmpty()) {
        if (const std::optional<Database> db = m_window.session().access()) {
            try {
                end = std::max(end, absenceEnd(*db, tutor, m_date->date()));
            } catch (const DbError &) {
                // the one date is shown; the list itself tells the document's trouble
            }
        }
    }
    const QSignalBlocker quiet(m_to);
    m_to->setDate(end);
}

void frmCover::fillTutors()
{
    const std::optional<Database> db = m_window.session().access();
    if (!db)
        return;
    QStringList tutors;
    try {
        for (Recordset rs = db->openRecordset(QStringLiteral(
                 "SELECT tblTutors.Tutor FROM tblTutors ORDER BY tblTutors.Tutor;"));
             !rs.isEof(); rs.moveNext())
            tutors << rs.value(0).toString();
    } catch (const DbError &error) {
        m_window.session().handleError(error);
    }
    const QString typed = m_tutor->currentText();
    const QSignalBlocker quiet(m_tutor);
    m_tutor->clear();
    m_tutor->addItems(tutors);
    m_tutor->setCurrentIndex(-1);
    m_tutor->setEditText(typed);
}

void frmCover::refresh()
{
    m_list = CoverList();
    m_status->clear();
    const QString tutor = m_tutor->currentText().trimmed();
    if (tutor.isEmpty()) {
        say(QStringLiteral("Выберите отсутствующего преподавателя и дату: здесь появятся его "
                           "занятия и те, кто может их провести."));
        return;
    }
    const std::optional<Database> db = m_window.session().access();
    if (!db) {
        say(QStringLiteral("Документ не открыт"));
        return;
    }
    m_listDocument = m_window.session().currentPath();
    try {
        m_list = coverList(*db, tutor, m_date->date(), std::max(m_date->date(), m_to->date()));
    } catch (const DbError &error) {
        m_window.session().handleError(error);
        say(QStringLiteral("Занятия преподавателя не прочитаны из документа"));
        return;
    }
    if (!m_list.refusal.isEmpty()) {
        say(m_list.refusal);
        return;
    }
    fill();
}

void frmCover::say(const QString &text)
{
    m_tree->clear();
    m_message->setText(text);
    m_stack->setCurrentWidget(m_message);
    m_assign->setEnabled(false);
}

void frmCover::fill()
{
    m_tree->clear();
    QTreeWidgetItem *first = nullptr;
    int nobody = 0;
    for (size_t i = 0; i < m_list.lessons.size(); ++i) {
        const UncoveredLesson &l = m_list.lessons[i];
        // Over a period each lesson names its day.
        const QString day =
            m_to->date() > m_date->date()
                ? QLocale(QLocale::Russian).toString(l.date, QStringLiteral("ddd dd.MM, "))
                : QString();
        auto *top = new QTreeWidgetItem(
            m_tree, {day + QString::number(l.lesson) + QStringLiteral(" урок") + kDash + l.group
                     + kDash + l.discipline});
        top->setFirstColumnSpanned(true);
        QFont bold = top->font(0);
        bold.setBold(true);
        top->setFont(0, bold);
        top->setData(0, LessonRole, qulonglong(i));
        top->setData(0, CandidateRole, -1);
        if (l.candidates.empty()) {
            ++nobody;
            auto *none = new QTreeWidgetItem(
                top, {QStringLiteral("заменить некем: все, кто ведёт эту дисциплину или эту "
                                     "группу, заняты или отсутствуют")});
            none->setFirstColumnSpanned(true);
            none->setFlags(Qt::ItemIsEnabled);
            none->setForeground(0, QColor(0xA0, 0x00, 0x00));
        }
        for (size_t j = 0; j < l.candidates.size(); ++j) {
            const CoverCandidate &c = l.candidates[j];
            auto *item = new QTreeWidgetItem(
                top, {c.tutor, c.why,
                      c.keyJob != 0 ? QString::number(c.hoursLeft)
                                    : QStringLiteral("нет строки"),
                      QString::number(c.lessonsThatDay)});
            item->setTextAlignment(2, Qt::AlignCenter);
            item->setTextAlignment(3, Qt::AlignCenter);
            item->setData(0, LessonRole, qulonglong(i));
            item->setData(0, CandidateRole, int(j));
            if (j == 0) {
                item->setFont(0, bold);
                if (!first)
                    first = item;
            }
        }
    }
    m_tree->expandAll();
    for (int c = 1; c < m_tree->columnCount(); ++c)
        m_tree->resizeColumnToContents(c);
    m_stack->setCurrentWidget(m_tree);
    if (first) {
        m_tree->setCurrentItem(first);
        first->setSelected(true);
    } else if (m_tree->topLevelItemCount() > 0) {
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
    }
    m_assign->setEnabled(first != nullptr);
    QStringList status;
    if (!m_given.isEmpty())
        status << m_given;
    if (nobody > 0)
        status << QStringLiteral("Некем заменить: %1 из %2 занятий")
                      .arg(nobody)
                      .arg(m_list.lessons.size());
    if (status.isEmpty())
        status << QStringLiteral("Первым у каждого занятия стоит лучший кандидат; выберите "
                                 "его или другого и нажмите «Назначить» (или дважды щёлкните).");
    m_status->setText(status.join(QStringLiteral(". ")));
}

bool frmCover::chosen(const QTreeWidgetItem *item, size_t &lesson, size_t &candidate) const
{
    if (!item)
        return false;
    lesson = item->data(0, LessonRole).toULongLong();
    const int index = item->data(0, CandidateRole).toInt();
    if (lesson >= m_list.lessons.size())
        return false;
    // A lesson's own row stands for its best tutor.
    candidate = index < 0 ? 0 : size_t(index);
    return candidate < m_list.lessons[lesson].candidates.size();
}

bool frmCover::assignChosen()
{
    size_t lesson = 0, candidate = 0;
    if (!chosen(m_tree->currentItem(), lesson, candidate))
        return false;
    if (m_window.session().currentPath() != m_listDocument) {
        // Another document was opened since: its lessons are read afresh, nothing given.
        fillTutors();
        refresh();
        return false;
    }
    const UncoveredLesson l = m_list.lessons[lesson];
    const CoverCandidate c = l.candidates[candidate];
    // The notes window writes its whole text back when it closes: it stores it now, so
    // that the cover is added to what the planner typed there, not overwritten by it later.
    if (const frmNote *note = m_window.notes().window(); note && note->date() == l.date)
        m_window.notes().closeNow();
    bool given = false;
    {
        BusyScope busy(m_window.busyIndicator());
        given = assignCover(m_window.session(), m_window.prompts(), l, c);
    }
    if (!given)
        return false;
    m_given = QStringLiteral("%1 урок, %2, %3: заменяет %4")
                  .arg(QString::number(l.lesson), l.group, l.discipline, c.tutor);
    m_assigning = true; // the list is read once, below
    m_window.dispatcher().refresh();
    m_assigning = false;
    refresh();
    if (m_list.lessons.empty())
        say(QStringLiteral("Все занятия преподавателя %1 %2 переданы. %3")
                .arg(l.absentTutor,
                     m_to->date() > m_date->date()
                         ? QStringLiteral("с %1 по %2")
                               .arg(m_date->date().toString(QStringLiteral("dd.MM.yyyy")),
                                    m_to->date().toString(QStringLiteral("dd.MM.yyyy")))
                         : QStringLiteral("на ") + l.date.toString(QStringLiteral("dd.MM.yyyy")),
                     m_given));
    return true;
}

void frmCover::showReport()
{
    const std::optional<Database> db = m_window.session().access();
    if (!db)
        return;
    // The day of the lesson chosen, else the first day.
    QDate date = m_date->date();
    if (const QTreeWidgetItem *item = m_tree->currentItem();
        item && item->data(0, LessonRole).toULongLong() < m_list.lessons.size())
        date = m_list.lessons[item->data(0, LessonRole).toULongLong()].date;
    GridModel grid;
    try {
        fillCoverReport(grid, date, coverReportRows(*db, date));
    } catch (const DbError &error) {
        m_window.session().handleError(error);
        return;
    }
    if (!m_preview)
        m_preview = new frmPreview(m_window.prompts(),
                                   m_window.session().paths().applicationFolder, &m_window);
    m_preview->showContent(coverReportContent(grid), coverReportTitle(date));
    m_preview->show();
    m_preview->raise();
    m_preview->activateWindow();
}

} // namespace korvesta
