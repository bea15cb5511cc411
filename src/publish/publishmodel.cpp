#include "publishmodel.h"

#include "safefilenames.h"

#include "data/database.h"
#include "data/subgroupnumber.h"
#include "data/isodate.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "grid/gridcolors.h"

#include <QCollator>
#include <QRegularExpression>

#include <algorithm>
#include <set>
#include <tuple>

namespace korvesta {

namespace {

// A colour of the document; black, system colours and Null count as not set (a lesson is
// never meant to be drawn black).
QColor colourOf(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QColor();
    bool ok = false;
    const qint64 bgr = value.toLongLong(&ok);
    if (!ok || bgr <= 0 || bgr > 0xFFFFFF)
        return QColor();
    return colorFromBgr(quint32(bgr));
}

class ModelReader
{
public:
    ModelReader(const Database &db, PublishModel &model)
        : m_db(db)
        , m_model(model)
    {}

    void run();

private:
    void readObjects();
    void readReferences();
    void readLessons();
    void nameObjects();
    void sortObjects();
    void spreadLessons();
    void nameAttendances();

    std::vector<PublishedObject> &list(PublishedKind kind) { return m_model.objects[size_t(kind)]; }

    const Database &m_db;
    PublishModel &m_model;
    std::array<QHash<int, int>, kObjectKinds> m_index; // key -> position
    QHash<int, std::pair<int, int>> m_jobs;             // key -> tutor key, discipline key
    std::vector<QColor> m_groupColours;                 // in reading order
};

void ModelReader::readObjects()
{
    QHash<int, QString> faculties;
    for (Recordset rs = m_db.openRecordset(QStringLiteral(
             "SELECT tblTypeFaculty.Key, tblTypeFaculty.TypeFaculty FROM tblTypeFaculty;"));
         !rs.isEof(); rs.moveNext())
        faculties.insert(rs.value(0).toInt(), rs.value(1).toString());
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblGroups.Key, tblGroups.[Group], tblGroups.Course, "
                            "tblGroups.Key_TypeFaculty, tblGroups.GroupColor FROM tblGroups;"));
         !rs.isEof(); rs.moveNext()) {
        PublishedObject g;
        g.kind = PublishedKind::Group;
        g.key = rs.value(0).toInt();
        g.name = rs.value(1).toString().trimmed();
        g.course = rs.value(2).toString().trimmed();
        g.faculty = faculties.value(rs.value(3).toInt());
        if (g.faculty == u"отсутствует")
            g.faculty.clear();
        list(PublishedKind::Group).push_back(g);
        m_groupColours.push_back(colourOf(rs.value(4)));
    }
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblTutors.Key, tblTutors.Tutor FROM tblTutors;"));
         !rs.isEof(); rs.moveNext()) {
        PublishedObject t;
        t.kind = PublishedKind::Tutor;
        t.key = rs.value(0).toInt();
        t.name = rs.value(1).toString().trimmed();
        list(PublishedKind::Tutor).push_back(t);
    }
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblAuditories.Key, tblAuditories.Auditoria, "
                            "tblAuditories.Corpus FROM tblAuditories;"));
         !rs.isEof(); rs.moveNext()) {
        PublishedObject a;
        a.kind = PublishedKind::Auditorium;
        a.key = rs.value(0).toInt();
        a.name = rs.value(1).toString().trimmed();
        a.corpus = rs.value(2).toString().trimmed();
        list(PublishedKind::Auditorium).push_back(a);
    }
}

void ModelReader::readReferences()
{
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblDisciplines.Key, tblDisciplines.Discipline, "
                            "tblDisciplines.Discipline1, tblDisciplines.DiscColor "
                            "FROM tblDisciplines;"));
         !rs.isEof(); rs.moveNext())
        m_model.disciplines.insert(rs.value(0).toInt(),
                                   {rs.value(1).toString().trimmed(),
                                    rs.value(2).toString().trimmed(), colourOf(rs.value(3))});
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblTypeLesson.Key, tblTypeLesson.ShortTypeLesson, "
                            "tblTypeLesson.LongTypeLesson FROM tblTypeLesson;"));
         !rs.isEof(); rs.moveNext())
        m_model.lessonTypes.insert(rs.value(0).toInt(),
                                   {rs.value(1).toString().trimmed(),
                                    rs.value(2).toString().trimmed()});
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblJob.Key, tblJob.Key_Tutor, tblJob.Key_Discipline "
                            "FROM tblJob;"));
         !rs.isEof(); rs.moveNext())
        m_jobs.insert(rs.value(0).toInt(), {rs.value(1).toInt(), rs.value(2).toInt()});
    // A lesson number may have several rows; the first with a readable time counts.
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblTimeLesson.Lesson, tblTimeLesson.TimeLesson "
                            "FROM tblTimeLesson;"));
         !rs.isEof(); rs.moveNext()) {
        const int lesson = rs.value(0).toInt();
        const LessonClock time = parseLessonClock(rs.value(1).toString());
        if (time.known() && !m_model.timeOf(lesson).known())
            m_model.times[lesson] = time;
    }
}

