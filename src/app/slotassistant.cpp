#include "slotassistant.h"

#include "busyindicator.h"
#include "mainwindow.h"
#include "statusbarpanels.h"
#include "viewdispatcher.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/prompts.h"
#include "editing/placement.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "views/load/loadview.h"
#include "views/timetable/timetablelayout.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvesta {

namespace {

constexpr int kDayView = 40;
constexpr int kWeekView = 41;
constexpr int kLoadView = 30;
constexpr int kTop = 40;
constexpr int kPaneWidth = 340;

QString dayText(const QDate &date)
{
    static const char *const names[] = {"пн", "вт", "ср", "чт", "пт", "сб", "вс"};
    return QString::fromUtf8(names[date.dayOfWeek() - 1]) + QLatin1Char(' ')
           + date.toString(QStringLiteral("dd.MM"));
}

// A small square of the colour, for the legend and the list.
QPixmap swatch(SlotFit fit)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(SlotPaint::colorOf(fit));
    return pixmap;
}

} // namespace

SlotAssistant::SlotAssistant(frmMain &window)
    : QDockWidget(QStringLiteral("Подбор времени"), &window)
    , m_window(window)
{
    setObjectName(QStringLiteral("dockSuggestTime"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto *body = new QWidget(this);
    m_header = new QLabel(body);
    m_header->setObjectName(QStringLiteral("lblLine"));
    m_header->setWordWrap(true);
    m_header->setTextFormat(Qt::RichText);

    m_period = new QComboBox(body);
    m_period->setObjectName(QStringLiteral("cboPeriod"));
    m_period->addItems({QStringLiteral("Неделя"), QStringLiteral("4 недели")});
    auto *period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("Период:"), body));
    period->addWidget(m_period, 1);

    auto *legend = new QHBoxLayout;
    for (const auto &[fit, text] : {std::pair{SlotFit::Free, QStringLiteral("можно")},
                                    std::pair{SlotFit::Soft, QStringLiteral("с помехами")}}) {
        auto *box = new QLabel(body);
        box->setPixmap(swatch(fit));
        legend->addWidget(box);
        legend->addWidget(new QLabel(text, body));
    }
    legend->addStretch();

    m_list = new QTreeWidget(body);
    m_list->setObjectName(QStringLiteral("lstSlots"));
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({QStringLiteral("Дата"), QStringLiteral("Урок"),
                             QStringLiteral("Аудитория"), QStringLiteral("Оценка")});
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_message = new QLabel(body);
    m_message->setObjectName(QStringLiteral("lblMessage"));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_message->hide();
    m_details = new QLabel(body);
    m_details->setObjectName(QStringLiteral("lblReasons"));
    m_details->setWordWrap(true);
    m_details->setMinimumHeight(m_details->fontMetrics().lineSpacing() * 3);
    m_details->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    // Long texts wrap within the pane instead of widening it.
    for (QLabel *label : {m_header, m_message, m_details})
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_place = new QPushButton(QStringLiteral("Поставить"), body);
    m_place->setObjectName(QStringLiteral("cmdPlace"));
    auto *close = new QPushButton(QStringLiteral("Закрыть"), body);
    close->setObjectName(QStringLiteral("cmdClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_place);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(body);
    layout->addWidget(m_header);
    layout->addLayout(period);
    layout->addLayout(legend);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_message, 1);
    layout->addWidget(m_details);
    layout->addLayout(buttons);
    setWidget(body);
    setMinimumWidth(280);
    hide();
    window.addDockWidget(Qt::RightDockWidgetArea, this);

    connect(&window.dispatcher(), &ViewDispatcher::aboutToFill, this, [this](int code) {
        // The line belongs to its document: another one opened ends the assistant.
        if (m_line && m_window.session().currentPath() != m_document) {
            m_line.reset();
            m_paint.clear();
            m_best.clear();
            m_list->clear();
        }
        // The pane goes with the timetables it colours and comes back with them.
        setVisible(m_line && (code == kDayView || code == kWeekView));
    });
    connect(&window.dispatcher(), &ViewDispatcher::dispatched, this, &SlotAssistant::viewShown);
    connect(m_period, &QComboBox::currentIndexChanged, this, [this] { update(); });
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { placeRow(m_list->indexOfTopLevelItem(item)); });
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *item) { currentChanged(item); });
    connect(m_place, &QPushButton::clicked, this,
            [this] { placeRow(m_list->indexOfTopLevelItem(m_list->currentItem())); });
    connect(close, &QPushButton::clicked, this, &QDockWidget::close);
    window.dispatcher().setToolTipOverlay([this](int row, int col) {
        const int code = m_window.navigation().viewCode();
        return m_line && (code == kDayView || code == kWeekView) ? m_paint.toolTip(row, col)
                                                                 : QString();
    });
}

