#include "plannerslist.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/pgconnection.h"
#include "data/prompts.h"
#include "mainwindow.h"
#include "views/viewtable.h"

namespace korvesta {

QString plannersText(const std::vector<PlannerAtWork> &planners)
{
    QStringList lines;
    for (const PlannerAtWork &p : planners) {
        QString line = p.user + (p.self ? QStringLiteral(" (вы)") : QString());
        QStringList doing;
        if (ViewTable::find(p.viewCode))
            doing << ViewTable::singleLineCaption(p.viewCode);
        if (p.date.isValid())
            doing << p.date.toString(QStringLiteral("dd.MM.yyyy"));
        if (!doing.isEmpty())
            line += QStringLiteral(" - ") + doing.join(QStringLiteral(", "));
        if (p.since.isValid())
            line += QStringLiteral(", с ")
                    + p.since.toLocalTime().toString(p.since.date() == QDate::currentDate()
                                                         ? QStringLiteral("HH:mm")
                                                         : QStringLiteral("dd.MM.yyyy HH:mm"));
        lines << line;
    }
    return lines.join(u'\n');
}

void showPlannersAtWork(frmMain &window)
{
    const QString path = window.session().currentPath();
    if (!PgConnection::isServerUri(path)) {
        window.prompts().message(QStringLiteral("Документ открыт из файла: кто работает с "
                                                "документом одновременно, видно у документа "
                                                "на сервере"),
                                 Prompts::Icon::Information);
        return;
    }
    try {
        const std::vector<PlannerAtWork> planners = plannersAtWork(Database::open(path));
        window.prompts().message(QStringLiteral("С документом работают:\n")
                                     + plannersText(planners),
                                 Prompts::Icon::Information);
    } catch (const DbError &error) {
        window.prompts().message(error.message(), Prompts::Icon::Warning);
    }
}

} // namespace korvesta
