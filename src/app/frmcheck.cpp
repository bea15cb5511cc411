#include "frmcheck.h"

#include "busyindicator.h"
#include "mainwindow.h"
#include "viewdispatcher.h"

#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "views/navigationstate.h"
#include "views/timetable/timetablelayout.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvesta {

namespace {

constexpr int ProblemRole = Qt::UserRole;
constexpr int SortRole = Qt::UserRole + 1;

// A problem of the list: dates and lesson numbers sort by their value.
class ProblemItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (column == 1 || column == 2)
            return data(column, SortRole).toLongLong() < other.data(column, SortRole).toLongLong();
        return QTreeWidgetItem::operator<(other);
    }
};

// The study period of the document, or the academic year of today when it has none.
std::pair<QDate, QDate> studyPeriod(DocumentSession &session)
{
    const QDate today = QDate::currentDate();
    std::pair<QDate, QDate> period{QDate(today.month() > 8 ? today.year() : today.year() - 1, 9, 1),
                                   QDate()};
    period.second = period.first.addYears(1).addDays(-1);
    if (const std::optional<Database> db = session.access()) {
        try {
            const Recordset rs = db->openRecordset(
                QStringLiteral("SELECT tblAutoTable.DateStart, tblAutoTable.DateEnd FROM "
                               "tblAutoTable WHERE (((tblAutoTable.DateType)='Session'));"));
            if (!rs.isEmpty() && rs.value(0).toDate().isValid() && rs.value(1).toDate().isValid())
                period = {rs.value(0).toDate(), rs.value(1).toDate()};
        } catch (const DbError &) {
            // the academic year stands for the study period
        }
    }
    return period;
}

} // namespace

frmCheck::frmCheck(frmMain &window)
    : QDialog(nullptr)
    , m_window(window)
{
    // A window of its own beside the main window, which comes to the front when a problem is
    // opened; it goes with the main window.
    connect(&window, &QObject::destroyed, this, &QObject::deleteLater);
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(QStringLiteral("Проверка расписания"));
    setAttribute(Qt::WA_DeleteOnClose);

    const auto [start, end] = studyPeriod(window.session());
    m_from = new QDateEdit(start, this);
    m_from->setObjectName(QStringLiteral("dtpFrom"));
    m_to = new QDateEdit(end, this);
    m_to->setObjectName(QStringLiteral("dtpTo"));
    for (QDateEdit *edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    auto *check = new QPushButton(QStringLiteral("Проверить"), this);
    check->setObjectName(QStringLiteral("cmdCheck"));
    auto *period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("Период с"), this));
    period->addWidget(m_from);
    period->addWidget(new QLabel(QStringLiteral("по"), this));
    period->addWidget(m_to);
    period->addWidget(check);
    period->addStretch();

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstProblems"));
    m_list->setHeaderLabels({QStringLiteral("Вид"), QStringLiteral("Дата"),
                             QStringLiteral("Урок"), QStringLiteral("Объекты"),
                             QStringLiteral("Описание")});
    m_list->setSortingEnabled(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setStretchLastSection(true);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);

    connect(check, &QPushButton::clicked, this, &frmCheck::runCheck);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { itemOpened(item); });
    resize(900, 520);
}

void frmCheck::runCheck()
{
    if (m_from->date() > m_to->date()) {
        m_window.prompts().message(QStringLiteral("Начало периода позже его конца"),
                                   Prompts::Icon::Warning);
        return;
    }
    const std::optional<Database> db = m_window.session().access();
    if (!db)
        return;
    BusyScope busy(m_window.busyIndicator());
    try {
        m_result = checkTimetable(*db, m_window.settingsRecord(), m_from->date(), m_to->date());
    } catch (const DbError &error) {
        m_window.session().handleError(error);
        m_result = TimetableCheck();
    }
    fill();
}

void frmCheck::fill()
{
    m_list->setSortingEnabled(false);
    m_list->clear();
    QTreeWidgetItem *group = nullptr;
    int count = 0;
    const auto close = [&] {
        if (group)
            group->setText(0, group->text(0) + QStringLiteral(" (%1)").arg(count));
    };
    for (size_t i = 0; i < m_result.problems.size(); ++i) {
        const TimetableProblem &p = m_result.problems[i];
        if (!group || i == 0 || m_result.problems[i - 1].kind != p.kind) {
            close();
            group = new QTreeWidgetItem(m_list, {problemKindText(p.kind)});
            group->setFirstColumnSpanned(true);
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
            if (!isError(p.kind))
                group->setForeground(0, QColor(0x80, 0x60, 0x00));
            count = 0;
        }
        ++count;
        auto *item = new ProblemItem(
            group, {QString(),
                    p.date.isValid() ? p.date.toString(QStringLiteral("dd.MM.yyyy")) : QString(),
                    p.lesson ? QString::number(p.lesson) : QString(), p.objects, p.explanation});
        item->setData(0, ProblemRole, qulonglong(i));
        item->setData(1, SortRole, p.date.isValid() ? p.date.toJulianDay() : 0);
        item->setData(2, SortRole, p.lesson);
    }
    close();
    m_list->expandAll();
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(-1, Qt::AscendingOrder);
    for (int c = 0; c < 4; ++c)
        m_list->resizeColumnToContents(c);
    m_summary->setText(m_result.problems.empty()
                           ? QStringLiteral("Ошибок не найдено")
                           : QStringLiteral("Ошибок: %1, предупреждений: %2")
                                 .arg(m_result.errors)
                                 .arg(m_result.warnings));
}

void frmCheck::itemOpened(QTreeWidgetItem *item)
{
    if (!item || !item->parent())
        return;
    const size_t index = item->data(0, ProblemRole).toULongLong();
    if (index < m_result.problems.size())
        openProblem(m_result.problems[index]);
}

bool frmCheck::openProblem(const TimetableProblem &problem)
{
    if (!problem.date.isValid())
        return false;
    m_window.calendar()->setSelectedDate(problem.date);
    ViewDispatcher &dispatcher = m_window.dispatcher();
    dispatcher.sectionClicked(4);
    if (m_window.navigation().viewCode() != 40)
        dispatcher.itemClicked(0);
    dispatcher.dateClicked(problem.date);
    m_window.setCalendarShown(false);
    GridModel &grid = *m_window.grid()->model();
    const TimetableLayout layout =
        TimetableLayout::ofGrid(TimetableKind::Day, m_window.settingsRecord(), grid);
    int col = -1;
    for (int c = 0; c < grid.cols() && col < 0; ++c) {
        if (layout.isObjectCol(c) && grid.text(layout.objectRow(), c).trimmed() == problem.group
            && courseFromHeader(grid.text(layout.courseRow(), c)) == problem.course)
            col = c;
    }
    int row = -1;
    for (int r = 0; r < grid.rows() && row < 0; ++r) {
        if (problem.lesson != 0 && layout.lessonOfRow(grid, r) == problem.lesson)
            row = r;
    }
    if (row >= 0 && col >= 0)
        grid.setCurrentCell(row, col);
    m_window.raise();
    m_window.activateWindow();
    return true;
}

} // namespace korvesta
