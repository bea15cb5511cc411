#include "viewdispatcher.h"

#include "busyindicator.h"
#include "data/calendar.h"
#include "data/documentsession.h"
#include "data/prompts.h"
#include "data/queries.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "grid/twips.h"
#include "mainwindow.h"
#include "navigationbar.h"
#include "objectpane.h"
#include "rangecalendar.h"
#include "statusbarpanels.h"
#include "views/datechange.h"
#include "views/displaytextmodes.h"
#include "views/frames/entryarea.h"
#include "views/timetable/timetablelayout.h"
#include "views/timetable/timetablerefresh.h"
#include "views/uisettings.h"
#include "views/viewrun.h"
#include "views/viewtable.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace korvesta {

namespace {

const QString kAllEntries = QStringLiteral("Все");

// The record in the entry row as its list shows it: a group with its course, an auditorium
// with its building, a discipline by its short name.
QString entryRecordText(const GridModel &grid, int code)
{
    const auto cell = [&grid](int col) { return grid.text(entryarea::Row, col).trimmed(); };
    switch (code) {
    case 1:
        return cell(2) + QStringLiteral("  (") + cell(1) + QLatin1Char(')');
    case 21:
        return cell(2) + QStringLiteral(" (") + cell(1) + QLatin1Char(')');
    default:
        return cell(code == 31 ? 1 : 2);
    }
}

// A new-record view works on its section's list and keeps that list's filter.
int filterOwner(int code)
{
    return NavigationState::isNewRecordView(code) ? NavigationState::listOfSection(code / 10)
                                                  : code;
}

} // namespace

ViewDispatcher::ViewDispatcher(frmMain &window)
    : m_window(window)
    , m_queries(std::make_unique<DocumentQueries>(window.session(), window.settings(),
                                                  window.prompts()))
    , m_filter(kAllEntries)
{
    window.navigation().setEditListener([this](bool editing) { editExistingChanged(editing); });
}

ViewDispatcher::~ViewDispatcher()
{
    m_window.navigation().setEditListener({});
}

void ViewDispatcher::refresh()
{
    dispatch();
    // An undone lock shows at once; the status bar keeps what the change said.
    showDateLock(m_window.calendar()->selectedDate(), false);
}

void ViewDispatcher::refreshTouched(const TimetableTouch &touch)
{
    ViewContext ctx = context();
    {
        BusyScope busy(m_window.busyIndicator());
        if (!refreshTimetable(ctx, touch)) {
            refresh();
            return;
        }
        fitTimetableColumns(ctx.viewCode);
        m_window.grid()->fitRowsToText();
    }
    // The free and busy objects of the current cell, which the change may have moved.
    refillObjectPane(ctx.tab);
    showDateLock(m_window.calendar()->selectedDate(), false);
}

void ViewDispatcher::showDateLock(const QDate &date, bool comment)
{
    // Shown, not run: the lock command answers the user's own presses only.
    const bool locked = m_queries->IsDateReadOnly(date);
    m_window.command(QStringLiteral("ButtonAccessEdit"))->setChecked(locked);
    // Without comment, the lock's own text still follows the lock; another text stays.
    StatusBarPanels *status = m_window.statusPanels();
    const QString shown = status->panelText(StatusBarPanels::Comment);
    if (comment || shown.isEmpty() || shown == DateChange::lockComment(true))
        status->setPanelText(StatusBarPanels::Comment, DateChange::lockComment(locked));
}

void ViewDispatcher::openLastView()
{
    const std::optional<UiSettings::LastView> last =
        UiSettings::lastView(m_window.settings(), m_window.session().currentPath());
    int code = 0;
    QString object;
    // A new-record view is left with its entry area: its list opens instead.
    if (last && ViewTable::find(last->code)) {
        code = NavigationState::isNewRecordView(last->code)
                   ? NavigationState::listOfSection(last->code / 10)
                   : last->code;
        object = last->object;
        if (last->date.isValid() && last->date != m_window.calendar()->selectedDate()) {
            m_window.calendar()->setSelectedDate(last->date);
            m_window.statusPanels()->setPanelText(StatusBarPanels::CalendarDate,
                                                  DateChange::formatDate(last->date));
        }
    }
    NavigationState &navigation = m_window.navigation();
    navigation.selectSection(code / 10);
    navigation.selectItem(code % 10);
    dispatch();
    if (object.isEmpty())
        return;
    if (const ObjectListEntry *entry = m_window.objectPane()->selectEntry(object))
        objectChosen(ObjectListEntry(*entry));
}

