#include "placedcell.h"

#include "data/database.h"
#include "data/recordset.h"
#include "views/timetable/auditoriumlabels.h"
#include "views/timetable/cellcomposer.h"

#include <QStringList>

namespace korvesta {

namespace {

QString textOf(const Recordset &rs, const QString &field)
{
    return rs.value(field).toString();
}

} // namespace

PlacedCell composeCell(const Database &db, PlacementMode mode, int key, int keyDay, int lesson,
                       int code)
{
    const QString condition = mode == PlacementMode::Group
                                  ? QStringLiteral("tblTimeTableContent.Key_Group = %1").arg(key)
                                  : QStringLiteral("tblJob.Key_Tutor = %1").arg(key);
    Recordset row = db.openRecordset(
        QStringLiteral(
            "SELECT tblGroups.Group, tblGroups.GroupColor, tblTimeTableContent.SubGroup, "
            "tblTypeLesson.ShortTypeLesson, tblTypeLesson.LongTypeLesson, "
            "tblAuditories.Auditoria, tblAuditories.Corpus, tblTutors.Tutor, "
            "tblDisciplines.Discipline, tblDisciplines.Discipline1, tblDisciplines.DiscColor "
            "FROM (((((tblTimeTableContent INNER JOIN tblJob ON tblTimeTableContent.Key_Job = "
            "tblJob.Key) INNER JOIN tblGroups ON tblTimeTableContent.Key_Group = tblGroups.Key) "
            "INNER JOIN tblTutors ON tblJob.Key_Tutor = tblTutors.Key) INNER JOIN "
            "tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key) LEFT JOIN "
            "tblAuditories ON tblTimeTableContent.Key_Aud = tblAuditories.Key) LEFT JOIN "
            "tblTypeLesson ON tblTimeTableContent.Key_TypeLesson = tblTypeLesson.Key "
            "WHERE %1 AND tblTimeTableContent.Key_TTList = %2 AND "
            "tblTimeTableContent.Lesson = %3 "
            "ORDER BY tblTimeTableContent.SubGroup, tblTimeTableContent.Key;")
            .arg(condition)
            .arg(keyDay)
            .arg(lesson));
    PlacedCell cell;
    cell.lesson = lesson;
    const AuditoriumLabels labels(db);
    QStringList parts;
    for (; !row.isEof(); row.moveNext()) {
        LessonTexts texts;
        texts.group = textOf(row, QStringLiteral("Group"));
        texts.tutor = textOf(row, QStringLiteral("Tutor"));
        texts.discipline = textOf(row, QStringLiteral("Discipline"));
        texts.discipline1 = textOf(row, QStringLiteral("Discipline1"));
        texts.auditoria = labels.label(textOf(row, QStringLiteral("Auditoria")),
                                       textOf(row, QStringLiteral("Corpus")));
        texts.shortType = textOf(row, QStringLiteral("ShortTypeLesson"));
        texts.longType = textOf(row, QStringLiteral("LongTypeLesson"));
        parts << composeCellText(texts, code);
        if (parts.size() == 1) {
            const QVariant colour = row.value(QStringLiteral("DiscColor"));
            if (!colour.isNull() && colour.isValid()) {
                const quint32 v = quint32(colour.toLongLong());
                cell.color = QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
            }
        }
    }
    cell.text = parts.join(QStringLiteral("\r\n"));
    return cell;
}

} // namespace korvesta