void SlotAssistant::startFromView()
{
    const GridModel &grid = *m_window.grid()->model();
    std::optional<loadview::LineTexts> texts;
    if (m_window.navigation().viewCode() == kLoadView)
        texts = loadview::lineOfRow(grid, grid.currentRow());
    if (!texts) {
        if (m_line) {
            start(*m_line);
            return;
        }
        m_window.prompts().message(
            QStringLiteral("Выберите в нагрузке строку группы (преподаватель, дисциплина, "
                           "группа), для которой подобрать время"),
            Prompts::Icon::Information);
        return;
    }
    const std::optional<Database> db = m_window.session().access();
    if (!db)
        return;
    try {
        QString refusal;
        const std::optional<AssistLine> line =
            findLoadLine(*db, texts->group, texts->discipline, texts->tutor, &refusal);
        if (!line) {
            m_window.prompts().message(refusal, Prompts::Icon::Warning);
            return;
        }
        start(*line);
    } catch (const DbError &error) {
        m_window.session().handleError(error);
    }
}

void SlotAssistant::startForLine(int keyJobList)
{
    const std::optional<Database> db = m_window.session().access();
    if (!db)
        return;
    try {
        if (const std::optional<AssistLine> line = loadLine(*db, keyJobList))
            start(*line);
    } catch (const DbError &error) {
        m_window.session().handleError(error);
    }
}

void SlotAssistant::start(const AssistLine &line)
{
    m_line = line;
    m_document = m_window.session().currentPath();
    // The week of the calendar date, where the colours show the line's places; the pane is
    // shown before the week is filled.
    ViewDispatcher &dispatcher = m_window.dispatcher();
    if (m_window.navigation().viewCode() != kWeekView
        && m_window.navigation().viewCode() != kDayView) {
        dispatcher.sectionClicked(4);
        if (m_window.navigation().viewCode() != kWeekView)
            dispatcher.itemClicked(1);
    } else {
        dispatcher.refresh();
    }
}

void SlotAssistant::showEvent(QShowEvent *event)
{
    QDockWidget::showEvent(event);
    if (!m_sized) {
        m_sized = true;
        m_window.resizeDocks({this}, {kPaneWidth}, Qt::Horizontal);
    }
}

void SlotAssistant::closeEvent(QCloseEvent *event)
{
    QDockWidget::closeEvent(event);
    stop();
}

void SlotAssistant::stop()
{
    if (!m_line)
        return;
    m_line.reset();
    m_paint.clear();
    m_best.clear();
    m_list->clear();
    const int code = m_window.navigation().viewCode();
    // The colours go with the assistant.
    if (code == kDayView || code == kWeekView)
        m_window.dispatcher().refresh();
}

void SlotAssistant::viewShown(int)
{
    if (m_line && isVisible())
        update();
}

void SlotAssistant::update()
{
    if (!m_line)
        return;
    const std::optional<Database> db = m_window.session().access();
    if (!db)
        return;
    BusyScope busy(m_window.busyIndicator());
    const QDate date = m_window.calendar()->selectedDate();
    const QDate monday = date.addDays(1 - date.dayOfWeek());
    const QDate to = monday.addDays(m_period->currentIndex() == 1 ? 27 : 6);
    try {
        const std::optional<AssistLine> line = loadLine(*db, m_line->keyJobList);
        if (!line) {
            m_line.reset();
            m_paint.clear();
            showMessage(QStringLiteral("Строки нагрузки больше нет в документе"));
            return;
        }
        m_line = line;
        m_header->setText(QStringLiteral("<b>%1</b> — %2<br>%3<br>Осталось часов: %4 из %5")
                              .arg(line->discipline.toHtmlEscaped(),
                                   line->groupText().toHtmlEscaped(),
                                   line->tutor.toHtmlEscaped())
                              .arg(std::max(0, line->left()))
                              .arg(line->hours));
        const SlotMap map(*db, m_window.settingsRecord(), *line, monday, to);

        const int code = m_window.navigation().viewCode();
        m_paint.clear();
        if (code == kDayView || code == kWeekView) {
            GridModel &grid = *m_window.grid()->model();
            const TimetableLayout layout = TimetableLayout::ofGrid(
                code == kWeekView ? TimetableKind::Week : TimetableKind::Day,
                m_window.settingsRecord(), grid);
            if (!m_paint.paint(grid, layout, map, *line, date))
                m_window.statusPanels()->setPanelText(
                    StatusBarPanels::Comment,
                    QStringLiteral("Группа %1 не показана в расписании").arg(line->groupText()));
            m_window.grid()->viewport()->update();
        }

        if (line->left() <= 0) {
            showMessage(QStringLiteral("По строке нагрузки не осталось часов: %1 из %2 "
                                       "поставлены")
                            .arg(line->placed)
                            .arg(line->hours));
            return;
        }
        fillList(map.ranked(kTop));
        if (m_best.empty())
            showMessage(QStringLiteral("За период %1 - %2 нет урока, свободного у группы, "
                                       "преподавателя и хотя бы одной аудитории")
                            .arg(monday.toString(QStringLiteral("dd.MM.yyyy")),
                                 to.toString(QStringLiteral("dd.MM.yyyy"))));
    } catch (const DbError &error) {
        m_window.session().handleError(error);
    }
}