void ModelReader::readLessons()
{
    // The rows of one lesson given (date, lesson number, load job, auditorium, kind) come
    // together as one teaching, whatever groups attend it: the rows are sorted so, and each
    // run of one key is a teaching.
    struct Row
    {
        std::tuple<qint64, int, int, int, int> key; // day, lesson, job, auditorium, kind
        int group = 0, subgroup = 0;
    };
    std::vector<Row> rows;
    const QHash<int, int> &groups = m_index[size_t(PublishedKind::Group)];
    const QHash<int, int> &tutors = m_index[size_t(PublishedKind::Tutor)];
    const QHash<int, int> &auditoriums = m_index[size_t(PublishedKind::Auditorium)];
    // The lessons of the period alone: a document that keeps older years reads no more.
    Recordset rs = m_db.openRecordset(
        QStringLiteral("SELECT tblTimeTableList.Date, tblTimeTableContent.Lesson, "
                       "tblTimeTableContent.SubGroup, tblTimeTableContent.Key_Job, "
                       "tblTimeTableContent.Key_Group, tblTimeTableContent.Key_Aud, "
                       "tblTimeTableContent.Key_TypeLesson FROM tblTimeTableList INNER JOIN "
                       "tblTimeTableContent ON tblTimeTableList.Key = "
                       "tblTimeTableContent.Key_TTList WHERE tblTimeTableList.Date Between "
                       "%1 And %2;")
            .arg(sqlDateLiteral(m_model.from), sqlDateLiteral(m_model.to)));
    rows.reserve(size_t(std::max(0, rs.recordCount())));
    for (; !rs.isEof(); rs.moveNext()) {
        const QDate date = dateOf(rs.value(0));
        if (!date.isValid() || date < m_model.from || date > m_model.to)
            continue;
        const auto group = groups.constFind(rs.value(4).toInt());
        const int job = rs.value(3).toInt();
        if (group == groups.constEnd() || !m_jobs.contains(job))
            continue; // a lesson of a group or load line that is gone is nobody's to publish
        rows.push_back({{date.toJulianDay(), rs.value(1).toInt(), job, rs.value(5).toInt(),
                         rs.value(6).toInt()},
                        *group,
                        rs.value(2).toInt()});
    }
    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        return std::tie(a.key, a.group, a.subgroup) < std::tie(b.key, b.group, b.subgroup);
    });
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row &r = rows[i];
        if (i == 0 || rows[i - 1].key != r.key) {
            const auto &[day, lesson, job, aud, type] = r.key;
            const std::pair<int, int> tutorAndDiscipline = m_jobs.value(job);
            Teaching t;
            t.date = QDate::fromJulianDay(day);
            t.lesson = lesson;
            t.job = job;
            t.tutor = tutors.value(tutorAndDiscipline.first, -1);
            t.discipline = tutorAndDiscipline.second;
            t.auditorium = auditoriums.value(aud, -1);
            t.type = type;
            m_model.teachings.push_back(std::move(t));
        }
        m_model.teachings.back().groups.push_back({r.group, r.subgroup});
    }
}

