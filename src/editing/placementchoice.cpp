#include "placement.h"

#include "data/prompts.h"

#include <algorithm>
#include <iterator>

// What the job dialog's list does as the user checks lines, picks auditoriums and sorts: the
// choice alone, without the document.

namespace korvesta {

QStringList PlacementChoice::columns(const PlacementLine &l) const
{
    const QString left = QString::number(l.left());
    if (auditoriumChange && mode == PlacementMode::Group)
        return {l.discipline, l.discipline1, l.tutor, l.auditorium};
    if (auditoriumChange)
        return {l.group + QStringLiteral(" (") + l.course + QLatin1Char(')'), l.discipline,
                l.discipline1};
    if (mode == PlacementMode::Group)
        return {l.discipline, l.discipline1,
                l.tutor,      l.auditorium,
                left,         l.pairFree ? QStringLiteral("1") : QStringLiteral("0")};
    return {l.group + QStringLiteral(" (") + l.course + QLatin1Char(')'), l.discipline,
            l.discipline1, left};
}

const PlacementLine *PlacementChoice::line(int keyJobList) const
{
    for (const PlacementLine &l : lines) {
        if (l.keyJobList == keyJobList)
            return &l;
    }
    return nullptr;
}

std::vector<PlacementAuditorium> PlacementChoice::freeAuditoriums() const
{
    std::vector<PlacementAuditorium> result;
    std::copy_if(auditoriums.begin(), auditoriums.end(), std::back_inserter(result),
                 [](const PlacementAuditorium &a) { return a.free; });
    return result;
}

int PlacementChoice::slotOf(int keyJobList) const
{
    for (size_t i = 1; i < picks.size(); ++i) {
        if (picks[i].keyJobList == keyJobList)
            return int(i);
    }
    return 0;
}

int PlacementChoice::usedSlots() const
{
    return int(std::count_if(picks.begin(), picks.end(),
                             [](const PlacementSlot &s) { return s.keyJobList != 0; }));
}

bool PlacementChoice::check(int keyJobList, Prompts &prompts)
{
    const PlacementLine *chosen = line(keyJobList);
    if (!chosen)
        return false;
    if (slotOf(keyJobList) != 0)
        return true;
    for (size_t i = 1; i < picks.size(); ++i) {
        if (picks[i].keyJobList != 0)
            continue;
        picks[i] = {keyJobList, chosen->auditorium, chosen->keyAud};
        return true;
    }
    const int limit = int(picks.size()) - 1;
    prompts.message(
        mode == PlacementMode::Group
            ? QStringLiteral("Достигнут предел количества подгрупп - не более ")
                  + QString::number(limit)
            : QStringLiteral("Достигнут предел количества групп для одной лекции - не более ")
                  + QString::number(limit));
    return false;
}

std::vector<int> PlacementChoice::checkedSlots() const
{
    std::vector<int> used;
    for (size_t i = 1; i < picks.size(); ++i) {
        if (picks[i].keyJobList != 0)
            used.push_back(int(i));
    }
    return used;
}

std::vector<int> PlacementChoice::auditoriumSlots() const
{
    std::vector<int> used = checkedSlots();
    if (mode == PlacementMode::Tutor && used.size() > 1)
        used.erase(used.begin() + 1, used.end()); // one auditorium serves the lecture
    return used;
}

void PlacementChoice::uncheck(int keyJobList)
{
    if (const int slot = slotOf(keyJobList))
        picks[size_t(slot)] = PlacementSlot();
}

void PlacementChoice::chooseAuditorium(int slot, const PlacementAuditorium &auditorium)
{
    if (slot < 1 || slot >= int(picks.size()))
        return;
    picks[size_t(slot)].auditorium = auditorium.text;
    picks[size_t(slot)].keyAud = auditorium.key;
}

void PlacementChoice::typeAuditorium(int slot, const QString &typed)
{
    if (slot < 1 || slot >= int(picks.size()))
        return;
    PlacementSlot &s = picks[size_t(slot)];
    s.auditorium = typed;
    s.keyAud = 0;
    const QString wanted = typed.trimmed();
    for (const PlacementAuditorium &a : auditoriums) {
        if (a.text.compare(wanted, Qt::CaseInsensitive) == 0) {
            s.keyAud = a.key;
            break;
        }
    }
}

void PlacementChoice::click(int keyJobList)
{
    const PlacementLine *clicked = line(keyJobList);
    if (!clicked || !jobOverFlow)
        return;
    okEnabled = !(overFlowView && clicked->exhausted);
    if (mode == PlacementMode::Group) {
        pairEnabled = clicked->pairFree && freeLessons > 2;
        if (!pairEnabled)
            pairChecked = false;
    }
}

void PlacementChoice::sortByColumn(int column)
{
    if (column < 0 || column > 2)
        return;
    m_sortDescending = column == m_sortColumn ? !m_sortDescending : false;
    m_sortColumn = column;
    std::stable_sort(
        lines.begin(), lines.end(), [&](const PlacementLine &a, const PlacementLine &b) {
            const int order =
                QString::localeAwareCompare(columns(a).at(column), columns(b).at(column));
            return m_sortDescending ? order > 0 : order < 0;
        });
}

} // namespace korvesta
