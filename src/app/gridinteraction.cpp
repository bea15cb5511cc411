#include "gridinteraction.h"

#include "data/prompts.h"
#include "dlgdeletetimetable.h"
#include "dlgselectjob.h"
#include "editing/auditoriumchange.h"
#include "editing/placement.h"
#include "data/queries.h"
#include "editing/examdate.h"
#include "editing/loadeditor.h"
#include "editing/referenceeditor.h"
#include "editing/tutorexceptions.h"
#include "editing/timetableclearing.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "interaction/editingtargets.h"
#include "interaction/entryrows.h"
#include "interaction/gridrouter.h"
#include "mainwindow.h"
#include "objectpane.h"
#include "slotassistant.h"
#include "statusbarpanels.h"
#include "statusprogress.h"
#include "viewdispatcher.h"
#include "views/timetable/timetablerefresh.h"
#include "views/accounting/accountingviews.h"
#include "views/frames/entryarea.h"
#include "views/navigationstate.h"
#include "views/timetable/timetablelayout.h"
#include "views/uisettings.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCursor>
#include <QMenu>
#include <QScrollBar>
#include <QTabBar>
#include <QTreeWidget>

namespace korvesta {

namespace {

// The tutor a row of the teaching load names: his own rows carry his name, his total
// "ИТОГО у преподавателя  '<name>'".
QString tutorOfLoadRow(const GridModel &grid, int row)
{
    static const QString totalPrefix = QStringLiteral("ИТОГО у преподавателя  '");
    const QString text = grid.text(row, 1).trimmed();
    if (text.startsWith(totalPrefix) && text.endsWith(QLatin1Char('\'')))
        return text.mid(totalPrefix.size(), text.size() - totalPrefix.size() - 1);
    return text;
}

// The current view filled again after the timetable changed, with the current cell and the
// scroll position kept.
// After a change of the lessons of a date: the view brought up to date where they are.
void refreshTouched(frmMain &window, const TimetableTouch &touch)
{
    window.dispatcher().refreshTouched(touch);
}

void refillKeepingCell(frmMain &window)
{
    GridView *grid = window.grid();
    GridModel *model = grid->model();
    const int row = model->currentRow();
    const int col = model->currentCol();
    const int top = grid->verticalScrollBar()->value();
    const int left = grid->horizontalScrollBar()->value();
    window.dispatcher().refresh();
    if (row >= 0 && col >= 0 && row < model->rows() && col < model->cols())
        model->setCurrentCell(row, col);
    grid->verticalScrollBar()->setValue(top);
    grid->horizontalScrollBar()->setValue(left);
}

// The editing the window does itself while no other is set: the exam date of the group
// passport, saved by the editing core for the group chosen in the object list, and the
// tutor's own record in the teaching load.
class WindowTargets : public EditingTargets
{
public:
    WindowTargets(frmMain &window, ReferenceEditor &editor)
        : m_window(window)
        , m_editor(editor)
    {}

    // The tutor of the row goes into the entry area of the new-tutor view with his usual
    // auditorium, to be changed there; saving the area writes him back by his Key.
    bool editTutor(int row) override
    {
        using namespace entryarea;
        GridModel *grid = m_window.grid()->model();
        NavigationState &navigation = m_window.navigation();
        const int code = navigation.viewCode();
        if (code == 31 && row <= Rows)
            return false; // the entry area itself
        const QString name = tutorOfLoadRow(*grid, row);
        const std::optional<TutorRecord> tutor = m_editor.findTutor(name);
        if (!tutor) {
            m_window.prompts().message(QStringLiteral("Не выбран преподаватель"),
                                       Prompts::Icon::Critical);
            return false;
        }
        if (code != 31) {
            navigation.selectNewRecord();
            m_window.dispatcher().refresh();
            if (navigation.viewCode() != 31 || grid->text(AcceptRow, ButtonCol) != AcceptText)
                return false;
        }
        resetEntryRowColor(*grid);
        for (int col = 1; col < grid->cols(); ++col)
            grid->setText(Row, col, QString());
        grid->setText(Row, 1, tutor->tutor);
        grid->setText(Row, 2, tutor->defaultAud);
        grid->setCurrentCell(Row, 1);
        m_editedTutor = tutor->key;
        navigation.setEditExisting(true);
        return false; // nothing written yet
    }

