#include "documentschema.h"

namespace korvesta {

const QStringList &documentTables()
{
    static const QStringList tables = {
        QStringLiteral("tblGroups"),         QStringLiteral("tblDisciplines"),
        QStringLiteral("tblAuditories"),     QStringLiteral("tblTutors"),
        QStringLiteral("tblTypeFaculty"),    QStringLiteral("tblTypeTuition"),
        QStringLiteral("tblTypeFinance"),    QStringLiteral("tblDiscType"),
        QStringLiteral("tblTypeLesson"),     QStringLiteral("tblTutorTypeOut"),
        QStringLiteral("tblTimeLesson"),     QStringLiteral("tblJob"),
        QStringLiteral("tblJobList"),        QStringLiteral("tblTimeTableList"),
        QStringLiteral("tblTimeTableContent"), QStringLiteral("tblNotes"),
        QStringLiteral("tblAutoTable"),      QStringLiteral("tblTutorOut"),
        QString::fromLatin1(kSavedQueriesTable),
    };
    return tables;
}

} // namespace korvesta
