#include "timetablelessons.h"

#include "auditoriumlabels.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/documenttemplate.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "grid/gridcolors.h"
#include "views/lists/celltext.h"
#include "views/viewcontext.h"

#include <QHash>

#include <algorithm>
#include <tuple>

namespace korvesta {

namespace {

QColor colorOf(const QVariant &value)
{
    bool ok = false;
    const qint64 bgr = value.toLongLong(&ok);
    return value.isNull() || !ok ? QColor() : colorFromBgr(static_cast<quint32>(bgr));
}

QString keyList(const std::vector<int> &keys)
{
    QStringList list;
    list.reserve(qsizetype(keys.size()));
    for (const int key : keys)
        list << QString::number(key);
    return list.join(u',');
}

struct Group
{
    int rank = 0; // in the order of the views' queries
    QString name, course, faculty;
    QColor color;
};

struct Job
{
    int tutor = 0;
    int discipline = 0;
};

struct Discipline
{
    QString name, name1;
    QColor color;
};

struct LessonType
{
    QString shortType, longType;
};

// The small lists every lesson refers to, read once.
struct Names
{
    QHash<int, Group> groups;
    QHash<int, std::pair<int, QString>> tutors; // rank, name
    QHash<int, Job> jobs;
    QHash<int, Discipline> disciplines;
    QHash<int, QString> auditoriums; // as the cells label them
    QHash<int, LessonType> types;

