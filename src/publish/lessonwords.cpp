#include "lessonwords.h"

#include <QStringList>

#include <algorithm>

namespace korvesta {

namespace {

QString clockText(const QTime &t)
{
    return t.toString(QStringLiteral("H:mm"));
}

// Whether the group meets in subgroups at that hour: another lesson of it at the same time,
// or a subgroup number past the first.
bool splitAt(const PublishModel &model, int group, const Teaching &t, int subgroup)
{
    return subgroup > 0 || model.groupsAt(group, t) > 1;
}

QString subgroupText(const PublishModel &model, int group, const Teaching &t, int subgroup)
{
    return QStringLiteral("подгруппа %1").arg(model.subgroupNumber(group, t, subgroup));
}

} // namespace

LessonWords lessonWords(const PublishModel &model, PublishedKind kind, size_t object,
                        const ObjectLesson &lesson)
{
    const Teaching &t = *lesson.teaching;
    LessonWords texts;
    texts.lesson = t.lesson;
    const LessonClock time = model.timeOf(t.lesson);
    if (time.known())
        texts.time = time.end.isValid() ? clockText(time.start) + u'–' + clockText(time.end)
                                        : clockText(time.start);
    const DisciplineInfo discipline = model.disciplines.value(t.discipline);
    texts.shortName = discipline.name;
    texts.discipline = discipline.fullName.isEmpty() ? discipline.name : discipline.fullName;
    const auto type = model.lessonTypes.value(t.type);
    texts.shortType = type.first;
    texts.type = type.second.isEmpty() ? type.first : type.second;
    if (t.auditorium >= 0) {
        const PublishedObject &room = model.list(PublishedKind::Auditorium)[size_t(t.auditorium)];
        texts.auditorium = room.title;
        texts.room = room.name;
    }
    if (t.tutor >= 0)
        texts.tutor = model.list(PublishedKind::Tutor)[size_t(t.tutor)].name;
    QStringList groups;
    for (const Teaching::Attendance &a : t.groups) {
        QString g = model.list(PublishedKind::Group)[size_t(a.group)].label;
        if (splitAt(model, a.group, t, a.subgroup))
            g += QStringLiteral(" (") + subgroupText(model, a.group, t, a.subgroup) + u')';
        if (!groups.contains(g))
            groups << g;
    }
    texts.groups = groups.join(QStringLiteral(", "));
    if (kind == PublishedKind::Group) {
        if (splitAt(model, int(object), t, lesson.subgroup))
            texts.subgroup = subgroupText(model, int(object), t, lesson.subgroup);
        texts.colour = discipline.colour;
    } else if (!t.groups.empty()) {
        texts.colour = model.groupColours[size_t(t.groups.front().group)];
    }
    return texts;
}

FeedEvent feedEvent(const PublishModel &model, PublishedKind kind, size_t objectIndex,
                    const ObjectLesson &lesson, const QString &feed)
{
    const Teaching &t = *lesson.teaching;
    const PublishedObject &object = model.list(kind)[objectIndex];
    const LessonWords texts = lessonWords(model, kind, objectIndex, lesson);
    FeedEvent e;
    static const char letters[kObjectKinds] = {'g', 't', 'a'};
    e.uid = t.date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("-%1-%2%3")
                                                              .arg(t.lesson, 2, 10, QLatin1Char('0'))
                                                              .arg(QLatin1Char(letters[int(kind)]))
                                                              .arg(object.key);
    if (kind == PublishedKind::Group)
        e.uid += QStringLiteral("-s%1").arg(lesson.subgroup);
    if (lesson.clash > 0)
        e.uid += QStringLiteral("-%1").arg(lesson.clash + 1);
    e.uid += u'@' + feed;
    e.date = t.date;
    const LessonClock time = model.timeOf(t.lesson);
    e.start = time.start;
    e.end = time.end;

    QStringList summary;
    summary << (texts.shortType.isEmpty()
                    ? texts.shortName
                    : texts.shortName + QStringLiteral(" (") + texts.shortType + u')');
    switch (kind) {
    case PublishedKind::Group:
        summary << texts.room << texts.tutor
                << texts.subgroup;
        break;
    case PublishedKind::Tutor:
        summary << texts.groups << texts.room;
        break;
    case PublishedKind::Auditorium:
        summary << texts.tutor << texts.groups;
        break;
    }
    summary.removeAll(QString());
    e.summary = summary.join(QStringLiteral(", "));
    if (!time.known())
        e.summary = QStringLiteral("Урок %1: ").arg(t.lesson) + e.summary;
    e.location = texts.auditorium;

    QStringList lines;
    lines << (time.known() ? QStringLiteral("Урок %1, %2").arg(t.lesson).arg(texts.time)
                           : QStringLiteral("Урок %1 (время урока не задано)").arg(t.lesson));
    lines << QStringLiteral("Дисциплина: ") + texts.discipline;
    if (!texts.type.isEmpty())
        lines << QStringLiteral("Вид занятия: ") + texts.type;
    if (!texts.tutor.isEmpty())
        lines << QStringLiteral("Преподаватель: ") + texts.tutor;
    if (!texts.groups.isEmpty())
        lines << (t.groups.size() > 1 ? QStringLiteral("Группы: ") : QStringLiteral("Группа: "))
                     + texts.groups;
    if (!texts.auditorium.isEmpty())
        lines << QStringLiteral("Аудитория: ") + texts.auditorium;
    e.description = lines.join(u'\n');
    return e;
}

} // namespace korvesta