void ViewDispatcher::documentChanged()
{
    // Courses and specializations are those of the document: a filter does not carry over.
    m_filter = kAllEntries;
    m_filterCode = -1;
    if (UiSettings::lastView(m_window.settings(), m_window.session().currentPath()))
        openLastView();
    else
        dispatch();
}

ViewContext ViewDispatcher::context()
{
    ObjectPane *pane = m_window.objectPane();
    ViewContext ctx(*m_window.grid()->model(), m_objects, m_window.session(),
                    m_window.settings(), m_window.settingsRecord(), m_window.prompts());
    ctx.viewCode = m_window.navigation().viewCode();
    ctx.previousViewCode = m_window.navigation().previousViewCode();
    ctx.gridMode = m_plan.gridMode.value_or(-1);
    ctx.calendarDate = m_window.calendar()->selectedDate();
    ctx.periodFrom = pane->periodFrom()->date();
    ctx.periodTo = pane->periodTo()->date();
    ctx.rangeFrom = pane->secondCalendar()->rangeStart();
    ctx.rangeTo = pane->secondCalendar()->rangeEnd();
    // The grid keeps its width up to date as it is resized, but a fill may come first.
    ctx.grid.setClientWidth(pixelsToTwips(m_window.grid()->viewport()->width()));
    ctx.tab = pane->tabStrip()->currentIndex();
    ctx.filter = filter();
    ctx.processEvents = [this] { processEvents(); };
    return ctx;
}

void ViewDispatcher::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ViewDispatcher::dispatch()
{
    NavigationState &navigation = m_window.navigation();
    const int code = navigation.beginDispatch();
    DispatchPlan plan = DispatchPlan::make(code, navigation.previousViewCode(),
                                           m_window.settingsRecord(), m_window.settings());
    m_plan = plan;

    m_objects.clear();
    m_objectKey.clear();
    m_window.objectPane()->clearObjects();
    showTitle();

    // The panes first: frames size their columns by the grid's width, which is the width
    // it has beside the object pane or without it once the window is laid out again.
    emit aboutToFill(code);
    applyPanes(plan);
    settleLayout();
    {
        BusyScope busy(m_window.busyIndicator());
        ViewContext ctx = context();
        fillView(m_window.fills(), plan, ctx);
        fitTimetableColumns(code);
        m_window.grid()->fitRowsToText();
        // The free and busy objects of the cell the fill left current, at once.
        if (plan.tabStrip)
            refillPane(m_window.fills(), ctx);
    }
    m_window.objectPane()->setObjects(m_objects);
    navigation.endDispatch(code);

    applyMenus(plan);
    showWeekNumber();
    showFilter();
    // The entry area waits for typing in its first cell.
    if (NavigationState::isNewRecordView(code) && m_window.grid()->isVisible())
        m_window.grid()->setFocus();
    rememberView();
    emit dispatched(code);
}

