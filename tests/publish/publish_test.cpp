// Publishing the timetable of the sample institution, read back with libical's own parser and
// compared with the document: events per object, their times through the file's VTIMEZONE,
// UIDs that stay, removed lessons cancelled, only changed files written.

#include "publish/icalfeed.h"
#include "publish/publisher.h"
#include "publish/safefilenames.h"

#include "data/sqliteconnection.h"
#include "data/institutionbuilder.h"
#include "editing/progress.h"
#include "publish/icalreading.h"
#include "support/testdocument.h"

#include <QDir>
#include <QDirIterator>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>

#include <map>
#include <tuple>

namespace korvesta {
namespace {

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The lessons an event tells of: "Урок 3. …" one, "Уроки 1–2. …" two.
int lessonsTold(const QString &description)
{
    static const QRegularExpression numbers("^Уроки? (\\d+)(?:–(\\d+))?");
    const QRegularExpressionMatch m = numbers.match(description);
    if (!m.hasMatch())
        return 0;
    return m.captured(2).isEmpty() ? 1 : m.captured(2).toInt() - m.captured(1).toInt() + 1;
}

class PublishTest : public ::testing::Test
{
protected:
    void TearDown() override { Database::forgetAll(); }

    // Wednesday after the clocks of Berlin went back (25.10.2026): the sample's lessons of
    // last week are summer time, those of this week and the next winter time.
    PublishRequest request() const
    {
        PublishRequest r;
        r.folder = out;
        r.from = QDate(2026, 10, 1);
        r.to = QDate(2026, 11, 30);
        r.workDays = 5;
        r.today = today;
        r.now = QDateTime(today, QTime(18, 0), zone);
        r.zone = zone;
        return r;
    }
    PublishResult publish(const PublishRequest &r)
    {
        SilentProgress progress;
        return publishTimetable(b.db(), r, progress);
    }
    PublishResult publish() { return publish(request()); }

    // The events of a calendar as "start|summary", cancelled ones marked.
    QStringList events(const QString &file) const
    {
        QStringList rows;
        for (const ReadEvent &e : readCalendar(out + '/' + file, zone))
            rows << (e.cancelled ? "ОТМЕНА " : "") + e.start + '|' + e.summary;
        return rows;
    }
    std::map<QString, ReadEvent> byUid(const QString &file) const
    {
        std::map<QString, ReadEvent> map;
        for (const ReadEvent &e : readCalendar(out + '/' + file, zone))
            map[e.uid] = e;
        return map;
    }
    // Every file of the publication with its time of change.
    std::map<QString, QDateTime> files() const
    {
        std::map<QString, QDateTime> all;
        QDirIterator it(out, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            all[QDir(out).relativeFilePath(file)] = QFileInfo(file).lastModified();
        }
        return all;
    }
    void ageFiles() const
    {
        for (const auto &[name, time] : files()) {
            QFile f(out + '/' + name);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.setFileTime(old, QFileDevice::FileModificationTime);
        }
    }
    QStringList changedSinceAged() const
    {
        QStringList changed;
        for (const auto &[name, time] : files())
            if (time != old && !name.startsWith('.'))
                changed << name;
        return changed;
    }

