#include "trialreport.h"

#include "data/trialrun.h"

namespace korvesta {

void reportTrial(TrialRun &trial, RecordFormat format, QTextStream &out, QTextStream &err)
{
    Records records;
    records.fields = {QStringLiteral("table"), QStringLiteral("added"),
                      QStringLiteral("changed"), QStringLiteral("removed")};
    records.headers = {QStringLiteral("Таблица"), QStringLiteral("Добавлено"),
                       QStringLiteral("Изменено"), QStringLiteral("Удалено")};
    for (const History::TableChanges &c : trial.changes())
        records.rows.push_back({c.table, c.added, c.changed, c.removed});
    records.write(format, out);
    out.flush();
    err << QStringLiteral("Пробный запуск: документ не изменён") << Qt::endl;
}

} // namespace korvesta
