#include "lessonwords.h"

#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace korvesta {

namespace {

QString colourClass(const PublishModel &model, PublishedKind kind, const ObjectLesson &lesson)
{
    const Teaching &t = *lesson.teaching;
    if (kind == PublishedKind::Group) {
        const auto discipline = model.disciplines.constFind(t.discipline);
        return discipline != model.disciplines.constEnd() && discipline->colour.isValid()
                   ? u'd' + QString::number(t.discipline)
                   : QString();
    }
    if (t.groups.empty())
        return QString();
    const size_t group = size_t(t.groups.front().group);
    return model.groupColours[group].isValid()
               ? u'g' + QString::number(model.list(PublishedKind::Group)[group].key)
               : QString();
}

} // namespace

LessonWords lessonWords(const PublishModel &model, PublishedKind kind, const ObjectLesson &lesson)
{
    const Teaching &t = *lesson.teaching;
    LessonWords texts;
    texts.lesson = t.lesson;
    texts.time = model.timeOf(t.lesson).text;
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
    texts.groups = t.groupNames;
    if (kind == PublishedKind::Group && lesson.number > 0)
        texts.subgroup = QStringLiteral("подгруппа %1").arg(lesson.number);
    texts.colourClass = colourClass(model, kind, lesson);
    return texts;
}

std::vector<LessonWords> objectWords(const PublishModel &model, PublishedKind kind, size_t object)
{
    const std::vector<ObjectLesson> &lessons = model.lessonsOf(kind, object);
    std::vector<LessonWords> words;
    words.reserve(lessons.size());
    for (const ObjectLesson &l : lessons)
        words.push_back(lessonWords(model, kind, l));
    return words;
}

bool sameLesson(const LessonWords &a, const LessonWords &b)
{
    return a.discipline == b.discipline && a.type == b.type && a.subgroup == b.subgroup
           && a.auditorium == b.auditorium && a.tutor == b.tutor && a.groups == b.groups
           && a.colourClass == b.colourClass;
}

std::vector<LessonRun> lessonRuns(const PublishModel &model, std::span<const LessonWords> day)
{
    // Lesson `number` and the next go on one after the other: no long break between them
    // when both times are known.
    const auto together = [&model](int number) {
        const LessonClock &first = model.timeOf(number), &next = model.timeOf(number + 1);
        return !first.end.isValid() || !next.known() || first.end.secsTo(next.start) <= 20 * 60;
    };
    std::vector<LessonRun> runs;
    std::vector<bool> taken(day.size());
    for (size_t i = 0; i < day.size(); ++i) {
        if (taken[i])
            continue;
        size_t last = i;
        // Other lessons at the same numbers (the subgroups) stand between those of a run.
        for (size_t j = i + 1; j < day.size() && day[j].lesson <= day[last].lesson + 1; ++j) {
            if (!taken[j] && day[j].lesson == day[last].lesson + 1
                && sameLesson(day[j], day[last]) && together(day[last].lesson)) {
                taken[j] = true;
                last = j;
            }
        }
        runs.push_back({i, day[last].lesson});
    }
    return runs;
}

FeedEvent feedEvent(const PublishModel &model, PublishedKind kind, size_t objectIndex,
                    const ObjectLesson &lesson, const LessonWords &texts, int last,
                    const QString &feed)
{
    const Teaching &t = *lesson.teaching;
    const PublishedObject &object = model.list(kind)[objectIndex];
    FeedEvent e;
    static const char letters[kObjectKinds] = {'g', 't', 'a'};
    last = std::max(last, t.lesson);
    // "20261028-03-g7-s0@feed": the date, the lesson number and the object.
    const auto uid = [&](int number) {
        char slot[64];
        int length = std::snprintf(slot, sizeof slot, "%04d%02d%02d-%02d-%c%d", t.date.year(),
                                   t.date.month(), t.date.day(), number, letters[int(kind)],
                                   object.key);
        if (kind == PublishedKind::Group)
            length += std::snprintf(slot + length, sizeof slot - size_t(length), "-s%d",
                                    lesson.subgroup);
        if (lesson.clash > 0)
            length += std::snprintf(slot + length, sizeof slot - size_t(length), "-%d",
                                    lesson.clash + 1);
        QString text;
        text.reserve(length + 1 + feed.size());
        text += QLatin1StringView(slot, length);
        text += u'@';
        text += feed;
        return text;
    };
    e.uid = uid(t.lesson);
    for (int number = t.lesson + 1; number <= last; ++number)
        e.joined << uid(number);
    e.date = t.date;
    const LessonClock &time = model.timeOf(t.lesson);
    e.start = time.start;
    e.end = time.end;
    const LessonClock &lastTime = model.timeOf(last);
    if (time.known() && lastTime.end.isValid())
        e.end = lastTime.end;
    // "Урок 3", "Уроки 3–4".
    QString numbers = (last > t.lesson ? QStringLiteral("Уроки ") : QStringLiteral("Урок "))
                      + QString::number(t.lesson);
    if (last > t.lesson)
        numbers += u'–' + QString::number(last);

    // The summary's parts, the empty ones left out: "ОПБД (Лек), 302, Козлов Н.Ф.".
    QString &summary = e.summary;
    summary.reserve(96);
    if (!time.known())
        summary += numbers + QStringLiteral(": ");
    const qsizetype summaryStart = summary.size();
    const auto part = [&summary, summaryStart](const QString &text) {
        if (text.isEmpty())
            return;
        if (summary.size() > summaryStart)
            summary += QStringLiteral(", ");
        summary += text;
    };
    part(texts.shortName);
    if (!texts.shortType.isEmpty()) {
        if (summary.size() > summaryStart)
            summary += u' ';
        summary += u'(';
        summary += texts.shortType;
        summary += u')';
    }
    switch (kind) {
    case PublishedKind::Group:
        part(texts.room);
        part(texts.tutor);
        part(texts.subgroup);
        break;
    case PublishedKind::Tutor:
        part(texts.groups);
        part(texts.room);
        break;
    case PublishedKind::Auditorium:
        part(texts.tutor);
        part(texts.groups);
        break;
    }
    e.location = texts.auditorium;

    // What the summary and the location leave out: the lesson number, the full names, and on
    // a group's calendar the other groups of a lecture.
    QString &d = e.description;
    d.reserve(120);
    d += numbers;
    if (!time.known())
        d += QStringLiteral(" (время урока не задано)");
    d += QStringLiteral(". ");
    d += texts.discipline;
    if (!texts.type.isEmpty()) {
        d += QStringLiteral(" (");
        d += texts.type;
        d += u')';
    }
    if (kind == PublishedKind::Group && t.groups.size() > 1) {
        d += QStringLiteral("\nГруппы: ");
        d += texts.groups;
    }
    // The auditorium is the event's location, not told again here.
    return e;
}

} // namespace korvesta