// Labels, titles and file names. A group's name alone may be shared by groups of other
// courses or faculties; the label and the file then say which one is meant.
void ModelReader::nameObjects()
{
    for (const PublishedKind kind : {PublishedKind::Group, PublishedKind::Tutor, PublishedKind::Auditorium}) {
        std::vector<PublishedObject> &objects = list(kind);
        QHash<QString, int> names, namesInCourse;
        for (const PublishedObject &o : objects) {
            ++names[o.name.toCaseFolded()];
            ++namesInCourse[(o.name + u'\x1f' + o.course).toCaseFolded()];
        }
        // Files are handed out by key, so that a namesake added later takes the longer name.
        std::vector<size_t> byKey(objects.size());
        for (size_t i = 0; i < byKey.size(); ++i)
            byKey[i] = i;
        std::sort(byKey.begin(), byKey.end(),
                  [&](size_t a, size_t b) { return objects[a].key < objects[b].key; });
        std::vector<QStringList> preferences;
        for (const size_t i : byKey) {
            PublishedObject &o = objects[i];
            switch (kind) {
            case PublishedKind::Group: {
                const QString course = o.course.isEmpty()
                                           ? QString()
                                           : QStringLiteral("%1 курс").arg(o.course);
                QStringList details;
                if (!course.isEmpty())
                    details << course;
                if (namesInCourse.value((o.name + u'\x1f' + o.course).toCaseFolded()) > 1
                    && !o.faculty.isEmpty())
                    details << o.faculty;
                o.title = details.isEmpty()
                              ? o.name
                              : o.name + QStringLiteral(" (") + details.join(QStringLiteral(", "))
                                    + u')';
                o.label = names.value(o.name.toCaseFolded()) > 1 ? o.title : o.name;
                const QString withCourse =
                    o.course.isEmpty() ? o.name : o.name + QStringLiteral(" (") + o.course + u')';
                QStringList wanted{withCourse};
                if (!o.faculty.isEmpty())
                    wanted << withCourse + u' ' + o.faculty;
                preferences.push_back(wanted);
                break;
            }
            case PublishedKind::Tutor:
                o.title = o.label = o.name;
                preferences.push_back({o.name});
                break;
            case PublishedKind::Auditorium:
                o.label = o.name;
                o.title = o.corpus.isEmpty() ? o.name
                                             : o.name + QStringLiteral(" (") + o.corpus + u')';
                preferences.push_back({o.title});
                break;
            }
        }
        const std::vector<QString> files = uniqueFileNames(preferences);
        for (size_t n = 0; n < byKey.size(); ++n)
            objects[byKey[n]].file = files[n];
    }
}

// The order of the index: groups by course, then the shorter name first (П-9 before П-10),
// tutors by name, auditoriums by building and number.
void ModelReader::sortObjects()
{
    QCollator collator{QLocale(QLocale::Russian)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QCollator numeric = collator;
    numeric.setNumericMode(true);
    auto &groups = list(PublishedKind::Group);
    std::vector<size_t> order(groups.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const PublishedObject &x = groups[a], &y = groups[b];
        if (const int c = numeric.compare(x.course, y.course))
            return c < 0;
        if (x.name.size() != y.name.size())
            return x.name.size() < y.name.size();
        if (const int c = collator.compare(x.name, y.name))
            return c < 0;
        return x.key < y.key;
    });
    std::vector<PublishedObject> sorted;
    for (const size_t i : order) {
        sorted.push_back(groups[i]);
        m_model.groupColours.push_back(m_groupColours[i]);
    }
    groups = std::move(sorted);
    std::stable_sort(list(PublishedKind::Tutor).begin(), list(PublishedKind::Tutor).end(),
                     [&](const PublishedObject &a, const PublishedObject &b) {
                         const int c = collator.compare(a.name, b.name);
                         return c != 0 ? c < 0 : a.key < b.key;
                     });
    std::stable_sort(list(PublishedKind::Auditorium).begin(), list(PublishedKind::Auditorium).end(),
                     [&](const PublishedObject &a, const PublishedObject &b) {
                         if (const int c = numeric.compare(a.corpus, b.corpus))
                             return c < 0;
                         const int c = numeric.compare(a.name, b.name);
                         return c != 0 ? c < 0 : a.key < b.key;
                     });
    for (int k = 0; k < kObjectKinds; ++k) {
        m_index[size_t(k)].clear();
        const auto &objects = m_model.objects[size_t(k)];
        for (size_t i = 0; i < objects.size(); ++i)
            m_index[size_t(k)].insert(objects[i].key, int(i));
    }
}

void ModelReader::spreadLessons()
{
    for (int k = 0; k < kObjectKinds; ++k)
        m_model.lessons[size_t(k)].assign(m_model.objects[size_t(k)].size(), {});
    auto &groupLessons = m_model.lessons[size_t(PublishedKind::Group)];
    auto &tutorLessons = m_model.lessons[size_t(PublishedKind::Tutor)];
    auto &audLessons = m_model.lessons[size_t(PublishedKind::Auditorium)];
    // The teachings come by date and lesson number, so an object's earlier lessons of the
    // same hour are the last ones in its list.
    const auto clashOf = [](const std::vector<ObjectLesson> &list, const Teaching &t,
                            int subgroup) {
        int clash = 0;
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            if (it->teaching->date != t.date || it->teaching->lesson != t.lesson)
                break;
            if (it->subgroup == subgroup)
                ++clash;
        }
        return clash;
    };
    for (const Teaching &t : m_model.teachings) {
        for (const Teaching::Attendance &a : t.groups) {
            auto &lessons = groupLessons[size_t(a.group)];
            // A group seen twice in one teaching (two rows of one subgroup) is one lesson.
            if (!lessons.empty() && lessons.back().teaching == &t
                && lessons.back().subgroup == a.subgroup)
                continue;
            lessons.push_back({&t, a.subgroup, clashOf(lessons, t, a.subgroup)});
        }
        if (t.tutor >= 0) {
            auto &lessons = tutorLessons[size_t(t.tutor)];
            lessons.push_back({&t, -1, clashOf(lessons, t, -1)});
        }
        if (t.auditorium >= 0) {
            auto &lessons = audLessons[size_t(t.auditorium)];
            lessons.push_back({&t, -1, clashOf(lessons, t, -1)});
        }
    }
}