void SlotAssistant::fillList(const std::vector<SlotState> &best)
{
    m_best = best;
    m_list->clear();
    for (const SlotState &s : m_best) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, dayText(s.date));
        item->setIcon(0, QIcon(swatch(s.fit)));
        item->setText(1, QString::number(s.lesson));
        item->setTextAlignment(1, Qt::AlignCenter);
        item->setText(2, s.freeAuditoriums.value(0));
        item->setText(3, QString::number(s.score));
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(2, s.freeAuditoriums.join(QStringLiteral(", ")));
    }
    m_list->show();
    m_message->hide();
    m_place->setEnabled(!m_best.empty());
    if (!m_best.empty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
    else
        m_details->clear();
}

void SlotAssistant::showMessage(const QString &text)
{
    m_best.clear();
    m_list->clear();
    m_list->hide();
    m_details->clear();
    m_message->setText(text);
    m_message->show();
    m_place->setEnabled(false);
}

void SlotAssistant::currentChanged(QTreeWidgetItem *item)
{
    const int row = m_list->indexOfTopLevelItem(item);
    if (row < 0 || row >= int(m_best.size())) {
        m_details->clear();
        return;
    }
    const SlotState &s = m_best[size_t(row)];
    QStringList lines;
    if (!s.problems.isEmpty())
        lines << QStringLiteral("Помехи: ") + s.problems.join(QStringLiteral("; "));
    if (!s.reasons.isEmpty())
        lines << s.reasons.join(QStringLiteral("; "));
    lines << QStringLiteral("Свободные аудитории: ")
                 + s.freeAuditoriums.mid(0, 8).join(QStringLiteral(", "))
                 + (s.freeAuditoriums.size() > 8 ? QStringLiteral(", …") : QString());
    m_details->setText(lines.join(QLatin1Char('\n')));
}

void SlotAssistant::showCell(const QDate &date, int lesson)
{
    const int code = m_window.navigation().viewCode();
    if (!m_line || (code != kDayView && code != kWeekView))
        return;
    GridModel &grid = *m_window.grid()->model();
    const TimetableLayout layout =
        TimetableLayout::ofGrid(code == kWeekView ? TimetableKind::Week : TimetableKind::Day,
                                m_window.settingsRecord(), grid);
    const int col = groupColumn(grid, layout, *m_line);
    for (int row = layout.headerRows; col >= 0 && row < grid.rows(); ++row) {
        if (layout.lessonOfRow(grid, row) == lesson
            && (code == kDayView || layout.weekdayOfRow(grid, row) == date.dayOfWeek())) {
            grid.setCurrentCell(row, col);
            m_window.grid()->ensureVisible(row, col);
            return;
        }
    }
}

bool SlotAssistant::placeRow(int row)
{
    if (!m_line || row < 0 || row >= int(m_best.size()))
        return false;
    const SlotState slot = m_best[size_t(row)];
    const AssistLine line = *m_line;
    LessonPlacement placement(m_window.session(), m_window.settingsRecord(), m_window.settings(),
                              m_window.prompts());
    std::optional<PlacementChoice> choice =
        placement.openForGroup(slot.date, slot.lesson, line.group, line.course, line.faculty);
    if (!choice)
        return false;
    if (!choice->line(line.keyJobList)) {
        m_window.prompts().message(QStringLiteral("Строки нагрузки нет среди строк группы"),
                                   Prompts::Icon::Warning);
        return false;
    }
    if (!choice->check(line.keyJobList, m_window.prompts()))
        return false;
    const int at = choice->slotOf(line.keyJobList);
    for (const PlacementAuditorium &a : choice->auditoriums) {
        if (a.free && a.text == slot.freeAuditoriums.value(0)) {
            choice->chooseAuditorium(at, a);
            break;
        }
    }
    const PlacementRequest request{choice->lessonTypes.front().key, false};
    if (placement.add(*choice, request).outcome != PlacementOutcome::Written)
        return false;
    // The placed lesson in sight: its date in the calendar and the view filled again.
    m_window.calendar()->setSelectedDate(slot.date);
    m_window.dispatcher().dateClicked(slot.date);
    m_window.setCalendarShown(false);
    showCell(slot.date, slot.lesson);
    if (const int code = m_window.navigation().viewCode(); code != kDayView && code != kWeekView)
        update();
    m_window.statusPanels()->setPanelText(
        StatusBarPanels::Comment,
        QStringLiteral("Поставлено: %1, %2, урок %3")
            .arg(line.discipline, slot.date.toString(QStringLiteral("dd.MM.yyyy")))
            .arg(slot.lesson));
    return true;
}

} // namespace korvesta
