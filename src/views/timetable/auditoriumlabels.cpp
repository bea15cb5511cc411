#include "auditoriumlabels.h"

#include "data/database.h"
#include "data/recordset.h"

#include <QHash>

namespace korvesta {

AuditoriumLabels::AuditoriumLabels(const Database &db)
{
    QHash<QString, QString> buildingOf; // number -> the first building seen
    Recordset rs = db.openRecordset(
        QStringLiteral("SELECT tblAuditories.Auditoria, tblAuditories.Corpus FROM tblAuditories;"));
    for (; !rs.isEof(); rs.moveNext()) {
        const QString number = rs.value(0).toString().trimmed().toCaseFolded();
        const QString building = rs.value(1).toString().trimmed().toCaseFolded();
        const auto seen = buildingOf.constFind(number);
        if (seen == buildingOf.constEnd())
            buildingOf.insert(number, building);
        else if (*seen != building)
            m_shared.insert(number);
    }
}

QString AuditoriumLabels::label(const QString &auditoria, const QString &corpus) const
{
    if (auditoria.isEmpty() || corpus.trimmed().isEmpty()
        || !m_shared.contains(auditoria.trimmed().toCaseFolded()))
        return auditoria;
    return auditoria + QStringLiteral(" (") + corpus.trimmed() + u')';
}

} // namespace korvesta
