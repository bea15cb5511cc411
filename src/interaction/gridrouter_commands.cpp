// The "Редактирование" menu items and the Delete key: the reference lists through the
// editor, the load, timetable and busy-time marks through their editing targets.

#include "gridrouter.h"

#include "data/prompts.h"
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
        m_host.refresh();
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
    switch (command) {
    case EditCommand::AddLoadTutor:
        return m_targets->addLoadTutor();
    case EditCommand::AddLoadDiscipline:
        if (!hasTutor(row)) {
            m_prompts.message(QStringLiteral("Не выделен преподаватель для добавления дисциплины"),
                              Prompts::Icon::Information);
            return false;
        }
        return m_targets->addLoadDiscipline(row);
    case EditCommand::AddLoadGroup:
        if (!m_grid.isDataCell(row, kLoadDisciplineCol)
            || m_grid.text(row, kLoadDisciplineCol).trimmed().isEmpty())
            return false;
        return m_targets->addLoadGroup(row);
    case EditCommand::EditLoadHours:
        if (!hasGroup(row)) {
            m_prompts.message(QStringLiteral("Не выбрана группа"), Prompts::Icon::Information);
            return false;
        }
        return m_targets->editLoadHours(row);
    case EditCommand::EditTutor:
        if (!hasTutor(row)) {
            m_prompts.message(QStringLiteral("Не выбран преподаватель"),
                              Prompts::Icon::Information);
            return false;
        }
        return m_targets->editTutor(row);
    case EditCommand::DeleteLoadTutor:
        return m_grid.isDataCell(row, 1) && m_targets->deleteFromLoad(Part::Tutor, row);
    case EditCommand::DeleteLoadDiscipline:
        return m_grid.isDataCell(row, 1) && m_targets->deleteFromLoad(Part::Discipline, row);
    case EditCommand::DeleteLoadGroup:
        return m_grid.isDataCell(row, 1) && m_targets->deleteFromLoad(Part::Group, row);
    default:
        return false;
    }
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
    case 30: {
        const EditCommand command = m_col <= 2   ? EditCommand::DeleteLoadTutor
                                    : m_col == 3 ? EditCommand::DeleteLoadDiscipline
                                                 : EditCommand::DeleteLoadGroup;
        if (loadCommand(command, m_row))
            m_host.refresh();
        break;
    }
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