    TestFolder folder;
    QString path = newTestDocument(folder);
    QString out = folder.file("сайт/расписание");
    InstitutionBuilder b{Database::open(path)};
    QDate today{2026, 10, 28};
    SampleInstitution s = [this] {
        SampleInstitution built = SampleInstitution::build(b, today);
        b.add("tblTimeLesson", {"Lesson", 1, "TimeLesson", "8:30-9:15"});
        b.add("tblTimeLesson", {"Lesson", 2, "TimeLesson", "09.20 – 10.05"});
        b.add("tblTimeLesson", {"Lesson", 3, "TimeLesson", "10:15-11:00"});
        b.add("tblTimeLesson", {"Lesson", 4, "TimeLesson", "после обеда"});
        b.db().execute("UPDATE tblDisciplines SET DiscColor = 13434879 WHERE Discipline = 'Матем'");
        return built;
    }();
    int slash = b.add("tblGroups", {"Group", "А/Б: 1", "Course", "1"});
    int slashLesson = b.lesson(QDate(2026, 10, 26), 1, s.petrovMath, slash, s.a202, 0, 2);
    QTimeZone zone{"Europe/Berlin"};
    QDateTime old{QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc()};
};

TEST_F(PublishTest, CalendarsHoldTheDocumentsLessonsAtTheirTimes)
{
    const PublishResult result = publish();
    ASSERT_TRUE(result.done) << result.problem.toStdString();
    EXPECT_EQ(result.summary(),
              "опубликовано: 7 групп, 4 преподавателя, 3 аудитории; изменено файлов: 48\n"
              "занятий без времени урока: 1 (уроки 4) - опубликованы как события на весь день");

    struct Case
    {
        const char *file;
        QStringList events;
    } cases[] = {
        // A lecture with П-10, two subgroups at lesson 2 (the document numbers them 1 and 2),
        // a lesson number without a time as a day, summer and winter time.
        {"groups/П-9_(1).ics",
         {"2026-10-19 08:30|Матем (Лек), 101, Иванов И.И.",
          "2026-10-19 09:20|Матем (Пр), 202, Петров П.П., подгруппа 1",
          "2026-10-19 09:20|Физ (Лаб), Лаб (хим), О'Нил, подгруппа 2",
          "2026-10-28|Урок 4: Матем (Лек), 101, Иванов И.И.",
          "2026-11-04 08:30|Матем (Лек), 101, Иванов И.И."}},
        // Two groups ИС-21 of course 2 are told apart by faculty, in the summary and the file.
        {"tutors/Иванов_И.И.ics",
         {"2026-10-19 08:30|Матем (Лек), П-9, П-10, 101",
          "2026-10-20 08:30|Матем (Лек), ИС-21 (2 курс, ФИТ), 101",
          "2026-10-20 10:15|Матем (Лек), ИС-21 (2 курс, ФЭМ), 101",
          "2026-10-28|Урок 4: Матем (Лек), П-9, 101",
          "2026-11-04 08:30|Матем (Лек), П-9, 101"}},
        // The same lecture at lessons 1 and 2 is one event.
        {"groups/ИС-21_(2).ics", {"2026-10-20 08:30|Матем (Лек), 101, Иванов И.И."}},
        {"groups/ИС-21_(2)_ФЭМ.ics", {"2026-10-20 10:15|Матем (Лек), 101, Иванов И.И."}},
        {"groups/А_Б_1_(1).ics", {"2026-10-26 08:30|Матем (Пр), 202, Петров П.П."}},
        {"auditoriums/202_(Второй).ics",
         {"2026-10-19 09:20|Матем (Пр), Петров П.П., П-9 (подгруппа 1)",
          "2026-10-19 10:15|Физ (Лек), Петров П.П., Д'Артаньян",
          "2026-10-26 08:30|Матем (Пр), Петров П.П., А/Б: 1",
          "2026-11-04 08:30|Физ (Лек), Петров П.П., П-10"}},
        {"groups/Э-31_(3).ics", {}},
        {"tutors/Сидоров.ics", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(events(c.file), c.events) << c.file;
    // The description tells the lesson number, the full names and the lecture's groups; the
    // auditorium is the location alone.
    const ReadEvent lecture = readCalendar(out + "/groups/П-9_(1).ics", zone).front();
    EXPECT_EQ(lecture.location, "101 (Главный)");
    EXPECT_EQ(lecture.description, "Урок 1. Математика (Лекция)\nГруппы: П-9, П-10");
    const ReadEvent pair = readCalendar(out + "/groups/ИС-21_(2).ics", zone).front();
    EXPECT_EQ(pair.end, "2026-10-20 10:05");
    EXPECT_EQ(pair.description, "Уроки 1–2. Математика (Лекция)");

    // Every object's lessons, counted from the numbers its events tell, against the document's
    // own rows: a group has a lesson per date, lesson number and subgroup; a tutor and an
    // auditorium per lesson given, whatever the groups at it.
    const auto counts = [&](const QString &sql) {
        std::map<QString, int> n;
        for (const QString &row : b.raw(sql))
            n[row.section('|', 0, 0)] = row.section('|', 1).toInt();
        return n;
    };
    const QString lessons = "FROM tblTimeTableContent c JOIN tblTimeTableList d ON d.Key = "
                            "c.Key_TTList JOIN tblJob j ON j.Key = c.Key_Job ";
    const std::map<QString, int> expected[] = {
        counts("SELECT x, count(*) FROM (SELECT DISTINCT g.[Group] || ' (' || g.Course || ')' || "
               "CASE WHEN g.Key = " + QString::number(s.isFem) + " THEN ' ФЭМ' ELSE '' END AS x, "
               "d.Date, c.Lesson, c.SubGroup " + lessons + "JOIN tblGroups g ON g.Key = "
               "c.Key_Group) GROUP BY x"),
        counts("SELECT x, count(*) FROM (SELECT DISTINCT t.Tutor AS x, d.Date, c.Lesson, "
               "c.Key_Job, c.Key_Aud, c.Key_TypeLesson " + lessons +
               "JOIN tblTutors t ON t.Key = j.Key_Tutor) GROUP BY x"),
        counts("SELECT x, count(*) FROM (SELECT DISTINCT a.Auditoria || ' (' || a.Corpus || ')' "
               "AS x, d.Date, c.Lesson, c.Key_Job, c.Key_Aud, c.Key_TypeLesson " + lessons +
               "JOIN tblAuditories a ON a.Key = c.Key_Aud) GROUP BY x"),
    };
    const char *folders[] = {"groups", "tutors", "auditoriums"};
    for (int k = 0; k < 3; ++k) {
        std::map<QString, int> found;
        for (const QFileInfo &f : QDir(out + '/' + folders[k]).entryInfoList({"*.ics"})) {
            int n = 0;
            for (const ReadEvent &e : readCalendar(f.filePath(), zone))
                n += lessonsTold(e.description);
            if (n > 0)
                found[f.completeBaseName()] = n;
        }
        std::map<QString, int> wanted;
        for (const auto &[name, n] : expected[k])
            wanted[safeFileName(name)] = n;
        EXPECT_EQ(found, wanted) << folders[k];
    }
}

// A lesson alone is the whole group's, stored as subgroup 1 or not; stored as a later subgroup
// it is that subgroup's (the other half of the group is free).
// The same lecture at lessons 1 and 2 with a lunch between them stays two lessons.
TEST_F(PublishTest, ALongBreakKeepsEqualLessonsApart)
{
    b.db().execute("UPDATE tblTimeLesson SET TimeLesson = '12:00-12:45' WHERE Lesson = 2");
    ASSERT_TRUE(publish().done);
    EXPECT_EQ(events("groups/ИС-21_(2).ics"),
              QStringList({"2026-10-20 08:30|Матем (Лек), 101, Иванов И.И.",
                           "2026-10-20 12:00|Матем (Лек), 101, Иванов И.И."}));
    EXPECT_EQ(readText(out + "/groups/2026-10/ИС-21_(2).html").count("</i><time>"), 2);
}

// A lesson that comes to equal the one before it joins its event: the event it had is taken
// back once in the calendars of the group and the tutor, and that is no lesson gone; the
// auditorium it left has lost a lesson.
TEST_F(PublishTest, ALessonJoiningAPairIsNoLessonGone)
{
    const QString secondLesson = " WHERE Key_Group = " + QString::number(s.isFit) + " AND Lesson = 2";
    b.db().execute("UPDATE tblTimeTableContent SET Key_Aud = " + QString::number(s.a202) + secondLesson);
    ASSERT_TRUE(publish().done);
    ASSERT_EQ(events("groups/ИС-21_(2).ics").size(), 2);
    b.db().execute("UPDATE tblTimeTableContent SET Key_Aud = " + QString::number(s.a101) + secondLesson);
    const PublishResult joined = publish();
    ASSERT_TRUE(joined.done);
    EXPECT_EQ(joined.cancelled, 1);
    EXPECT_EQ(events("groups/ИС-21_(2).ics"),
              QStringList({"2026-10-20 08:30|Матем (Лек), 101, Иванов И.И.",
                           "ОТМЕНА 2026-10-20 09:20|Матем (Лек), 202, Иванов И.И."}));
    EXPECT_EQ(events("auditoriums/202_(Второй).ics").filter("ОТМЕНА 2026-10-20").size(), 1);
}

TEST_F(PublishTest, ALessonAloneIsTheWholeGroups)
{
    b.lesson(QDate(2026, 10, 27), 3, s.petrovPhysics, s.p10, s.a202, 1);
    b.lesson(QDate(2026, 10, 27), 4, s.petrovPhysics, s.p10, s.a202, 2);
    ASSERT_TRUE(publish().done);
    const QStringList p10 = events("groups/П-10_(1).ics");
    EXPECT_TRUE(p10.contains("2026-10-27 10:15|Физ (Лек), 202, Петров П.П.")) << p10.join('\n').toStdString();
    EXPECT_TRUE(p10.contains("2026-10-27|Урок 4: Физ (Лек), 202, Петров П.П., подгруппа 2"))
        << p10.join('\n').toStdString();
    EXPECT_FALSE(readText(out + "/groups/П-10_(1).html").contains("подгруппа 1"));
}

TEST_F(PublishTest, UidsStayAndWhatWasRemovedComesCancelledOnce)
{
    ASSERT_TRUE(publish().done);
    const auto first = byUid("groups/П-9_(1).ics");
    ageFiles();

    // Nothing changed: nothing written, and every UID as it was.
    const PublishResult again = publish();
    ASSERT_TRUE(again.done);
    EXPECT_TRUE(again.written.isEmpty()) << again.written.join(' ').toStdString();
    EXPECT_TRUE(changedSinceAged().isEmpty()) << changedSinceAged().join(' ').toStdString();
    const auto second = byUid("groups/П-9_(1).ics");
    ASSERT_EQ(second.size(), first.size());
    for (const auto &[uid, e] : first)
        EXPECT_EQ(second.count(uid), 1u) << uid.toStdString();

    // П-9's lesson of 04.11 goes; its lesson of 28.10 moves to another auditorium.
    b.db().execute("DELETE FROM tblTimeTableContent WHERE Key_Group = " + QString::number(s.p9) +
                   " AND Key_TTList = " + QString::number(b.day(s.future)));
    b.db().execute("UPDATE tblTimeTableContent SET Key_Aud = " + QString::number(s.a202) +
                   " WHERE Key_Group = " + QString::number(s.p9) + " AND Lesson = 4");
    const PublishResult third = publish();
    ASSERT_TRUE(third.done);
    // In the calendars of П-9, Иванов and 101; 101 loses the lesson of 28.10 too.
    EXPECT_EQ(third.cancelled, 4);
    const auto changed = byUid("groups/П-9_(1).ics");
    ASSERT_EQ(changed.size(), first.size());
    int cancelled = 0;
    for (const auto &[uid, e] : changed) {
        const ReadEvent &before = first.at(uid);
        if (e.cancelled) {
            ++cancelled;
            EXPECT_EQ(e.start, "2026-11-04 08:30");
            EXPECT_EQ(e.sequence, before.sequence + 1);
        } else if (e.start == "2026-10-28") {
            EXPECT_EQ(e.location, "202 (Второй)");
            EXPECT_EQ(e.sequence, before.sequence + 1);
        } else {
            EXPECT_EQ(e.sequence, before.sequence) << uid.toStdString();
        }
    }
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(events("auditoriums/101_(Главный).ics").filter("ОТМЕНА").size(), 2);
    EXPECT_EQ(events("auditoriums/202_(Второй).ics").filter("2026-10-28").size(), 1);
    // Only the calendars, front pages and October pages of those it concerns; their November
    // pages, left without lessons, go; the index keeps its date.
    EXPECT_EQ(changedSinceAged(),
              QStringList({"auditoriums/101_(Главный).html", "auditoriums/101_(Главный).ics",
                           "auditoriums/2026-10/101_(Главный).html",
                           "auditoriums/2026-10/202_(Второй).html",
                           "auditoriums/202_(Второй).html", "auditoriums/202_(Второй).ics",
                           "groups/2026-10/П-9_(1).html", "groups/П-9_(1).html",
                           "groups/П-9_(1).ics", "tutors/2026-10/Иванов_И.И.html",
                           "tutors/Иванов_И.И.html", "tutors/Иванов_И.И.ics"}));
    EXPECT_EQ(third.written.size(), 12);
    EXPECT_EQ(third.removed, QStringList({"auditoriums/2026-11/101_(Главный).html",
                                          "groups/2026-11/П-9_(1).html",
                                          "tutors/2026-11/Иванов_И.И.html"}));
    EXPECT_FALSE(QFileInfo::exists(out + "/groups/2026-11/П-9_(1).html"));

    // The cancellation has been told; it stays in the file while the file stands.
    ageFiles();
    ASSERT_TRUE(publish().done);
    EXPECT_TRUE(changedSinceAged().isEmpty());
    EXPECT_EQ(events("groups/П-9_(1).ics").filter("ОТМЕНА").size(), 1);

    // A narrower period leaves the lessons outside it as they were, cancels none.
    PublishRequest narrow = request();
    narrow.from = QDate(2026, 10, 26);
    const PublishResult later = publish(narrow);
    ASSERT_TRUE(later.done);
    EXPECT_EQ(later.cancelled, 0);
    EXPECT_EQ(events("groups/П-9_(1).ics").filter("2026-10-19").size(), 3);
}

TEST_F(PublishTest, AGoneObjectsCalendarIsCancelledThenRemoved)
{
    ASSERT_TRUE(publish().done);
    b.db().execute("DELETE FROM tblTimeTableContent WHERE Key_Group = " + QString::number(slash));
    b.db().execute("DELETE FROM tblGroups WHERE Key = " + QString::number(slash));
    const PublishResult gone = publish();
    ASSERT_TRUE(gone.done);
    EXPECT_EQ(events("groups/А_Б_1_(1).ics"),
              QStringList{"ОТМЕНА 2026-10-26 08:30|Матем (Пр), 202, Петров П.П."});
    EXPECT_FALSE(QFile::exists(out + "/groups/А_Б_1_(1).html"));
    EXPECT_TRUE(gone.removed.contains("groups/А_Б_1_(1).html"));
    EXPECT_FALSE(readText(out + "/index.html").contains("А_Б_1"));

    const PublishResult after = publish();
    ASSERT_TRUE(after.done);
    EXPECT_EQ(after.removed, QStringList{"groups/А_Б_1_(1).ics"});
    EXPECT_FALSE(QFile::exists(out + "/groups/А_Б_1_(1).ics"));
    // Files the program did not make are never touched.
    QFile mine(out + "/groups/заметка.txt");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.close();
    ASSERT_TRUE(publish().done);
    EXPECT_TRUE(QFile::exists(mine.fileName()));
}

TEST_F(PublishTest, PagesLinkEveryObjectAndShowTheCurrentWeekFirst)
{
    ASSERT_TRUE(publish().done);
    const QString index = readText(out + "/index.html");
    // Every link of the index leads to a file that is there, and each object has two.
    static const QRegularExpression href("href=\"([^\"#]+)\"");
    int links = 0;
    for (auto it = href.globalMatch(index); it.hasNext(); ++links) {
        const QString target = QUrl::fromPercentEncoding(it.next().captured(1).toUtf8());
        EXPECT_TRUE(QFile::exists(out + '/' + target)) << target.toStdString();
    }
    EXPECT_EQ(links, 1 + 2 * (7 + 4 + 3)); // the style sheet, then each object's two
    EXPECT_TRUE(index.contains("ИС-21 (ФИТ)") && index.contains("ИС-21 (ФЭМ)"));
    EXPECT_TRUE(index.contains("Опубликовано: 28.10.2026"));

    // Every link of every page leads to a file that is there.
    QDirIterator pages(out, {"*.html"}, QDir::Files, QDirIterator::Subdirectories);
    while (pages.hasNext()) {
        const QString file = pages.next();
        const QString text = readText(file);
        for (auto it = href.globalMatch(text); it.hasNext();) {
            const QString target = QUrl::fromPercentEncoding(it.next().captured(1).toUtf8());
            EXPECT_TRUE(QFile::exists(QFileInfo(file).dir().filePath(target)))
                << file.toStdString() << " -> " << target.toStdString();
        }
    }

    // The front page: this week, then the next, then the months, October marked.
    const QString page = readText(out + "/groups/П-9_(1).html");
    const qsizetype current = page.indexOf("id=\"w2026-10-26\"");
    const qsizetype next = page.indexOf("id=\"w2026-11-02\"");
    const qsizetype months = page.indexOf("По месяцам");
    EXPECT_TRUE(current > 0 && current < next && next < months) << current << next << months;
    EXPECT_FALSE(page.contains("id=\"w2026-10-19\""));
    EXPECT_TRUE(page.contains("Текущая неделя: 26.10 – 01.11.2026"));
    EXPECT_TRUE(page.contains("Следующая неделя: 02.11 – 08.11.2026"));
    EXPECT_TRUE(page.contains("class=\"day today\""));
    EXPECT_TRUE(page.contains("<li class=\"current\"><a href=\"2026-10/П-9_(1).html\">"
                              "Октябрь 2026</a>"));
    EXPECT_TRUE(page.contains("href=\"П-9_(1).ics\""));
    EXPECT_TRUE(page.contains("время не задано"));
    EXPECT_FALSE(page.contains("<script"));

    // A month: its weeks in order, each with the days of the month alone.
    const QString october = readText(out + "/groups/2026-10/П-9_(1).html");
    EXPECT_TRUE(october.contains("<h1><span class=\"kind\">Группа</span>П-9 (1 курс), октябрь "
                                 "2026</h1>"));
    EXPECT_TRUE(october.indexOf("id=\"w2026-10-19\"") < october.indexOf("id=\"w2026-10-26\""));
    EXPECT_TRUE(october.contains("Пятница, 30 октября"));
    EXPECT_FALSE(october.contains("ноября"));
    EXPECT_FALSE(october.contains("today"));
    EXPECT_TRUE(october.contains("<link rel=\"stylesheet\" href=\"../../style.css\">"));
    EXPECT_TRUE(october.contains("<b>Математика</b> · Лекция"));
    // Матем's colour (0x00CCFFFF) is a class of the shared style sheet that its lessons name;
    // a page has no style of its own.
    static const QRegularExpression colour(R"(\.lessons \.(d\d+)\{background:#ffffcc\})");
    const QRegularExpressionMatch rule = colour.match(readText(out + "/style.css"));
    ASSERT_TRUE(rule.hasMatch());
    EXPECT_TRUE(october.contains("<li class=\"" + rule.captured(1) + "\"><i>1</i>"));
    EXPECT_FALSE(october.contains("style=\"") || october.contains("<style"));
    EXPECT_TRUE(readText(out + "/style.css").contains(".lessons li{"));
    // ИС-21's lecture at lessons 1 and 2 is one item, from the start of the first to the end
    // of the second.
    const QString is21 = readText(out + "/groups/2026-10/ИС-21_(2).html");
    EXPECT_EQ(is21.count("</i><time>"), 1);
    EXPECT_TRUE(is21.contains("<i>1–2</i><time>8:30–10:05</time>")) << is21.toStdString();

    // A group without lessons has this week's empty days and no months.
    const QString none = readText(out + "/groups/Э-31_(3).html");
    EXPECT_TRUE(none.contains("Занятий нет") && none.contains("В этом периоде занятий нет."));
    EXPECT_FALSE(QFileInfo::exists(out + "/groups/2026-10/Э-31_(3).html"));
}

TEST_F(PublishTest, BadDestinationsAndPeriodsPublishNothing)
{
    QFile file(folder.file("файл"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    struct Case
    {
        const char *name;
        QString folder;
        QDate from, to;
        QString problem;
    } cases[] = {
        {"a file", file.fileName(), {}, {}, "«" + file.fileName() + "» - не папка"},
        {"under a file", file.fileName() + "/сайт", {}, {},
         "Не удалось создать папку «" + file.fileName() + "»"},
        {"empty period", out, QDate(2027, 1, 1), QDate(2027, 1, 31),
         "В периоде 01.01.2027 - 31.01.2027 нет ни одного занятия; ничего не опубликовано"},
        {"reversed", out, QDate(2027, 1, 31), QDate(2027, 1, 1), "Начало периода позже его конца"},
    };
    for (const Case &c : cases) {
        PublishRequest r = request();
        r.folder = c.folder;
        if (c.from.isValid()) {
            r.from = c.from;
            r.to = c.to;
        }
        const PublishResult result = publish(r);
        EXPECT_FALSE(result.done) << c.name;
        EXPECT_EQ(result.problem, c.problem) << c.name;
        EXPECT_FALSE(QFileInfo::exists(out)) << c.name;
    }
    // Nothing half-made is left beside the folder either.
    const QStringList left =
        QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(left.filter(QRegularExpression("^(?!test\\.kvt)")), QStringList{"файл"});
}

// The folder may be shared: what its record of the last publication names is taken only
// when it is a file of the publication inside the folder, reached through real folders.
TEST_F(PublishTest, NothingOutsideTheFolderIsWrittenOrRemoved)
{
    ASSERT_TRUE(publish().done);
    const QString outside = folder.file("чужое");
    ASSERT_TRUE(QDir().mkpath(outside + "/глубоко"));
    const QStringList victims = {outside + "/victim.ics", outside + "/глубоко/deep.txt",
                                 outside + "/link.ics", outside + "/abs.ics"};
    for (const QString &v : victims)
        writeTestFile(v, "чужой файл");
    ASSERT_TRUE(QFile::link(outside + "/link.ics", out + "/groups/ссылка.ics"));
    // Entries that climb out, an absolute one, a link, and a file the program never makes.
    QByteArray state = readTestFile(out + "/.korvesta-publish.json");
    const QByteArray planted = R"("files": {
        "../../чужое/victim.ics": {"hash": "x"},
        "groups/../../../чужое/глубоко/deep.txt": {"hash": "x"},
        ")" + (outside + "/abs.ics").toUtf8() + R"(": {"hash": "x"},
        "groups/ссылка.ics": {"hash": "x"},
        "groups/.hidden.ics": {"hash": "x"},
        "groups/чужое/victim.html": {"hash": "x"},
        "groups/2026-10/2026-10/victim.html": {"hash": "x"},
)";
    state.replace("\"files\": {", planted);
    writeTestFile(out + "/.korvesta-publish.json", state);

    const PublishResult result = publish();
    ASSERT_TRUE(result.done) << result.problem.toStdString();
    for (const QString &v : victims)
        EXPECT_EQ(readTestFile(v), "чужой файл") << v.toStdString();
    EXPECT_TRUE(QFileInfo(out + "/groups/ссылка.ics").isSymLink());
    ASSERT_EQ(result.warnings.size(), 2) << result.warnings.join('\n').toStdString();
    EXPECT_TRUE(result.warnings[0].contains("../../чужое/victim.ics"));
    EXPECT_TRUE(result.warnings[0].contains("groups/чужое/victim.html"));
    EXPECT_TRUE(result.warnings[0].contains("groups/2026-10/2026-10/victim.html"));
    EXPECT_TRUE(result.warnings[1].contains("groups/ссылка.ics"));

    // A folder of the publication that is a link elsewhere is not written through.
    const QString tutors = out + "/tutors";
    ASSERT_TRUE(QDir(tutors).removeRecursively());
    ASSERT_TRUE(QFile::link(outside, tutors));
    const PublishResult linked = publish();
    EXPECT_FALSE(linked.done);
    EXPECT_TRUE(linked.problem.contains("за пределы папки публикации"));
    EXPECT_FALSE(linked.warnings.join("").contains("больше не файл публикации"));
    EXPECT_EQ(QDir(outside).entryList(QDir::Files).size(), 3);

    // A record that is not JSON is no record: everything standing is someone else's.
    writeTestFile(out + "/.korvesta-publish.json", "{\"files\": [");
    QFile::remove(tutors);
    const PublishResult broken = publish();
    EXPECT_FALSE(broken.done);
    EXPECT_TRUE(broken.warnings.join("").contains("файл повреждён"));
    EXPECT_TRUE(broken.foreign.contains("index.html"));
}

TEST_F(PublishTest, FilesOfSomeoneElseAreKeptUnlessReplacingIsAsked)
{
    ASSERT_TRUE(QDir().mkpath(out + "/groups"));
    writeTestFile(out + "/index.html", "<p>сайт колледжа</p>");
    writeTestFile(out + "/style.css", "body{}");
    writeTestFile(out + "/groups/свой.txt", "своё");
    const PublishResult refused = publish();
    EXPECT_FALSE(refused.done);
    EXPECT_EQ(refused.foreign, (QStringList{"index.html", "style.css"}));
    EXPECT_EQ(refused.problem, "В папке «" + out + "» есть файлы, которые записала не эта "
                               "программа: index.html, style.css. Они оставлены как есть; "
                               "расписание не опубликовано");
    EXPECT_EQ(readTestFile(out + "/index.html"), "<p>сайт колледжа</p>");
    EXPECT_FALSE(QFileInfo::exists(out + "/groups/П-9_(1).ics"));

    PublishRequest replacing = request();
    replacing.replaceForeign = true;
    ASSERT_TRUE(publish(replacing).done);
    EXPECT_TRUE(readText(out + "/index.html").contains("П-9"));
    EXPECT_EQ(readTestFile(out + "/groups/свой.txt"), "своё");
    // From now on they are the program's own.
    ASSERT_TRUE(publish().done);
}

TEST_F(PublishTest, TheNextPublicationClearsWhatAKilledOneLeft)
{
    ASSERT_TRUE(publish().done);
    // Beside the folder: one of a process that has ended, one of this (running) process.
    QProcess ended;
    ended.start("sleep", {"0.1"});
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 endedPid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    const QString parent = QFileInfo(out).absolutePath();
    const QString dead = parent + "/.расписание-публикация-a1B2c3";
    const QString running = parent + "/.расписание-публикация-Zz9Yy8";
    const QString inside = out + "/.korvesta-публикация-q0w9e8";
    const QString notOurs = parent + "/.расписание-публикация-чужое";
    for (const QString &d : {dead, running, inside, notOurs})
        ASSERT_TRUE(QDir().mkpath(d + "/groups"));
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    writeTestFile(dead + "/.korvesta-владелец", QByteArray::number(endedPid) + '\n' + host);
    writeTestFile(dead + "/groups/x.ics", "x");
    writeTestFile(inside + "/.korvesta-владелец", QByteArray::number(endedPid) + '\n' + host);
    writeTestFile(running + "/.korvesta-владелец",
                  QByteArray::number(QCoreApplication::applicationPid()) + '\n' + host);
    ASSERT_TRUE(publish().done);
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_FALSE(QFileInfo::exists(inside));
    EXPECT_TRUE(QFileInfo::exists(running));
    EXPECT_TRUE(QFileInfo::exists(notOurs));
    // The owner's note never reaches the folder.
    QDir(out).removeRecursively();
    ASSERT_TRUE(publish().done);
    EXPECT_FALSE(QFileInfo::exists(out + "/.korvesta-владелец"));
}

// A value of an iCalendar TEXT property: every ';' and ',' escaped, no control character.
bool escapedIcalValue(const QByteArray &value)
{
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\')
            ++i;
        else if (c == ';' || c == ',' || (uchar(c) < 0x20 && c != '\t'))
            return false;
    }
    return true;
}

// Every kind of name the pages and calendars show, given markup, quotes, an ampersand, the
// characters iCalendar must escape and control characters (NUL among them).
TEST_F(PublishTest, EveryNameIsEscapedOnEveryPageAndInEveryCalendar)
{
    const QString hostile = QStringLiteral("<b>&amp;\"'\\;,") + QChar(0x01) + QChar(0) + u'!';
    sqlite3 *handle = sqliteOf(*b.db().connection()).handle();
    const auto plant = [&](const char *sql, const QString &text) {
        sqlite3_stmt *stmt = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(handle, sql, -1, &stmt, nullptr), SQLITE_OK) << sql;
        const QByteArray bytes = text.toUtf8();
        sqlite3_bind_text(stmt, 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        ASSERT_EQ(sqlite3_step(stmt), SQLITE_DONE) << sql;
        sqlite3_finalize(stmt);
    };
    plant("UPDATE tblGroups SET \"Group\" = 'Гр' || Key || ?1", hostile);
    plant("UPDATE tblGroups SET Course = Course || ?1", hostile);
    plant("UPDATE tblTypeFaculty SET TypeFaculty = 'Фак' || Key || ?1", hostile);
    plant("UPDATE tblTutors SET Tutor = 'Преп' || Key || ?1", hostile);
    plant("UPDATE tblAuditories SET Auditoria = 'Ауд' || Key || ?1, Corpus = 'Корп' || ?1", hostile);
    plant("UPDATE tblDisciplines SET Discipline = 'Дисц' || Key || ?1, "
          "Discipline1 = 'Полн' || Key || ?1", hostile);
    plant("UPDATE tblTypeLesson SET ShortTypeLesson = 'Вид' || Key || ?1, "
          "LongTypeLesson = 'Полный вид' || Key || ?1", hostile);
    b.db().connection()->reloadSavedQueries();

    const PublishResult result = publish();
    ASSERT_TRUE(result.done) << result.problem.toStdString();
    int pages = 0, calendars = 0;
    QDirIterator it(out, {"*.html", "*.ics"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QByteArray bytes = readTestFile(file);
        const std::string name = file.toStdString();
        for (const char c : bytes)
            ASSERT_TRUE(uchar(c) >= 0x20 || c == '\n' || c == '\r' || c == '\t') << name;
        if (file.endsWith(".html")) {
            ++pages;
            EXPECT_FALSE(bytes.contains("<b>&")) << name;
            EXPECT_TRUE(bytes.contains("&lt;b&gt;&amp;amp;&quot;")) << name;
            continue;
        }
        ++calendars;
        // Content lines unfolded, then each text property's value looked at.
        QByteArray text = bytes;
        text.replace("\r\n ", "");
        for (const QByteArray &line : text.split('\n')) {
            for (const char *property : {"SUMMARY:", "LOCATION:", "DESCRIPTION:", "X-WR-CALNAME:"}) {
                if (line.startsWith(property)) {
                    EXPECT_TRUE(escapedIcalValue(line.mid(qsizetype(strlen(property))).trimmed()))
                        << name << ": " << line.toStdString();
                }
            }
        }
        EXPECT_TRUE(text.contains("X-WR-CALNAME:Расписание: ")) << name;
    }
    EXPECT_EQ(pages, 1 + 7 + 4 + 3 + 18); // the index, every object's, and their months
    EXPECT_EQ(calendars, 7 + 4 + 3);
    // libical reads the names back whole, without the control characters.
    const std::vector<ReadEvent> events = readCalendar(
        out + "/groups/" + QDir(out + "/groups").entryList({"*.ics"}).front(), zone);
    ASSERT_FALSE(events.empty());
    EXPECT_TRUE(events.front().summary.contains("<b>&amp;\"'\\;,!")) << events.front().summary.toStdString();
}

// The calendar published before lies in a folder others can write to: whatever it holds, it is
// read as far as it goes, and nothing in it overflows or stops the new one.
TEST(PreviousCalendar, IsReadAsFarAsItCanBe)
{
    FeedSettings settings;
    settings.name = "Расписание";
    settings.zone = QTimeZone("Europe/Berlin");
    settings.from = QDate(2026, 10, 1);
    settings.to = QDate(2026, 10, 31);
    settings.now = QDateTime(QDate(2026, 10, 28), QTime(18, 0), QTimeZone::utc());
    std::vector<FeedEvent> events{
        {"a@f", QDate(2026, 10, 19), QTime(8, 30), QTime(9, 15), "Матем, 101", "101", "Урок 1", {}},
        {"b@f", QDate(2026, 10, 20), QTime(8, 30), QTime(9, 15), "Физ, 202", "202", "Урок 1", {}}};
    const QByteArray first = writeFeed(settings, events, {});

    // Cut short inside the second event: the first is known, the second new.
    FeedChanges changes;
    writeFeed(settings, events, first.left(first.indexOf("UID:b@f") + 9), &changes);
    EXPECT_EQ(std::tuple(changes.added, changes.changed, changes.cancelled), std::tuple(1, 0, 0));

    // The largest sequence a file can hold still goes one up.
    QByteArray high = first;
    high.replace("END:VEVENT", "SEQUENCE:2147483647\r\nEND:VEVENT");
    events[0].summary = "Матем, 202";
    const QByteArray changed = writeFeed(settings, events, high, &changes);
    EXPECT_EQ(changes.changed, 1);
    EXPECT_TRUE(changed.contains("SEQUENCE:1000000001"));

    // An event gone from the period, written back cancelled, whose line holds no character
    // at all but continuation bytes.
    QByteArray odd = first;
    odd.replace("LOCATION:202", "LOCATION:" + QByteArray(300, '\x80'));
    const QByteArray cancelled = writeFeed(settings, {events[0]}, odd, &changes);
    EXPECT_EQ(changes.cancelled, 1);
    EXPECT_TRUE(cancelled.contains("STATUS:CANCELLED"));

    // Bytes that are no calendar, and a calendar without UIDs, are no previous events.
    for (const QByteArray &junk : {QByteArray("\0\xff\r\n BEGIN:VEVENT\r\n", 16),
                                   QByteArray(first).replace("UID:", "X-UID:")}) {
        writeFeed(settings, events, junk, &changes);
        EXPECT_EQ(std::tuple(changes.added, changes.changed, changes.cancelled), std::tuple(2, 0, 0));
    }
}

TEST(SafeFileNames, KeepLettersAndReplaceWhatFileSystemsRefuse)
{
    const struct
    {
        QString name, file;
    } cases[] = {
        {"П-9 (1)", "П-9_(1)"},
        {"А/Б: 1", "А_Б_1"},
        {"a\\b*c?d\"e<f>g|h#i%j", "a_b_c_d_e_f_g_h_i_j"},
        {"..скрытый.", "скрытый"},
        {"Иванов И.И.", "Иванов_И.И"},
        {"  ", "_"},
        {"con", "con_"},
        {"строка\tс\nпереводом", "строка_с_переводом"},
        {QString(120, QChar(u'ж')), QString(100, QChar(u'ж'))},
    };
    for (const auto &c : cases)
        EXPECT_EQ(safeFileName(c.name), c.file) << c.name.toStdString();

    // Namesakes: the first keeps the plain name, the others take their more precise one or
    // a number; letter case does not tell files apart.
    EXPECT_EQ(uniqueFileNames({{"ИС-21 (2)", "ИС-21 (2) ФИТ"}, {"ИС-21 (2)", "ИС-21 (2) ФЭМ"},
                               {"ИС-21 (2)", "ИС-21 (2) ФЭМ"}, {"иванов"}, {"Иванов"},
                               {"Иванов_2"}}),
              (std::vector<QString>{"ИС-21_(2)", "ИС-21_(2)_ФЭМ", "ИС-21_(2)_ФЭМ_2", "иванов",
                                    "Иванов_3", "Иванов_2"}));
}

} // namespace
} // namespace korvesta