    SaveResult saveTutor(bool editExisting, int key) override
    {
        const GridModel *grid = m_window.grid()->model();
        const auto cell = [grid](int col) {
            return entryrows::oneLine(grid->text(entryarea::Row, col));
        };
        const TutorRow row{cell(1), cell(2)};
        if (!editExisting)
            return m_editor.addTutor(row);
        // The router's key may still be that of a group or discipline left unsaved.
        const int tutorKey = m_editedTutor != 0 ? m_editedTutor : key;
        if (tutorKey == 0)
            return {};
        const SaveResult saved = m_editor.editTutor(tutorKey, row);
        if (saved.saved)
            m_editedTutor = 0;
        return saved;
    }

    bool saveExamDate(int row, const QDate &date) override
    {
        ObjectPane *pane = m_window.objectPane();
        const ObjectListEntry *chosen = pane->entryOf(pane->objectList()->currentItem());
        GridModel *grid = m_window.grid()->model();
        ExamLine line;
        if (chosen && chosen->key.startsWith(QLatin1String("gr")))
            line.keyGroup = chosen->recordKey().toInt();
        line.discipline = grid->text(row, 0);
        line.tutor = grid->text(row, 1);
        if (korvesta::saveExamDate(m_window.session(), m_window.prompts(), line, date))
            return true;
        // The cell shows the date typed: show again what the document holds.
        if (chosen) {
            const int col = grid->currentCol();
            m_window.dispatcher().objectChosen(ObjectListEntry(*chosen));
            grid->setCurrentCell(row, col);
        }
        return false;
    }

    bool addLoadTutor() override { return loadEditor().addTutor(loadRow(entryarea::Row)); }
    bool addLoadDiscipline(int row) override { return loadEditor().addDiscipline(loadRow(row)); }
    bool addLoadGroup(int row) override { return loadEditor().addGroup(loadRow(row)); }
    bool editLoadHours(int row) override { return loadEditor().changeHours(loadRow(row)); }
    bool deleteFromLoad(LoadPart part, int row) override
    {
        switch (part) {
        case LoadPart::Tutor:
            return deleteTutor(row);
        case LoadPart::Discipline:
            return removeLoadDiscipline(row);
        case LoadPart::Group:
            return removeLoadGroup(row);
        }
        return false;
    }

    // The group of the cell's column (day and week views) and the lesson of its row.
    bool assignLessonByGroup(int row, int col, const QDate &date) override
    {
        const std::optional<LessonCell> cell = lessonCell(row, col);
        if (!cell || cell->kind == TimetableKind::WorkSchedule)
            return false;
        LessonPlacement placement = this->placement();
        return place(placement, placement.openForGroup(date, cell->lesson, cell->object,
                                                       cell->course, cell->faculty));
    }

    // The tutor of the work schedule's column and the lesson of its row.
    bool assignLessonByTutor(int row, int col, const QDate &date) override
    {
        const std::optional<LessonCell> cell = lessonCell(row, col);
        if (!cell || cell->kind != TimetableKind::WorkSchedule)
            return false;
        LessonPlacement placement = this->placement();
        return place(placement, placement.openForTutor(date, cell->lesson, cell->object));
    }

    bool changeAuditorium(int row, int col, const QDate &date) override
    {
        const std::optional<LessonCell> cell = lessonCell(row, col);
        if (!cell)
            return false;
        AuditoriumChange change(m_window.session(), m_window.settingsRecord(), m_window.prompts());
        std::optional<PlacementChoice> choice =
            cell->kind == TimetableKind::WorkSchedule
                ? change.openForTutor(date, cell->lesson, cell->object)
                : change.openForGroup(date, cell->lesson, cell->object, cell->course,
                                      cell->faculty);
        return choice
               && showJobDialog(*choice, [&change](PlacementChoice &c, const PlacementRequest &) {
                      return change.write(c);
                  });
    }

