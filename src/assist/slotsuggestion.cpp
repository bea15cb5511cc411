#include "slotsuggestion.h"

#include "data/database.h"
#include "settings/settingsrecord.h"

namespace korvesta {

SlotSuggestions rankSlots(const SlotMap &map, const AssistLine &line, const QDate &from,
                          const QDate &to, int top)
{
    SlotSuggestions result;
    result.tutor = line.tutor;
    result.hoursLeft = line.left();
    if (result.hoursLeft <= 0) {
        result.refusal = QStringLiteral("По строке нагрузки не осталось часов: %1 из %2 поставлены")
                             .arg(line.placed)
                             .arg(line.hours);
        return result;
    }
    result.best = map.ranked(top);
    if (result.best.empty())
        result.refusal = QStringLiteral("За период %1 - %2 нет урока, свободного у группы, "
                                        "преподавателя и хотя бы одной аудитории")
                             .arg(from.toString(QStringLiteral("dd.MM.yyyy")),
                                  to.toString(QStringLiteral("dd.MM.yyyy")));
    return result;
}

SlotSuggestions suggestSlots(const Database &db, const SettingsRecord &settings,
                             const SlotRequest &request)
{
    SlotSuggestions result;
    const std::optional<AssistLine> line =
        findLoadLine(db, request.group, request.discipline, request.tutor, &result.refusal);
    if (!line)
        return result;
    const SlotMap map(db, settings, *line, request.from, request.to);
    return rankSlots(map, *line, request.from, request.to, request.top);
}

} // namespace korvesta
