// The entry area of the reference lists: filling it with a listed record, the colour
// picker of its colour cell, and taking it over with "Принять" or "Отмена".

#include "gridrouter.h"

#include "data/queries.h"
#include "editing/referenceeditor.h"
#include "editingtargets.h"
#include "entryrows.h"
#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "interactionhost.h"
#include "views/frames/entryarea.h"
#include "views/navigationstate.h"

#include <QScopedValueRollback>

namespace korvesta {

namespace {

// The type texts of a group entered without them.
const QString kNoFaculty = QStringLiteral("отсутствует");
const QString kDefaultTuition = QStringLiteral("Очная");
const QString kDefaultFinance = QStringLiteral("Бюджетная");

QString orDefault(const QString &text, const QString &fallback)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? fallback : trimmed;
}

} // namespace

void GridRouter::editRecord(int listView, int row)
{
    if (!entryrows::isRecordRow(m_grid, row))
        return;
    int from = row;
    const int c = code();
    if (c == listView) {
        // The list opens its entry area above the records, which move down by its rows.
        m_navigation.selectNewRecord();
        m_host.refresh();
        using namespace entryarea;
        if (code() != listView + 1 || m_grid.text(AcceptRow, ButtonCol) != AcceptText)
            return;
        from = row + Rows;
    } else if (c != listView + 1 || row <= entryarea::Rows) {
        return;
    }
    fillEntryFromList(listView, from);
}

bool GridRouter::fillEntryFromList(int listView, int row)
{
    resetEntryRowColor(m_grid);
    entryrows::copyToEntryRow(m_grid, row);
    m_grid.setCurrentCell(entryarea::Row, 1);
    const int key = lookUpKey(listView, entryarea::Row);
    // A record not found again is left as a new one (saving it tells that it exists); the
    // record edited before is forgotten, so that this row cannot be written over it.
    m_currentKey = key;
    m_navigation.setEditExisting(key != 0);
    return key != 0;
}

int GridRouter::lookUpKey(int listView, int row)
{
    switch (listView) {
    case 0: {
        QString group = m_grid.text(row, 2).trimmed();
        QString course = m_grid.text(row, 1).trimmed();
        QString faculty = orDefault(m_grid.text(row, 4), kNoFaculty);
        return m_queries.GetGroupKey(group, course, faculty,
                                     orDefault(m_grid.text(row, 5), kDefaultTuition),
                                     orDefault(m_grid.text(row, 6), kDefaultFinance));
    }
    case 10:
        return m_queries.GetKeyByText(m_grid.text(row, 2).trimmed(), QStringLiteral("Discipline"));
    case 20:
        return m_queries.GetKeyByText(m_grid.text(row, 2).trimmed() + QStringLiteral(" (")
                                          + m_grid.text(row, 1).trimmed() + QLatin1Char(')'),
                                      QStringLiteral("Auditoria"));
    default:
        return 0;
    }
}

void GridRouter::pickColor(int col)
{
    const quint32 current = bgrFromColor(m_grid.cellBackColor(entryarea::Row, col));
    if (const std::optional<quint32> chosen = m_editor.pickCellColor(current))
        m_grid.setCellBackColor(entryarea::Row, col, colorFromBgr(*chosen));
}

bool GridRouter::saveEntryRow()
{
    const bool editing = m_navigation.editExisting();
    const int key = m_currentKey;
    SaveResult result;
    switch (code()) {
    case 1: {
        const GroupRow row = entryrows::readGroup(m_grid);
        result = editing ? m_editor.editGroup(key, row) : m_editor.addGroup(row);
        break;
    }
    case 11: {
        const DisciplineRow row = entryrows::readDiscipline(m_grid);
        result = editing ? m_editor.editDiscipline(key, row) : m_editor.addDiscipline(row);
        break;
    }
    case 21: {
        const AuditoriumRow row = entryrows::readAuditorium(m_grid);
        result = editing ? m_editor.editAuditorium(key, row) : m_editor.addAuditorium(row);
        break;
    }
    case 31:
        result = m_targets->saveTutor(editing, key);
        break;
    default:
        break;
    }
    return result.saved;
}

void GridRouter::takeOverEntryArea(bool accept)
{
    if (m_busy)
        return;
    QScopedValueRollback<bool> busy(m_busy, true);
    // Read before the refill takes the entry row away.
    const QStringList cells = entryrows::listedCells(m_grid, code());
    if (accept && !saveEntryRow())
        return; // the row stays as typed, to be put right

    m_navigation.setEditExisting(false);
    m_currentKey = 0;
    m_navigation.selectItem(0);
    m_host.refresh();
    if (!accept)
        return;
    const int row = entryrows::findListRow(m_grid, cells);
    if (row >= 0) {
        m_grid.setCurrentCell(row, 1);
        m_host.revealCurrentCell();
    }
}

} // namespace korvesta

// The load's entry row.

