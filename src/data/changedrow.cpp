#include "changedrow.h"

#include "database.h"
#include "dberror.h"
#include "isodate.h"
#include "recordset.h"

namespace korvesta {

namespace {

QVariant field(const QVariantMap &row, const char *name)
{
    for (auto it = row.begin(); it != row.end(); ++it) {
        if (it.key().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return {};
}

QString text(const QVariantMap &row, const char *name)
{
    return field(row, name).toString();
}

// "П-9 (1)", the group's name and course, by its key.
QString groupName(const Database &db, const QVariant &key)
{
    const Recordset rs = db.openRecordset(
        QStringLiteral("SELECT [Group], Course FROM tblGroups WHERE Key = %1").arg(key.toLongLong()));
    return rs.isEmpty() ? QString()
                        : rs.value(0).toString() + QStringLiteral(" (") + rs.value(1).toString()
                              + QLatin1Char(')');
}

} // namespace

QString changedRowText(const Database &db, const QString &table, const QVariantMap &row)
{
    if (row.isEmpty())
        return QString();
    const auto is = [&](const char *name) {
        return table.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    try {
        if (is("tblTimeTableContent")) {
            const Recordset day = db.openRecordset(
                QStringLiteral("SELECT [Date] FROM tblTimeTableList WHERE Key = %1")
                    .arg(field(row, "Key_TTList").toLongLong()));
            const QString group = groupName(db, field(row, "Key_Group"));
            if (day.isEmpty() || group.isEmpty())
                return QString();
            return QStringLiteral("занятие группы %1 на %2, урок %3")
                .arg(group, dateOf(day.value(0)).toString(QStringLiteral("dd.MM.yyyy")),
                     text(row, "Lesson"));
        }
        if (is("tblGroups"))
            return QStringLiteral("группу %1 (курс %2)").arg(text(row, "Group"), text(row, "Course"));
        if (is("tblTutors"))
            return QStringLiteral("преподавателя %1").arg(text(row, "Tutor"));
        if (is("tblAuditories"))
            return QStringLiteral("аудиторию %1 (%2)")
                .arg(text(row, "Auditoria"), text(row, "Corpus"));
        if (is("tblDisciplines"))
            return QStringLiteral("дисциплину %1").arg(text(row, "Discipline"));
        if (is("tblJobList")) {
            const QString group = groupName(db, field(row, "Key_Group"));
            return group.isEmpty() ? QString()
                                   : QStringLiteral("строку нагрузки группы %1").arg(group);
        }
    } catch (const DbError &) {
        // The names are only words for the message: without them it names the table alone.
    }
    return QString();
}

} // namespace korvesta