// Each group's lessons of one hour together: how many there are, and the number each
// subgroup goes by; then the names of the groups each lesson is given to, a group meeting
// in subgroups with the subgroup's number.
void ModelReader::nameAttendances()
{
    std::vector<Teaching> &teachings = m_model.teachings;
    auto &groupLessons = m_model.lessons[size_t(PublishedKind::Group)];
    for (size_t g = 0; g < groupLessons.size(); ++g) {
        auto &list = groupLessons[g];
        for (size_t first = 0; first < list.size();) {
            const Teaching &hour = *list[first].teaching;
            size_t last = first;
            while (last < list.size() && list[last].teaching->date == hour.date
                   && list[last].teaching->lesson == hour.lesson)
                ++last;
            const int meeting = int(last - first);
            for (size_t i = first; i < last; ++i) {
                ObjectLesson &l = list[i];
                std::set<int> before;
                for (size_t j = first; j < last; ++j) {
                    if (list[j].subgroup < l.subgroup)
                        before.insert(list[j].subgroup);
                }
                l.meeting = meeting;
                l.number = shownSubgroup(l.subgroup, int(before.size()) + 1, meeting);
                Teaching &t = teachings[size_t(l.teaching - teachings.data())];
                for (Teaching::Attendance &a : t.groups) {
                    if (a.group == int(g) && a.subgroup == l.subgroup) {
                        a.meeting = l.meeting;
                        a.number = l.number;
                    }
                }
            }
            first = last;
        }
    }
    const auto &groups = list(PublishedKind::Group);
    for (Teaching &t : teachings) {
        QStringList names;
        for (const Teaching::Attendance &a : t.groups) {
            QString name = groups[size_t(a.group)].label;
            if (a.number > 0)
                name += QStringLiteral(" (подгруппа %1)").arg(a.number);
            if (!names.contains(name))
                names << name;
        }
        t.groupNames = names.join(QStringLiteral(", "));
    }
}

void ModelReader::run()
{
    readObjects();
    readReferences();
    nameObjects();
    sortObjects();
    readLessons();
    spreadLessons();
    nameAttendances();
}

} // namespace

LessonClock parseLessonClock(const QString &text)
{
    static const QRegularExpression clock(QStringLiteral("(\\d{1,2})\\s*[:.]\\s*(\\d{2})"));
    LessonClock time;
    QRegularExpressionMatchIterator it = clock.globalMatch(text);
    std::vector<QTime> found;
    while (it.hasNext() && found.size() < 2) {
        const QRegularExpressionMatch m = it.next();
        const QTime t(m.captured(1).toInt(), m.captured(2).toInt());
        if (!t.isValid())
            return {};
        found.push_back(t);
    }
    if (found.empty())
        return {};
    time.start = found[0];
    time.text = time.start.toString(QStringLiteral("H:mm"));
    if (found.size() > 1) {
        if (found[1] <= found[0])
            return {}; // an end before the start is no time one can publish
        time.end = found[1];
        time.text += u'–' + time.end.toString(QStringLiteral("H:mm"));
    }
    return time;
}

std::vector<int> PublishModel::untimedLessons() const
{
    std::set<int> numbers;
    for (const Teaching &t : teachings) {
        if (!timeOf(t.lesson).known())
            numbers.insert(t.lesson);
    }
    return {numbers.begin(), numbers.end()};
}

int PublishModel::untimedCount() const
{
    return int(std::count_if(teachings.begin(), teachings.end(),
                             [this](const Teaching &t) { return !timeOf(t.lesson).known(); }));
}

std::vector<ObjectLesson>::const_iterator PublishModel::lessonFrom(PublishedKind kind,
                                                                   size_t object,
                                                                   const QDate &date) const
{
    const std::vector<ObjectLesson> &all = lessonsOf(kind, object);
    return std::lower_bound(all.begin(), all.end(), date,
                            [](const ObjectLesson &l, const QDate &d) {
                                return l.teaching->date < d;
                            });
}

PublishModel readPublishModel(const Database &db, const QDate &from, const QDate &to,
                              int workDays)
{
    PublishModel model;
    model.from = from;
    model.to = to;
    model.workDays = workDays;
    ModelReader(db, model).run();
    return model;
}

} // namespace korvesta