    // The lessons of the cell's group (day and week views) or tutor (work schedule) at the
    // lesson of its row; a day beyond the working days is left alone.
    void clearLessonCell(int row, int col, const QDate &date) override
    {
        const SettingsRecord &settings = m_window.settingsRecord();
        if (!date.isValid() || date.dayOfWeek() > settings.WorkDays)
            return;
        const std::optional<LessonCell> cell = lessonCell(row, col);
        if (!cell)
            return;
        TimetableClearing clearing(m_window.session(), settings, m_window.prompts());
        const ClearingOutcome outcome =
            cell->kind == TimetableKind::WorkSchedule
                ? clearing.clearTutorCell(date, cell->lesson, cell->object)
                : clearing.clearGroupCell(date, cell->lesson, cell->object, cell->course,
                                          cell->faculty);
        m_window.statusPanels()->setPanelText(StatusBarPanels::Comment, clearing.statusText());
        if (outcome == ClearingOutcome::Done)
            refreshTouched(m_window, {{date}, {cell->lesson}});
    }

    bool markBusyCells(int kind, const CellRange &block) override
    {
        const std::optional<BusyTutor> tutor = busyTutor();
        if (!tutor)
            return false;
        const int lessons = m_window.settingsRecord().LessonsInDay;
        std::vector<BusyCell> cells;
        for (int row = block.top; row <= block.bottom; ++row) {
            for (int col = block.left; col <= block.right; ++col)
                addBusyCell(cells, busytime::lessonOfRow(row, lessons), col);
        }
        return TutorExceptions(m_window.session(), m_window.settingsRecord(), m_window.prompts())
            .mark(tutor->key, kind, markBy(), cells);
    }

    bool deleteBusyMarks(MarkScope scope, int row, int col) override
    {
        const std::optional<BusyTutor> tutor = busyTutor();
        if (!tutor)
            return false;
        const int lessons = m_window.settingsRecord().LessonsInDay;
        const int lesson = busytime::lessonOfRow(row, lessons);
        // The current cell first: the question names it.
        std::vector<BusyCell> cells;
        addBusyCell(cells, lesson, col);
        if (scope == MarkScope::Row) {
            for (int day = 0; day < m_window.grid()->model()->cols(); ++day) {
                if (day != col)
                    addBusyCell(cells, lesson, day);
            }
        } else if (scope == MarkScope::Column) {
            for (int l = 1; l <= lessons; ++l) {
                if (l != lesson)
                    addBusyCell(cells, l, col);
            }
        }
        return TutorExceptions(m_window.session(), m_window.settingsRecord(), m_window.prompts())
            .remove(tutor->key, tutor->name, markBy(), cells);
    }

private:
    struct BusyTutor
    {
        int key = 0;
        QString name;
    };
    // The tutor whose busy time is shown: the one chosen in the object list.
    std::optional<BusyTutor> busyTutor() const
    {
        ObjectPane *pane = m_window.objectPane();
        const ObjectListEntry *chosen = pane->entryOf(pane->objectList()->currentItem());
        if (!chosen || !chosen->key.startsWith(QLatin1String("tu")))
            return std::nullopt;
        return BusyTutor{chosen->recordKey().toInt(), chosen->text()};
    }
    MarkBy markBy() const
    {
        return UiSettings::busyTimeEveryWeek(m_window.settings()) ? MarkBy::Weekday
                                                                   : MarkBy::Date;
    }
    // The cell of a lesson and a day column of the month shown, when the column is a day.
    void addBusyCell(std::vector<BusyCell> &cells, int lesson, int col) const
    {
        const QDate date = busytime::dateOfCol(m_window.calendar()->selectedDate(), col);
        if (lesson >= 1 && date.isValid())
            cells.push_back({lesson, date, date.dayOfWeek()});
    }