    Names(const Database &db, const AuditoriumLabels *labels)
    {
        int rank = 0;
        for (Recordset rs = db.openRecordset(QStringLiteral(
                 "SELECT tblGroups.Key, tblGroups.Group, tblGroups.Course, "
                 "Nz(tblTypeFaculty.TypeFaculty,'отсутствует') AS TypeFaculty, "
                 "tblGroups.GroupColor FROM tblGroups LEFT JOIN tblTypeFaculty ON "
                 "tblGroups.Key_TypeFaculty = tblTypeFaculty.Key ORDER BY tblGroups.Course, "
                 "Len(tblGroups.Group), tblGroups.Group, "
                 "Nz(tblTypeFaculty.TypeFaculty,'отсутствует'), tblGroups.Key;"));
             !rs.isEof(); rs.moveNext()) {
            groups.insert(rs.value(0).toInt(), {rank++, rs.value(1).toString(),
                                                rs.value(2).toString(), rs.value(3).toString(),
                                                colorOf(rs.value(4))});
        }
        rank = 0;
        for (Recordset rs = db.openRecordset(QStringLiteral(
                 "SELECT tblTutors.Key, tblTutors.Tutor FROM tblTutors "
                 "ORDER BY tblTutors.Tutor, tblTutors.Key;"));
             !rs.isEof(); rs.moveNext())
            tutors.insert(rs.value(0).toInt(), {rank++, rs.value(1).toString()});
        for (Recordset rs = db.openRecordset(QStringLiteral(
                 "SELECT tblJob.Key, tblJob.Key_Tutor, tblJob.Key_Discipline FROM tblJob;"));
             !rs.isEof(); rs.moveNext())
            jobs.insert(rs.value(0).toInt(), {rs.value(1).toInt(), rs.value(2).toInt()});
        for (Recordset rs = db.openRecordset(QStringLiteral(
                 "SELECT tblDisciplines.Key, tblDisciplines.Discipline, "
                 "tblDisciplines.Discipline1, tblDisciplines.DiscColor FROM tblDisciplines;"));
             !rs.isEof(); rs.moveNext()) {
            disciplines.insert(rs.value(0).toInt(), {rs.value(1).toString(),
                                                     rs.value(2).toString(),
                                                     colorOf(rs.value(3))});
        }
        for (Recordset rs = db.openRecordset(QStringLiteral(
                 "SELECT tblAuditories.Key, tblAuditories.Auditoria, tblAuditories.Corpus "
                 "FROM tblAuditories;"));
             !rs.isEof(); rs.moveNext()) {
            const QString number = rs.value(1).toString();
            auditoriums.insert(rs.value(0).toInt(),
                               labels ? labels->label(number, rs.value(2).toString()) : number);
        }
        for (Recordset rs = db.openRecordset(QStringLiteral(
                 "SELECT tblTypeLesson.Key, tblTypeLesson.ShortTypeLesson, "
                 "tblTypeLesson.LongTypeLesson FROM tblTypeLesson;"));
             !rs.isEof(); rs.moveNext())
            types.insert(rs.value(0).toInt(), {rs.value(1).toString(), rs.value(2).toString()});
    }
};

int field(const Recordset &rs, const char *name)
{
    return requiredField(rs, QString::fromLatin1(name));
}

// The lessons as the saved query gives them, date by date. Throws DbError (ItemNotFound for
// a query without one of the fields read).
std::vector<DatedLesson> readBySavedQuery(const Database &db, const LessonSelection &selection,
                                          const QString &query, const AuditoriumLabels *labels)
{
    std::vector<DatedLesson> lessons;
    for (QDate date = selection.first; date <= selection.last; date = date.addDays(1)) {
        QueryDef def = db.queryDef(query);
        def.setParameter(QStringLiteral("pDate"), date);
        Recordset rs = def.openRecordset();
        const int group = field(rs, "Group"), course = field(rs, "Course");
        const int faculty = field(rs, "TypeFaculty"), tutor = field(rs, "Tutor");
        const int discipline = field(rs, "Discipline"), discipline1 = field(rs, "Discipline1");
        const int aud = field(rs, "Aud"), shortType = field(rs, "ShortTypeLesson");
        const int longType = field(rs, "LongTypeLesson"), lesson = field(rs, "Lesson");
        const int subGroup = field(rs, "SubGroup"), discColor = field(rs, "DiscColor");
        const int groupColor = field(rs, "GroupColor");
        const int corpus = rs.fieldIndex(QStringLiteral("Corpus"));
        const int keyGroup = rs.fieldIndex(QStringLiteral("Key_Group"));
        const int keyTutor = rs.fieldIndex(QStringLiteral("Key_Tutor"));
        for (; !rs.isEof(); rs.moveNext()) {
            DatedLesson d;
            d.date = date;
            d.keyGroup = keyGroup < 0 ? 0 : rs.value(keyGroup).toInt();
            d.keyTutor = keyTutor < 0 ? 0 : rs.value(keyTutor).toInt();
            PlacedLesson &l = d.lesson;
            l.texts.group = rs.value(group).toString();
            l.texts.tutor = rs.value(tutor).toString();
            l.texts.discipline = rs.value(discipline).toString();
            l.texts.discipline1 = rs.value(discipline1).toString();
            l.texts.auditoria = rs.value(aud).toString();
            if (labels && corpus >= 0)
                l.texts.auditoria = labels->label(l.texts.auditoria, rs.value(corpus).toString());
            l.texts.shortType = rs.value(shortType).toString();
            l.texts.longType = rs.value(longType).toString();
            l.course = rs.value(course).toString();
            l.faculty = rs.value(faculty).toString();
            l.lesson = rs.value(lesson).toString().toInt();
            l.subGroup = rs.value(subGroup).toString().toInt();
            l.discColor = colorOf(rs.value(discColor));
            l.groupColor = colorOf(rs.value(groupColor));
            if (!selection.groups.empty()
                && std::find(selection.groups.begin(), selection.groups.end(), d.keyGroup)
                       == selection.groups.end())
                continue;
            if (!selection.tutors.empty()
                && std::find(selection.tutors.begin(), selection.tutors.end(), d.keyTutor)
                       == selection.tutors.end())
                continue;
            if (!selection.lessons.empty()
                && std::find(selection.lessons.begin(), selection.lessons.end(), l.lesson)
                       == selection.lessons.end())
                continue;
            lessons.push_back(std::move(d));
        }
    }
    return lessons;
}

} // namespace

std::vector<DatedLesson> readTimetableLessons(const Database &db, const LessonSelection &selection,
                                              LessonOrder order, const AuditoriumLabels *labels)
{
    if (!selection.first.isValid() || !selection.last.isValid())
        return {};
    const QString query = order == LessonOrder::ByGroup ? QStringLiteral("qryTimeTable")
                                                        : QStringLiteral("qryTimeTableWork");
    if (!isTemplateQuery(db, query))
        return readBySavedQuery(db, selection, query, labels);
    const Names names(db, labels);
    QString sql = QStringLiteral(
                      "SELECT tblTimeTableList.Date, tblTimeTableContent.Key, "
                      "tblTimeTableContent.Lesson, tblTimeTableContent.SubGroup, "
                      "tblTimeTableContent.Key_Group, tblTimeTableContent.Key_Job, "
                      "tblTimeTableContent.Key_Aud, tblTimeTableContent.Key_TypeLesson FROM "
                      "tblTimeTableList INNER JOIN tblTimeTableContent ON tblTimeTableList.Key = "
                      "tblTimeTableContent.Key_TTList WHERE tblTimeTableList.Date Between %1 "
                      "And %2")
                      .arg(sqlDateLiteral(selection.first), sqlDateLiteral(selection.last));
    if (!selection.groups.empty())
        sql += QStringLiteral(" AND tblTimeTableContent.Key_Group In (%1)")
                   .arg(keyList(selection.groups));
    if (!selection.lessons.empty())
        sql += QStringLiteral(" AND tblTimeTableContent.Lesson In (%1)")
                   .arg(keyList(selection.lessons));
    Recordset rs = db.openRecordset(sql + u';');

    // The rows as the saved queries join them: without its group, job, tutor or discipline
    // a lesson is left out; without its auditorium or kind it shows none.
    struct Row
    {
        std::tuple<qint64, int, int, int, int, int, qint64> order;
        DatedLesson lesson;
    };
    std::vector<Row> rows;
    rows.reserve(size_t(rs.recordCount()));
    for (; !rs.isEof(); rs.moveNext()) {
        const int keyGroup = rs.value(4).toInt();
        const auto group = names.groups.constFind(keyGroup);
        const auto job = names.jobs.constFind(rs.value(5).toInt());
        if (group == names.groups.cend() || job == names.jobs.cend())
            continue;
        const auto tutor = names.tutors.constFind(job->tutor);
        const auto discipline = names.disciplines.constFind(job->discipline);
        if (tutor == names.tutors.cend() || discipline == names.disciplines.cend())
            continue;
        if (!selection.tutors.empty()
            && std::find(selection.tutors.begin(), selection.tutors.end(), job->tutor)
                   == selection.tutors.end())
            continue;
        Row row;
        DatedLesson &d = row.lesson;
        d.date = rs.value(0).toDate();
        d.keyGroup = keyGroup;
        d.keyTutor = job->tutor;
        PlacedLesson &l = d.lesson;
        l.texts.group = group->name;
        l.texts.tutor = tutor->second;
        l.texts.discipline = discipline->name;
        l.texts.discipline1 = discipline->name1;
        l.texts.auditoria = names.auditoriums.value(rs.value(6).toInt());
        const LessonType type = names.types.value(rs.value(7).toInt());
        l.texts.shortType = type.shortType;
        l.texts.longType = type.longType;
        l.course = group->course;
        l.faculty = group->faculty;
        l.lesson = rs.value(2).toInt();
        l.subGroup = rs.value(3).toInt();
        l.discColor = discipline->color;
        l.groupColor = group->color;
        const qint64 key = rs.value(1).toLongLong();
        const qint64 day = d.date.toJulianDay();
        row.order = order == LessonOrder::ByGroup
                        ? std::tuple(day, group->rank, l.lesson, l.subGroup, 0, 0, key)
                        : std::tuple(day, tutor->first, l.lesson, group->rank, l.subGroup, 0, key);
        rows.push_back(std::move(row));
    }
    std::sort(rows.begin(), rows.end(),
              [](const Row &a, const Row &b) { return a.order < b.order; });
    std::vector<DatedLesson> lessons;
    lessons.reserve(rows.size());
    for (Row &row : rows)
        lessons.push_back(std::move(row.lesson));
    return lessons;
}

std::optional<std::vector<DatedLesson>> readTimetableLessons(ViewContext &ctx,
                                                             const LessonSelection &selection,
                                                             LessonOrder order,
                                                             const AuditoriumLabels *labels)
{
    const std::optional<Database> db = ctx.session.access();
    if (!db)
        return std::nullopt;
    try {
        return readTimetableLessons(*db, selection, order, labels);
    } catch (const DbError &error) {
        // A saved query without a field read here is of another layout, like one without a
        // parameter: the user is told so rather than shown an empty grid.
        ctx.session.handleError(error.code() == dberr::ItemNotFound
                                    ? DbError(dberr::TooFewParameters, error.message())
                                    : error);
        return std::nullopt;
    }
}

} // namespace korvesta
