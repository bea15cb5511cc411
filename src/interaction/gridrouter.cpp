#include "gridrouter.h"

#include "dropdownlists.h"
#include "editingtargets.h"
#include "grid/gridmodel.h"
#include "interactionhost.h"
#include "settings/settingsrecord.h"
#include "views/accounting/accountingviews.h"
#include "views/frames/entryarea.h"
#include "views/navigationstate.h"

#include <utility>

namespace korvesta {

namespace {

// Columns of the group passport and of the busy-time view.
constexpr int kExamDateCol = 6;
constexpr int kPassportTutorCol = 1;
constexpr int kMarkFirstCol = 2;
constexpr int kMarkDays = 31;

bool isTimetable(int code)
{
    return code >= 40 && code <= 42;
}

} // namespace

GridRouter::GridRouter(GridModel &grid, NavigationState &navigation, const SettingsRecord &settings,
                       Prompts &prompts, DocumentQueries &queries, ReferenceEditor &editor,
                       EditingTargets &targets, InteractionHost &host)
    : m_grid(grid)
    , m_navigation(navigation)
    , m_settings(settings)
    , m_prompts(prompts)
    , m_queries(queries)
    , m_editor(editor)
    , m_targets(&targets)
    , m_host(host)
{}

int GridRouter::code() const
{
    return m_navigation.viewCode();
}

void GridRouter::storeCell()
{
    m_row = m_grid.currentRow();
    m_col = m_grid.currentCol();
}

EditMenu GridRouter::contextMenuOf(int viewCode)
{
    switch (viewCode) {
    case 0:
    case 1:
        return EditMenu::Groups;
    case 10:
    case 11:
        return EditMenu::Disciplines;
    case 20:
    case 21:
        return EditMenu::Auditoriums;
    case 30:
    case 31:
        return EditMenu::Load;
    case 40:
    case 41:
    case 42:
        return EditMenu::Timetable;
    case 43:
        return EditMenu::BusyTime;
    default:
        return EditMenu::None; // the group passport and the reports have none
    }
}

// Only the entry row takes a record, and of it only the cells in the grid's own colour: the
// buttons are not typed into, nor is a colour cell, whose colour comes from the picker.
bool GridRouter::canEditByColor(int row, int col) const
{
    const int c = code();
    const bool colorCell = (c == 1 && col == 3) || (c == 11 && col == 4);
    return row == entryarea::Row && !colorCell && m_grid.isDataCell(row, col)
           && m_grid.cellBackColor(row, col) == m_grid.backColor();
}

void GridRouter::updateEditMode()
{
    const bool editable = canEditByColor(m_grid.currentRow(), m_grid.currentCol());
    m_grid.setEditMode(editable ? EditMode::KeyboardMouse : EditMode::None);
}

void GridRouter::clicked()
{
    m_host.hideCalendar();
}

void GridRouter::currentCellChanged()
{
    if (m_busy)
        return;
    const int c = code();
    const int row = m_grid.currentRow();
    const int col = m_grid.currentCol();
    if (NavigationState::isNewRecordView(c)) {
        updateEditMode();
        using namespace entryarea;
        if (col != ButtonCol)
            return;
        if (row == AcceptRow && m_grid.text(row, col) == AcceptText)
            takeOverEntryArea(true);
        else if (row == CancelRow && m_grid.text(row, col) == CancelText)
            takeOverEntryArea(false);
        return;
    }
    if (c == 30) {
        m_grid.setEditMode(onLoadEntry(row, col) ? EditMode::KeyboardMouse : EditMode::None);
        return;
    }
    // Only the entry area, the exam dates and the load (its own editing) take typing.
    if (c != 2 && c / 10 != 3)
        m_grid.setEditMode(EditMode::None);
    switch (c) {
    case 2: {
        const bool examCell = col == kExamDateCol && m_grid.isDataCell(row, col)
                              && !m_grid.hasOwnBackColor(row, col)
                              && !m_grid.text(row, kPassportTutorCol).isEmpty();
        m_grid.setEditMode(examCell ? EditMode::KeyboardMouse : EditMode::None);
        return;
    }
    case 43: {
        // A line of the legend names an absence kind: the day cells selected before it take
        // the kind.
        const int kind = busytime::absenceKindAt(row, col, m_settings.LessonsInDay);
        if (kind != 0 && m_markBlock.isValid() && m_targets->markBusyCells(kind, m_markBlock)) {
            m_markBlock = CellRange();
            m_host.repeatObjectClick();
        }
        return;
    }
    case 40:
        m_targets->showLessonDetails(row, col);
        break;
    default:
        break;
    }
    if (c / 10 == 4) {
        const QDate date = m_host.calendarDate();
        if (date.isValid() && date.dayOfWeek() <= m_settings.WorkDays)
            m_host.setAudButtonEnabled(!m_grid.text(row, col).isEmpty());
    }
}

bool GridRouter::beforeEdit(int row, int col)
{
    const int c = code();
    m_textBeforeEdit = m_grid.text(row, col);
    if (!NavigationState::isNewRecordView(c) && c != 30) {
        m_grid.setComboList(QString());
        return true;
    }
    if (NavigationState::isNewRecordView(c) && !canEditByColor(row, col))
        return false;
    if (c == 30 && !onLoadEntry(row, col))
        return false;
    return prepareDropDown(m_grid, c, col, m_queries, m_settings, m_prompts);
}

void GridRouter::afterEdit(int row, int col)
{
    const int c = code();
    if (c == 2)
        examDateEdited(row, col);
    else if (c / 10 == 3)
        m_grid.setComboList(QString());
    // The hours typed finish the load's entry row when they are all it asks for or nothing
    // else is missing.
    if (c == 30 && col == 5 && onLoadEntry(row, col)
        && (m_loadEntry == LoadEntryKind::Hours || firstEmptyLoadCell() < 0)) {
        finishLoadEntry();
        m_savedByEdit = m_loadEntry == LoadEntryKind::None;
    }
}

bool GridRouter::keyDown(int key)
{
    storeCell();
    // The Enter that ended the edit which saved the load's line stays on the saved line.
    if (std::exchange(m_savedByEdit, false) && (key == Qt::Key_Return || key == Qt::Key_Enter))
        return true;
    const int c = code();
    if (c == 30 && loadEntryKey(key))
        return true;
    if (!NavigationState::isNewRecordView(c) || m_busy)
        return false;
    updateEditMode();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    using namespace entryarea;
    if (m_row == AcceptRow || (m_row == CancelRow && m_col == ButtonCol)) {
        currentCellChanged();
        return m_col == ButtonCol; // elsewhere in the row Enter still moves on
    }
    if (m_row == Row && ((c == 1 && m_col == 3) || (c == 11 && m_col == 4))) {
        pickColor(m_col);
        return true;
    }
    return false;
}

void GridRouter::keyUp(int key)
{
    if (m_busy)
        return;
    if (key == Qt::Key_Delete)
        deleteKey();
    else if (key == Qt::Key_F5)
        m_host.refresh();
}

void GridRouter::mouseDown()
{
    m_savedByEdit = false;
    storeCell();
    m_host.hideCalendar();
}

void GridRouter::mouseUp(Qt::MouseButton button)
{
    if (button != Qt::RightButton || m_busy)
        return;
    storeCell();
    const int c = code();
    const EditMenu menu = contextMenuOf(c);
    if (menu == EditMenu::None)
        return;
    ContextMenuState state;
    if (menu == EditMenu::Load) {
        state.addDiscipline = state.addGroup = m_col > 2;
        state.editHours = m_col > 3;
    }
    m_host.showContextMenu(menu, state);
}

void GridRouter::selectionChanged()
{
    if (code() == 43 && !m_busy) {
        // The block of day cells the next click on the legend marks.
        const CellRange block = m_grid.selection();
        const int firstRow = m_grid.fixedRows();
        if (block.isValid() && block.top >= firstRow
            && block.bottom < firstRow + m_settings.LessonsInDay && block.left >= kMarkFirstCol
            && block.right < kMarkFirstCol + kMarkDays)
            m_markBlock = block;
        return;
    }
    if (!isTimetable(code()) || !m_host.objectPaneShown() || m_busy)
        return;
    followTimetableCell();
}

void GridRouter::doubleClicked(int row, int col)
{
    if (row < 1 || col < 1 || m_busy)
        return;
    m_row = row;
    m_col = col;
    using entryarea::Row;
    using entryarea::Rows;
    switch (code()) {
    case 0:
        editRecord(0, row);
        break;
    case 1:
        if (row > Rows)
            editRecord(0, row);
        else if (row == Row && col == 3)
            pickColor(col);
        break;
    case 10:
        if (col > 1)
            editRecord(10, row);
        break;
    case 11:
        if (row > Rows)
            editRecord(10, row);
        else if (row == Row && col == 4)
            pickColor(col);
        break;
    case 20:
        editRecord(20, row);
        break;
    case 21:
        if (row > Rows)
            editRecord(20, row);
        break;
    case 31:
        if (row <= Rows)
            break; // the entry area is typed into, it holds no load row yet
        [[fallthrough]];
    case 30:
        if (row == Row && loadEntryOpen())
            break; // the entry row is typed into
        if (col == 1)
            runCommand(EditCommand::EditTutor);
        else if (col == 3)
            runCommand(EditCommand::AddLoadDiscipline);
        else if (col == 4)
            runCommand(EditCommand::AddLoadGroup);
        else if (col == 5)
            runCommand(EditCommand::EditLoadHours);
        break;
    case 40:
    case 41:
    case 42:
        assignLesson(row, col);
        break;
    default:
        break;
    }
}

} // namespace korvesta