    // What a timetable cell stands for: the lesson of its row and the group (with its course
    // and faculty) or tutor of its column.
    struct LessonCell
    {
        TimetableKind kind = TimetableKind::Day;
        int lesson = 0;
        QString object;
        QString course;
        QString faculty;
    };
    std::optional<LessonCell> lessonCell(int row, int col) const
    {
        const GridModel &grid = *m_window.grid()->model();
        const int code = m_window.navigation().viewCode();
        LessonCell cell;
        cell.kind = code == 41   ? TimetableKind::Week
                    : code == 42 ? TimetableKind::WorkSchedule
                                 : TimetableKind::Day;
        const TimetableLayout layout =
            TimetableLayout::ofGrid(cell.kind, m_window.settingsRecord(), grid);
        cell.lesson = layout.lessonOfRow(grid, row);
        cell.object = grid.text(layout.objectRow(), col).trimmed();
        if (cell.lesson == 0 || !layout.isObjectCol(col) || cell.object.isEmpty())
            return std::nullopt;
        if (cell.kind != TimetableKind::WorkSchedule) {
            cell.course = courseFromHeader(grid.text(layout.courseRow(), col));
            if (layout.useFaculty)
                cell.faculty = grid.text(layout.facultyRow(), col).trimmed();
        }
        return cell;
    }

    LessonPlacement placement()
    {
        return LessonPlacement(m_window.session(), m_window.settingsRecord(), m_window.settings(),
                               m_window.prompts());
    }

    // The job dialog over an opened choice; the view is filled again once a lesson is written.
    bool place(LessonPlacement &placement, std::optional<PlacementChoice> choice)
    {
        m_window.statusPanels()->setPanelText(StatusBarPanels::Comment, placement.statusText());
        return choice
               && showJobDialog(*choice,
                                [&placement](PlacementChoice &c, const PlacementRequest &request) {
                                    return placement.add(c, request);
                                });
    }

    // The job dialog; once its choice is written, the view is filled again on the same cell.
    bool showJobDialog(PlacementChoice &choice, dlgSelectJob::Writer write)
    {
        dlgSelectJob dialog(choice, std::move(write), m_window.prompts(), m_window.settings(),
                            &m_window);
        const int answer = dialog.exec();
        // The keys go back to the grid, also where no window manager hands the focus back.
        m_window.activateWindow();
        m_window.grid()->setFocus();
        if (dialog.suggestFor() > 0) {
            m_window.slotAssistant()->startForLine(dialog.suggestFor());
            return false;
        }
        if (answer != QDialog::Accepted || dialog.result().outcome != PlacementOutcome::Written)
            return false;
        // The cell, and the other lesson of its pair for a paired lesson.
        refreshTouched(m_window, {{choice.date}, {choice.lesson, choice.partner}});
        return true;
    }

    bool deleteTutor(int row)
    {
        // The new-tutor view is refilled only from the load: there a deleted tutor would
        // stay on screen, and the entry area names no record.
        if (m_window.navigation().viewCode() != 30)
            return false;
        const QString name = tutorOfLoadRow(*m_window.grid()->model(), row);
        return m_editor.deleteTutor(name) != DeleteOutcome::Nothing;
    }

    LoadEditor loadEditor() { return LoadEditor(m_window.session(), m_window.prompts()); }

    // The cells of a row of the load: the entry row, or a line of the outline.
    LoadEntry loadRow(int row) const
    {
        const GridModel *grid = m_window.grid()->model();
        return {grid->text(row, 1), grid->text(row, 2), grid->text(row, 3), grid->text(row, 4),
                grid->text(row, 5)};
    }
    bool removeLoadGroup(int row)
    {
        const LoadEntry line = loadRow(row);
        return loadEditor().removeGroup(line.tutor, line.discipline, line.group);
    }
    bool removeLoadDiscipline(int row)
    {
        const LoadEntry line = loadRow(row);
        return loadEditor().removeDiscipline(line.tutor, line.discipline);
    }

