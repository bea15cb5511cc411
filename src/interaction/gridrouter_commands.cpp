// The "Редактирование" menu items and the Delete key: the reference lists through the
// editor, the load, timetable and busy-time marks through their editing targets.

#include "gridrouter.h"

#include "data/prompts.h"
#include "data/queries.h"
#include "editing/referenceeditor.h"
#include "editingtargets.h"
#include "entryrows.h"
#include "grid/gridmodel.h"
#include "interactionhost.h"
#include "views/frames/entryarea.h"

#include <QScopedValueRollback>

namespace korvesta {

namespace {

// Columns of the teaching load.
constexpr int kLoadTutorCol = 1;
constexpr int kLoadDisciplineCol = 3;
constexpr int kLoadGroupCol = 4;

} // namespace

void GridRouter::command(EditCommand command)
{
    if (m_busy)
        return;
    storeCell();
    runCommand(command);
}

void GridRouter::editFromMenu(int listView)
{
    // The list, or its entry area with the list below it.
    if (code() == listView || (code() == listView + 1 && m_row > entryarea::Rows))
        editRecord(listView, m_row);
}

void GridRouter::runCommand(EditCommand command)
{
    switch (command) {
    case EditCommand::EditGroup:
        editFromMenu(0);
        return;
    case EditCommand::EditDiscipline:
        editFromMenu(10);
        return;
    case EditCommand::EditAuditoria:
        editFromMenu(20);
        return;
    case EditCommand::DeleteGroup:
    case EditCommand::DeleteDiscipline:
    case EditCommand::DeleteAuditoria:
    case EditCommand::ClearLessonCell:
        deleteKey();
        return;
    case EditCommand::ChangeAuditorium:
        // The lessons of the current cell, on its own date.
        if (code() >= 40 && code() <= 42 && m_grid.isDataCell(m_row, m_col)
            && !m_grid.text(m_row, m_col).trimmed().isEmpty())
            m_targets->changeAuditorium(m_row, m_col, cellDate(m_row));
        return;
    case EditCommand::DeleteMarksCell:
    case EditCommand::DeleteMarksRow:
    case EditCommand::DeleteMarksColumn: {
        if (code() != 43)
            return;
        const auto scope =
            EditingTargets::MarkScope(int(command) - int(EditCommand::DeleteMarksCell));
        if (m_targets->deleteBusyMarks(scope, m_row, m_col))
            m_host.repeatObjectClick();
        return;
    }
    default:
        break;
    }
    if ((code() == 30 || code() == 31) && loadCommand(command, m_row))
        refillLoad(m_row, m_col);
}

bool GridRouter::hasTutor(int row) const
{
    return m_grid.isDataCell(row, kLoadTutorCol)
           && !m_grid.text(row, kLoadTutorCol).trimmed().isEmpty();
}

bool GridRouter::hasGroup(int row) const
{
    return m_grid.isDataCell(row, kLoadGroupCol)
           && !m_grid.text(row, kLoadGroupCol).trimmed().isEmpty();
}

bool GridRouter::loadCommand(EditCommand command, int row)
{
    using Part = EditingTargets::LoadPart;
    // A totals row stands for the load row above it.
    const int line = loadRowOf(row);
    switch (command) {
    case EditCommand::AddLoadTutor:
        if (code() == 30)
            prepareLoadEntry(LoadEntryKind::Tutor, -1);
        return false;
    case EditCommand::AddLoadDiscipline:
    case EditCommand::AddLoadGroup:
        if (line < 0
            || m_queries.GetKeyByText(m_grid.text(line, kLoadTutorCol).trimmed(),
                                      QStringLiteral("Tutor"))
                   == 0) {
            m_prompts.message(QStringLiteral("Не выделен преподаватель для добавления дисциплины"),
                              Prompts::Icon::Critical);
            return false;
        }
        if (code() == 30) {
            prepareLoadEntry(command == EditCommand::AddLoadDiscipline ? LoadEntryKind::Discipline
                                                                       : LoadEntryKind::Group,
                             line);
        }
        return false;
    case EditCommand::EditLoadHours:
        if (line != row || !hasGroup(row)) {
            m_prompts.message(QStringLiteral("Не выбрана группа"), Prompts::Icon::Critical);
            return false;
        }
        if (code() == 30)
            prepareLoadEntry(LoadEntryKind::Hours, row);
        return false;
    case EditCommand::EditTutor:
        if (!hasTutor(row)) {
            m_prompts.message(QStringLiteral("Не выбран преподаватель"),
                              Prompts::Icon::Information);
            return false;
        }
        return m_targets->editTutor(row);
    case EditCommand::DeleteLoadTutor:
        return line >= 0 && m_targets->deleteFromLoad(Part::Tutor, line);
    case EditCommand::DeleteLoadDiscipline:
    case EditCommand::DeleteLoadGroup: {
        if (line < 0)
            return false;
        // A totals row names no group.
        if (command == EditCommand::DeleteLoadGroup && line != row) {
            m_prompts.message(QStringLiteral("Не выбрана группа"), Prompts::Icon::Information);
            return false;
        }
        QScopedValueRollback<bool> busy(m_busy, true);
        return m_targets->deleteFromLoad(
            command == EditCommand::DeleteLoadGroup ? Part::Group : Part::Discipline, line);
    }
    default:
        return false;
    }
}

// What Delete removes at a cell of the load: on a load row by the column (the tutor's
// columns, the discipline's, else the group); on a totals row what it totals.
EditCommand GridRouter::loadDeletionAt(int row, int col) const
{
    if (m_grid.isSubtotal(row)) {
        return m_grid.rowOutlineLevel(row) == kLoadDisciplineCol
                   ? EditCommand::DeleteLoadDiscipline
                   : EditCommand::DeleteLoadTutor;
    }
    return col <= 2   ? EditCommand::DeleteLoadTutor
           : col == 3 ? EditCommand::DeleteLoadDiscipline
                      : EditCommand::DeleteLoadGroup;
}

// The load refilled after a change, with the row of the change (or the one that took its
// place) in sight.
void GridRouter::refillLoad(int row, int col)
{
    m_host.refresh();
    const int last = m_grid.rows() - 1;
    if (row < m_grid.fixedRows() || last < m_grid.fixedRows())
        return;
    m_grid.setCurrentCell(std::min(row, last), std::max(col, 1));
    m_host.revealCurrentCell();
}

void GridRouter::deleteKey()
{
    storeCell();
    switch (code()) {
    case 0:
    case 10:
    case 20:
        deleteListRow();
        break;
    case 30:
        if (loadEntryOpen() && m_row == entryarea::Row)
            break; // the entry row is not in the document yet
        if (!m_grid.isDataCell(m_row, kLoadTutorCol)) {
            m_prompts.message(QStringLiteral("Выберите строку преподавателя, дисциплины или "
                                             "группы"),
                              Prompts::Icon::Information);
            break;
        }
        if (loadCommand(loadDeletionAt(m_row, m_col), m_row))
            refillLoad(m_row, m_col);
        break;
    case 40:
    case 41:
    case 42:
        // Only a cell that shows a lesson is cleared.
        if (m_grid.isDataCell(m_row, m_col) && !m_grid.text(m_row, m_col).trimmed().isEmpty())
            m_targets->clearLessonCell(m_row, m_col, cellDate(m_row));
        break;
    case 43:
        if (m_targets->deleteBusyMarks(EditingTargets::MarkScope::Cell, m_row, m_col))
            m_host.repeatObjectClick();
        break;
    default:
        break;
    }
}

void GridRouter::deleteListRow()
{
    const int row = m_row;
    if (!entryrows::isRecordRow(m_grid, row))
        return;
    QScopedValueRollback<bool> busy(m_busy, true);
    const auto text = [&](int col) { return m_grid.text(row, col); };
    DeleteOutcome outcome = DeleteOutcome::Nothing;
    switch (code()) {
    case 0:
        outcome = m_editor.deleteGroup(text(2), text(1), text(4));
        break;
    case 10:
        outcome = m_editor.deleteDiscipline(text(2), text(3));
        break;
    case 20:
        outcome = m_editor.deleteAuditorium(text(2), text(1));
        break;
    default:
        return;
    }
    if (outcome == DeleteOutcome::Nothing)
        return;
    const int col = m_col;
    m_host.refresh();
    // The row that took the deleted one's place, for the next key press.
    const int last = m_grid.rows() - 1;
    if (last >= m_grid.fixedRows()) {
        m_grid.setCurrentCell(std::min(row, last), col);
        m_host.revealCurrentCell();
    }
}

} // namespace korvesta