void ViewDispatcher::settleLayout()
{
    // Panes shown or hidden ask their splitters and layouts for a new layout by posted
    // events; handled now, they give the grid its new width before the fill measures it.
    // A layout laid out may ask the one around it in turn, hence the few rounds.
    for (int round = 0; round < 4; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

void ViewDispatcher::showTitle()
{
    m_window.viewCaption()->setText(ViewTable::viewTitle(m_window.navigation().viewCode(),
                                                         m_window.calendar()->selectedDate(),
                                                         m_window.settingsRecord().WorkDays));
}

void ViewDispatcher::editExistingChanged(bool editing)
{
    const int code = m_window.navigation().viewCode();
    if (!editing) {
        showTitle();
        return;
    }
    m_window.viewCaption()->setText(
        ViewTable::editTitle(code, entryRecordText(*m_window.grid()->model(), code)));
}

void ViewDispatcher::rememberView()
{
    // Every new document starts from the same file: it has no history of its own.
    const DocumentSession &session = m_window.session();
    if (session.isNewDocument() || session.currentPath().isEmpty())
        return;
    int code = m_plan.code;
    if (NavigationState::isNewRecordView(code))
        code = NavigationState::listOfSection(code / 10);
    UiSettings::setLastView(m_window.settings(), session.currentPath(),
                            {code, m_objectKey, m_window.calendar()->selectedDate()});
}

void ViewDispatcher::applyInitialState()
{
    const NavigationState &navigation = m_window.navigation();
    m_plan = DispatchPlan::make(navigation.viewCode(), navigation.previousViewCode(),
                                m_window.settingsRecord(), m_window.settings());
    showTitle();
    applyPlan(m_plan);
}

void ViewDispatcher::applyPlan(const DispatchPlan &plan)
{
    applyMenus(plan);
    applyPanes(plan);
}

void ViewDispatcher::setEnabled(const char *command, bool enabled)
{
    if (QAction *action = m_window.command(QString::fromLatin1(command)))
        action->setEnabled(enabled);
}

void ViewDispatcher::applyMenus(const DispatchPlan &plan)
{
    for (int i = 0; i < EditMenuCount; ++i) {
        QMenu *menu = m_window.editMenu(EditMenu(i));
        const bool own = int(plan.editMenu) == i;
        menu->menuAction()->setVisible(own);
        menu->setEnabled(own);
    }
    setEnabled("submenuSaveToFile", plan.saveTable);
    setEnabled("submenuShowMiddlePane", plan.middlePaneMenu);
    if (plan.middlePaneChecked)
        m_window.command(QStringLiteral("submenuShowMiddlePane"))
            ->setChecked(*plan.middlePaneChecked);
    setEnabled("submenuCopyTimeTable", plan.timetableService);
    setEnabled("submenuClearTimeTable", plan.timetableService);
    for (int kind = 0; kind < UiSettings::BusyTimeKinds; ++kind) {
        if (QAction *show = m_window.command(QStringLiteral("submenuBTShow(%1)").arg(kind)))
            show->setChecked(plan.busyTimeShown[std::size_t(kind)]);
    }
    m_window.command(QStringLiteral("submenuBTShowIcon(0)"))->setChecked(plan.busyTimeIcons);
    m_window.command(QStringLiteral("submenuBTShowIcon(1)"))->setChecked(!plan.busyTimeIcons);
    m_window.command(QStringLiteral("submenuBTLocalDate"))
        ->setChecked(UiSettings::busyTimeEveryWeek(m_window.settings()));

    setEnabled("ButtonExportToExcel", plan.exportToExcel);
    for (const char *tool : {"ButtonCopy", "ButtonDeleteTable", "ButtonFind", "ButtonAccessEdit"})
        setEnabled(tool, plan.timetableTools);
    setEnabled("ButtonView", plan.displayTextButton);
    // The filter offers what the view's fill can filter by; a view without one has nothing.
    const FillRegistry::Routines *routines = m_window.fills().find(plan.code);
    setEnabled("ButtonFilter", routines && routines->filterEntries);
    if (plan.disableAud)
        setEnabled("ButtonAud", false);
    const QList<QAction *> modes = m_window.displayTextMenu()->actions();
    for (qsizetype i = 0; i < modes.size() && i < qsizetype(plan.displayTextShown.size()); ++i)
        modes[i]->setVisible(plan.displayTextShown[std::size_t(i)]);
}

void ViewDispatcher::applyPanes(const DispatchPlan &plan)
{
    NavigationBar *bar = m_window.navigationBar();
    bar->openSection(plan.section);
    bar->setCurrentItem(plan.item);
    for (int s = 0; s < ViewTable::SectionCount; ++s) {
        const QString key = QString::fromLatin1(ViewTable::section(s).toolbarKey);
        if (QAction *button = m_window.command(key))
            button->setChecked(s == plan.section);
    }

    m_window.showPreview(plan.showPreview);
    m_window.objectPane()->showParts(plan.tabStrip, plan.periodPickers, plan.secondCalendar,
                                     plan.objectList != ObjectKind::None || plan.tabStrip);
    m_window.setObjectPaneShown(plan.objectPane);
}

void ViewDispatcher::showWeekNumber()
{
    const int week = workingWeekNumber(m_window.session(), m_window.calendar()->selectedDate());
    m_window.statusPanels()->setPanelText(StatusBarPanels::WeekNumber, QString::number(week));
}

void ViewDispatcher::sectionClicked(int section)
{
    m_window.navigation().selectSection(section);
    dispatch();
}

void ViewDispatcher::itemClicked(int item)
{
    m_window.navigation().selectItem(item);
    dispatch();
}

void ViewDispatcher::menuKeyChosen(const QString &key)
{
    const std::optional<ViewTable::Choice> choice = ViewTable::parseMenuKey(key);
    if (!choice)
        return;
    NavigationState &navigation = m_window.navigation();
    // A new-record view adds to the list of its section, so that list is shown first, as
    // the section button shows it. Other views need nothing before them.
    if (NavigationState::isNewRecordView(choice->section * 10 + choice->item))
        sectionClicked(choice->section);
    else
        navigation.selectSection(choice->section);
    navigation.selectItem(choice->item);
    dispatch();
}

void ViewDispatcher::addRecord()
{
    m_window.navigation().selectNewRecord();
    dispatch();
}

void ViewDispatcher::dateClicked(const QDate &date)
{
    const DateChange change = DateChange::make(m_window.navigation().viewCode(), date,
                                               m_window.settingsRecord().WorkDays);
    if (change.refill) {
        // The busy time of the tutor chosen follows the calendar to the month of the date.
        const QString tutor = m_plan.code == 43 ? m_objectKey : QString();
        dispatch();
        if (!tutor.isEmpty()) {
            if (const ObjectListEntry *entry = m_window.objectPane()->selectEntry(tutor))
                objectChosen(ObjectListEntry(*entry));
        }
    }
    StatusBarPanels *status = m_window.statusPanels();
    status->setPanelText(StatusBarPanels::CalendarDate, change.dateText);

    showDateLock(date);

    m_window.toggleCalendar();
    if (m_openNote && !m_queries->GetNote(date).isEmpty())
        m_openNote(date);
    showWeekNumber();
    if (!change.refill)
        rememberView();
    if (change.dayOff)
        m_window.prompts().message(DateChange::DayOffMessage, Prompts::Icon::Information);
    m_queries->ShowExamsOnDate(date);
}

QString ViewDispatcher::cellToolTip(int row, int col)
{
    const FillRegistry::Routines *routines =
        m_window.fills().find(m_window.navigation().viewCode());
    QString tip;
    if (routines && routines->cellToolTip) {
        ViewContext ctx = context();
        tip = routines->cellToolTip(ctx, row, col);
    }
    const QString more = m_toolTipOverlay ? m_toolTipOverlay(row, col) : QString();
    if (more.isEmpty())
        return tip;
    return tip.isEmpty() ? more : tip + QStringLiteral("\n\n") + more;
}

void ViewDispatcher::objectChosen(const ObjectListEntry &entry)
{
    BusyScope busy(m_window.busyIndicator());
    ViewContext ctx = context();
    if (fillViewForObject(m_window.fills(), ctx, entry) != FillResult::NoRoutine)
        m_window.grid()->fitRowsToText();
    if (m_plan.objectList != ObjectKind::None) {
        m_objectKey = entry.key;
        rememberView();
    }
    emit objectShown(entry);
}

// The group or tutor columns of a timetable show their names and lessons whole, and share
// the window's width when it has room (up to two inches each).
void ViewDispatcher::fitTimetableColumns(int code)
{
    if (code < 40 || code > 42)
        return;
    const TimetableKind kind = code == 40   ? TimetableKind::Day
                               : code == 41 ? TimetableKind::Week
                                            : TimetableKind::WorkSchedule;
    const TimetableLayout layout =
        TimetableLayout::ofGrid(kind, m_window.settingsRecord(), *m_window.grid()->model());
    if (layout.objectCount > 0)
        m_window.grid()->fitColumnsToText(layout.firstObjectCol,
                                          layout.firstObjectCol + layout.objectCount - 1, 2880);
}

void ViewDispatcher::tabChosen(int tab)
{
    UiSettings::setTabStripSelected(m_window.settings(), tab);
    refillObjectPane(tab);
}

void ViewDispatcher::refillObjectPane(int tab)
{
    const FillRegistry::Routines *routines =
        m_window.fills().find(m_window.navigation().viewCode());
    if (!routines || !routines->paneRefill)
        return;
    ViewContext ctx = context();
    // The tab bar tells of the click before it moves its current tab.
    ctx.tab = tab;
    refillPane(m_window.fills(), ctx);
    m_window.objectPane()->setObjects(m_objects);
}

void ViewDispatcher::periodChanged()
{
    const int code = m_window.navigation().viewCode();
    if (code == 35) {
        dispatch();
        return;
    }
    // The passport, timesheet and hours worked of the tutor chosen follow the period.
    if (code >= 32 && code <= 34) {
        ObjectPane *pane = m_window.objectPane();
        if (const ObjectListEntry *entry = pane->entryOf(pane->objectList()->currentItem()))
            objectChosen(ObjectListEntry(*entry));
    }
}

void ViewDispatcher::repeatObjectClick()
{
    ObjectPane *pane = m_window.objectPane();
    if (const ObjectListEntry *entry = pane->entryOf(pane->objectList()->currentItem()))
        objectChosen(ObjectListEntry(*entry));
    else
        dispatch();
}

void ViewDispatcher::busyTimeKindToggled(int entry, bool shown)
{
    UiSettings::setShowBusyTime(m_window.settings(), entry + 1, shown);
    m_plan.busyTimeShown[std::size_t(entry)] = shown;
    repeatObjectClick();
}

void ViewDispatcher::busyTimeIconsChosen(bool icons)
{
    UiSettings::setBusyTimeIcons(m_window.settings(), icons);
    m_plan.busyTimeIcons = icons;
    repeatObjectClick();
}

void ViewDispatcher::busyTimeEveryWeekToggled(bool everyWeek)
{
    UiSettings::setBusyTimeEveryWeek(m_window.settings(), everyWeek);
    repeatObjectClick();
}

void ViewDispatcher::middlePaneToggled(bool shown)
{
    UiSettings::setMiddlePaneOnTimeTable(m_window.settings(), shown);
    dispatch();
}

int ViewDispatcher::currentDisplayText() const
{
    return DisplayTextModes::current(m_window.settings(), m_window.navigation().item());
}

void ViewDispatcher::displayTextReset()
{
    const int item = m_window.navigation().item();
    DisplayTextModes::setCurrent(m_window.settings(), item,
                                 DisplayTextModes::resetValue(m_window.settings(), item));
    dispatch();
}

void ViewDispatcher::displayTextChosen(int tag)
{
    DisplayTextModes::setCurrent(m_window.settings(), m_window.navigation().item(), tag);
    dispatch();
}

void ViewDispatcher::totalsToggled(bool on)
{
    // For this run only: the options dialog owns the saved value.
    m_window.settingsRecord().ShowTotals = on;
    dispatch();
}

void ViewDispatcher::colorItemToggled(bool on)
{
    UiSettings::setShowColorItem(m_window.settings(), on);
    m_window.settingsRecord().ShowColorItem = on;
    dispatch();
}

QStringList ViewDispatcher::filterEntries()
{
    QStringList entries{kAllEntries};
    const FillRegistry::Routines *routines =
        m_window.fills().find(m_window.navigation().viewCode());
    if (routines && routines->filterEntries) {
        ViewContext ctx = context();
        entries += routines->filterEntries(ctx);
    }
    return entries;
}

void ViewDispatcher::filterChosen(const QString &entry)
{
    // Kept through refills and edits, and when the planner comes back to the view, until
    // "Все" or another entry is chosen.
    m_filter = entry;
    m_filterCode = filterOwner(m_window.navigation().viewCode());
    dispatch();
}

QString ViewDispatcher::filter() const
{
    return filterOwner(m_window.navigation().viewCode()) == m_filterCode ? m_filter
                                                                          : kAllEntries;
}

void ViewDispatcher::showFilter()
{
    const QString entry = filter();
    m_window.statusPanels()->showFilter(entry == kAllEntries ? QString() : entry);
}

} // namespace korvesta