    frmMain &m_window;
    ReferenceEditor &m_editor;
    // The tutor in the entry area while he is edited.
    int m_editedTutor = 0;
};

} // namespace

GridInteraction::GridInteraction(frmMain &window)
    : QObject(&window)
    , m_window(window)
    , m_queries(
          std::make_unique<DocumentQueries>(window.session(), window.settings(), window.prompts()))
    , m_editor(std::make_unique<ReferenceEditor>(window.session(), window.settingsRecord(),
                                                 window.prompts()))
    , m_noTargets(std::make_unique<WindowTargets>(window, *m_editor))
    , m_router(std::make_unique<GridRouter>(*window.grid()->model(), window.navigation(),
                                            window.settingsRecord(), window.prompts(), *m_queries,
                                            *m_editor, *m_noTargets, *this))
{
    setObjectName(QStringLiteral("gridInteraction"));
    connectGrid();
    connectMenus();
}

GridInteraction::~GridInteraction() = default;

void GridInteraction::setTargets(EditingTargets *targets)
{
    m_router->setTargets(targets ? *targets : *m_noTargets);
}

void GridInteraction::connectGrid()
{
    GridView *grid = m_window.grid();
    GridRouter *router = m_router.get();
    connect(grid, &GridView::clicked, this, [router] { router->clicked(); });
    connect(grid, &GridView::currentCellChanged, this, [router] { router->currentCellChanged(); });
    connect(grid, &GridView::selectionChanged, this, [router] { router->selectionChanged(); });
    connect(grid, &GridView::beforeEdit, this, [router](int row, int col, bool *cancel) {
        if (!router->beforeEdit(row, col))
            *cancel = true;
    });
    connect(grid, &GridView::afterEdit, this,
            [router](int row, int col) { router->afterEdit(row, col); });
    connect(grid, &GridView::keyDown, this,
            [router](int key, Qt::KeyboardModifiers, bool *handled) {
                if (router->keyDown(key))
                    *handled = true;
            });
    connect(grid, &GridView::keyUp, this, [router](int key, Qt::KeyboardModifiers) {
        // The window's key preview refills on F5 already.
        if (key != Qt::Key_F5)
            router->keyUp(key);
    });
    connect(grid, &GridView::mouseDown, this, [router] { router->mouseDown(); });
    connect(grid, &GridView::mouseUp, this,
            [router](Qt::MouseButton button) { router->mouseUp(button); });
    connect(grid, &GridView::doubleClicked, this,
            [router](int row, int col) { router->doubleClicked(row, col); });
}

void GridInteraction::connectMenus()
{
    GridRouter *router = m_router.get();
    const auto route = [this, router](const QString &name, EditCommand command) {
        if (QAction *action = m_window.command(name))
            connect(action, &QAction::triggered, this,
                    [router, command] { router->command(command); });
    };
    route(QStringLiteral("submenuEditGroup"), EditCommand::EditGroup);
    route(QStringLiteral("submenuDeleteGroup"), EditCommand::DeleteGroup);
    route(QStringLiteral("submenuEditDiscipline"), EditCommand::EditDiscipline);
    route(QStringLiteral("submenuDeleteDiscipline"), EditCommand::DeleteDiscipline);
    route(QStringLiteral("submenuEditAuditoria"), EditCommand::EditAuditoria);
    route(QStringLiteral("submenuDeleteAuditoria"), EditCommand::DeleteAuditoria);
    route(QStringLiteral("submenuEditKorvesta"), EditCommand::EditLoadHours);
    route(QStringLiteral("submenuEditTutor"), EditCommand::EditTutor);
    route(QStringLiteral("submenuClearCellTimeTable"), EditCommand::ClearLessonCell);
    route(QStringLiteral("ButtonAud"), EditCommand::ChangeAuditorium);
    if (QAction *action = m_window.command(QStringLiteral("submenuClearTimeTable")))
        connect(action, &QAction::triggered, this, &GridInteraction::deleteTimetable);
    for (int i = 0; i < 3; ++i) {
        route(QStringLiteral("subsubmenuAddKorvesta(%1)").arg(i),
              EditCommand(int(EditCommand::AddLoadTutor) + i));
        route(QStringLiteral("subsubmenuDeleteKorvesta(%1)").arg(i),
              EditCommand(int(EditCommand::DeleteLoadTutor) + i));
        route(QStringLiteral("subsubmenuBTDelete(%1)").arg(i),
              EditCommand(int(EditCommand::DeleteMarksCell) + i));
    }
    for (int kind = 0; kind < 6; ++kind) {
        if (QAction *action = m_window.command(QStringLiteral("submenuBTShow(%1)").arg(kind)))
            connect(action, &QAction::triggered, this,
                    [router, kind](bool shown) { router->busyKindShown(kind, shown); });
    }
    for (int i = 0; i < 2; ++i) {
        if (QAction *action = m_window.command(QStringLiteral("submenuBTShowIcon(%1)").arg(i)))
            connect(action, &QAction::triggered, this,
                    [router, i] { router->busyIconsShown(i == 0); });
    }
    if (QAction *action = m_window.command(QStringLiteral("submenuBTLocalDate")))
        connect(action, &QAction::triggered, this,
                [router](bool everyWeek) { router->busyEveryWeek(everyWeek); });
}

void GridInteraction::refresh()
{
    m_window.dispatcher().refresh();
}

QDate GridInteraction::calendarDate() const
{
    return m_window.calendar()->selectedDate();
}

void GridInteraction::setCalendarDate(const QDate &date)
{
    m_window.calendar()->setSelectedDate(date);
}

void GridInteraction::hideCalendar()
{
    m_window.setCalendarShown(false);
}

void GridInteraction::showContextMenu(EditMenu which, const ContextMenuState &state)
{
    QMenu *menu = m_window.editMenu(which);
    if (!menu)
        return;
    const std::pair<const char *, bool> items[] = {
        {"subsubmenuAddKorvesta(1)", state.addDiscipline},
        {"subsubmenuAddKorvesta(2)", state.addGroup},
        {"submenuEditKorvesta", state.editHours},
    };
    for (const auto &[name, enabled] : items) {
        if (QAction *action = m_window.command(QString::fromLatin1(name)))
            action->setEnabled(enabled);
    }
    menu->exec(QCursor::pos());
    // The menu bar's copy of the menu offers every item.
    for (const auto &item : items) {
        if (QAction *action = m_window.command(QString::fromLatin1(item.first)))
            action->setEnabled(true);
    }
}

void GridInteraction::repeatObjectClick()
{
    ObjectPane *pane = m_window.objectPane();
    if (const ObjectListEntry *entry = pane->entryOf(pane->objectList()->currentItem()))
        m_window.dispatcher().objectChosen(ObjectListEntry(*entry));
}

void GridInteraction::setAudButtonEnabled(bool enabled)
{
    if (QAction *button = m_window.command(QStringLiteral("ButtonAud")))
        button->setEnabled(enabled);
}

bool GridInteraction::objectPaneShown() const
{
    return m_window.objectPane()->isVisible();
}

void GridInteraction::refreshObjectPane()
{
    m_window.dispatcher().refillObjectPane(m_window.objectPane()->tabStrip()->currentIndex());
}

void GridInteraction::revealCurrentCell()
{
    const GridModel *model = m_window.grid()->model();
    m_window.grid()->ensureVisible(model->currentRow(), model->currentCol());
}

void GridInteraction::deleteTimetable()
{
    dlgDeleteTimeTable dialog(calendarDate(), &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TimetableClearing clearing(m_window.session(), m_window.settingsRecord(), m_window.prompts());
    {
        StatusProgress progress(m_window.statusPanels());
        if (dialog.range() == dlgDeleteTimeTable::Range::WholePeriod)
            clearing.deleteAll(progress);
        else
            clearing.deleteRange(dialog.first(), dialog.last(), progress);
    }
    refillKeepingCell(m_window);
}

} // namespace korvesta