namespace korvesta {

namespace {

// Column 0 of the entry row carries this mark, so that a refill, which leaves column 0
// empty, is seen to have taken the row away.
const QString kLoadEntryMark = QStringLiteral("*");
constexpr int kLoadHoursCol = 5;

int firstTypedCol(GridRouter::LoadEntryKind kind)
{
    using Kind = GridRouter::LoadEntryKind;
    switch (kind) {
    case Kind::Discipline:
        return 3;
    case Kind::Group:
        return 4;
    case Kind::Hours:
        return kLoadHoursCol;
    default:
        return 1;
    }
}

} // namespace

int GridRouter::loadRowOf(int row) const
{
    if (!m_grid.isDataCell(row, 1))
        return -1;
    while (row >= m_grid.fixedRows() && m_grid.isSubtotal(row))
        --row;
    if (row < m_grid.fixedRows() || (loadEntryOpen() && row == entryarea::Row))
        return -1;
    return row;
}

bool GridRouter::loadEntryOpen() const
{
    return m_loadEntry != LoadEntryKind::None && code() == 30
           && m_grid.text(entryarea::Row, 0) == kLoadEntryMark;
}

bool GridRouter::onLoadEntry(int row, int col) const
{
    return row == entryarea::Row && loadEntryOpen() && col >= firstTypedCol(m_loadEntry)
           && col <= kLoadHoursCol;
}

void GridRouter::prepareLoadEntry(LoadEntryKind kind, int sourceRow)
{
    QStringList cells;
    cells.resize(m_grid.cols());
    if (cells.isEmpty())
        return;
    cells[0] = kLoadEntryMark;
    // The cells the new line shares with the chosen row; for the hours, the hours too.
    const int copied = kind == LoadEntryKind::Hours ? kLoadHoursCol : 4;
    for (int col = 1; sourceRow >= 0 && col <= copied && col < cells.size(); ++col)
        cells[col] = m_grid.text(sourceRow, col);
    if (loadEntryOpen())
        m_grid.removeRow(entryarea::Row); // one entry row at a time
    m_grid.addRow(cells, entryarea::Row);
    m_loadEntry = kind;
    m_grid.setCurrentCell(entryarea::Row, firstTypedCol(kind));
    m_grid.setEditMode(EditMode::KeyboardMouse);
    m_host.revealCurrentCell();
}

// Enter on the entry row finishes it once it is complete (or in its hours), Escape takes it
// away.
bool GridRouter::loadEntryKey(int key)
{
    if (!loadEntryOpen() || m_busy || m_row != entryarea::Row)
        return false;
    if (key == Qt::Key_Escape) {
        m_grid.removeRow(entryarea::Row);
        m_loadEntry = LoadEntryKind::None;
        m_grid.setEditMode(EditMode::None);
        return true;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    // Enter before the hours, with a cell still to fill, goes on to that cell.
    const int missing = firstEmptyLoadCell();
    if (m_col != kLoadHoursCol && missing >= 0) {
        m_grid.setCurrentCell(entryarea::Row, missing);
        return true;
    }
    finishLoadEntry();
    return true;
}

// The first cell of the entry row that a line of the load needs and that is still empty;
// -1 when the line is complete.
int GridRouter::firstEmptyLoadCell() const
{
    for (const int col : {1, 3, 4, kLoadHoursCol}) {
        if (m_grid.text(entryarea::Row, col).trimmed().isEmpty())
            return col;
    }
    return -1;
}

void GridRouter::finishLoadEntry()
{
    if (!loadEntryOpen() || m_busy)
        return;
    QScopedValueRollback<bool> busy(m_busy, true);
    using entryarea::Row;
    bool changed = false;
    switch (m_loadEntry) {
    case LoadEntryKind::Tutor:
        changed = m_targets->addLoadTutor();
        break;
    case LoadEntryKind::Discipline:
        changed = m_targets->addLoadDiscipline(Row);
        break;
    case LoadEntryKind::Group:
        changed = m_targets->addLoadGroup(Row);
        break;
    case LoadEntryKind::Hours:
        changed = m_targets->editLoadHours(Row);
        break;
    case LoadEntryKind::None:
        break;
    }
    if (!changed)
        return; // the row stays as typed, to be put right
    const QString tutor = m_grid.text(Row, 1).trimmed();
    const QString discipline = m_grid.text(Row, 3).trimmed();
    const QString group = m_grid.text(Row, 4).trimmed();
    m_loadEntry = LoadEntryKind::None;
    m_host.refresh();
    // The line written, found again in the refilled load.
    for (int row = m_grid.fixedRows(); row < m_grid.rows(); ++row) {
        const auto same = [&](int col, const QString &text) {
            return m_grid.text(row, col).trimmed().startsWith(text, Qt::CaseInsensitive)
                   && (col == 4 || m_grid.text(row, col).trimmed().size() == text.size());
        };
        if (!m_grid.isSubtotal(row) && same(1, tutor) && same(3, discipline) && same(4, group)) {
            m_grid.setCurrentCell(row, kLoadHoursCol);
            m_host.revealCurrentCell();
            break;
        }
    }
}

} // namespace korvesta
