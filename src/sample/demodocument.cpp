#include "demodocument.h"

#include "data/bulkwrite.h"
#include "data/calendar.h"
#include "data/database.h"
#include "data/documenttemplate.h"
#include "demomodel.h"

#include <algorithm>
#include <map>

namespace korvesta {

using namespace demo;

namespace {

void writeInstitution(const Database &db, const Institution &inst)
{
    const qint64 noFaculty = templateKey(db, "tblTypeFaculty", "TypeFaculty", "отсутствует");
    const qint64 noCycle = templateKey(db, "tblDiscType", "Type", "отсутствует");
    const qint64 fullTime = templateKey(db, "tblTypeTuition", "TypeTuition", "Очная");
    const qint64 evening = templateKey(db, "tblTypeTuition", "TypeTuition", "Вечерняя");
    const qint64 budget = templateKey(db, "tblTypeFinance", "TypeFinance", "Бюджетная");
    const qint64 paid = templateKey(db, "tblTypeFinance", "TypeFinance", "Внебюджетная");
    std::map<LessonKind, qint64> lessonType{
        {LessonKind::Lecture, templateKey(db, "tblTypeLesson", "ShortTypeLesson", "Лек")},
        {LessonKind::Practice, templateKey(db, "tblTypeLesson", "ShortTypeLesson", "Пр")},
        {LessonKind::LabWork, templateKey(db, "tblTypeLesson", "ShortTypeLesson", "Лаб")},
        {LessonKind::Seminar, templateKey(db, "tblTypeLesson", "ShortTypeLesson", "Сем")},
    };

    std::vector<qint64> faculties;
    {
        BulkInsert add(db, "INSERT INTO tblTypeFaculty (TypeFaculty, Visible) VALUES (?, ?)");
        for (const Faculty &f : inst.faculties)
            faculties.push_back((add << f.name << qint64(f.visible)).run());
    }
    std::vector<qint64> cycles;
    {
        // Display order after the template's own entry, as the options dialog numbers them.
        qint64 priory = 2;
        BulkInsert add(db, "INSERT INTO tblDiscType (Type, Priory, Visible) VALUES (?, ?, ?)");
        for (const Specialization &s : inst.specializations)
            cycles.push_back((add << s.name << priory++ << qint64(s.visible)).run());
    }
    {
        BulkInsert add(db, "INSERT INTO tblTimeLesson (Lesson, TimeLesson) VALUES (?, ?)");
        for (size_t i = 0; i < inst.lessonTimes.size(); ++i)
            (add << qint64(i + 1) << inst.lessonTimes[i]).run();
    }
    std::vector<qint64> groups;
    {
        BulkInsert add(db,
                       "INSERT INTO tblGroups ([Group], Course, GroupColor, Key_TypeFaculty, "
                       "Key_TypeTuition, Key_TypeFinance, Comment) VALUES (?, ?, ?, ?, ?, ?, ?)");
        for (const Group &g : inst.groups) {
            add << g.name << g.course << qint64(g.colour)
                << (g.faculty < 0 ? noFaculty : faculties[size_t(g.faculty)])
                << (g.evening ? evening : fullTime) << (g.paid ? paid : budget) << g.comment;
            groups.push_back(add.run());
        }
    }
    std::vector<qint64> disciplines;
    {
        BulkInsert add(db,
                       "INSERT INTO tblDisciplines (Discipline, Discipline1, DiscType, DiscColor, "
                       "LevelDiff) VALUES (?, ?, ?, ?, ?)");
        for (const Discipline &d : inst.disciplines) {
            add << d.shortName << d.fullName
                << (d.specialization < 0 ? noCycle : cycles[size_t(d.specialization)])
                << qint64(d.colour) << qint64(d.level);
            disciplines.push_back(add.run());
        }
    }
    std::vector<qint64> rooms;
    {
        BulkInsert add(
            db, "INSERT INTO tblAuditories (Auditoria, Corpus, CommentAud) VALUES (?, ?, ?)");
        for (const Room &r : inst.rooms)
            rooms.push_back((add << r.name << r.corpus << r.comment).run());
    }
    std::vector<qint64> tutors;
    {
        BulkInsert add(db, "INSERT INTO tblTutors (Tutor, DefaultAud) VALUES (?, ?)");
        for (const Tutor &t : inst.tutors) {
            QString usual;
            if (t.defaultRoom >= 0) {
                const Room &r = inst.rooms[size_t(t.defaultRoom)];
                usual = r.name + QStringLiteral(" (") + r.corpus + u')';
            }
            tutors.push_back((add << t.name << usual).run());
        }
    }
    std::vector<qint64> jobs;
    {
        BulkInsert add(db, "INSERT INTO tblJob (Key_Tutor, Key_Discipline) VALUES (?, ?)");
        for (const Job &j : inst.jobs)
            jobs.push_back(
                (add << tutors[size_t(j.tutor)] << disciplines[size_t(j.discipline)]).run());
    }
    {
        BulkInsert add(db, "INSERT INTO tblJobList (Key_Job, Key_Group, Hours, DateExam) "
                           "VALUES (?, ?, ?, ?)");
        for (const Line &l : inst.lines)
            (add << jobs[size_t(l.job)] << groups[size_t(l.group)] << qint64(l.hours) << l.exam)
                .run();
    }

    const Calendar &cal = inst.calendar;
    {
        BulkInsert add(db,
                       "INSERT INTO tblAutoTable (DateType, DateStart, DateEnd) VALUES (?, ?, ?)");
        (add << QStringLiteral("Session") << cal.yearStart << cal.yearEnd).run();
        (add << QStringLiteral("Rest") << cal.restStart << cal.restEnd).run();
        for (const QDate &d : cal.holidays)
            (add << QStringLiteral("Selebrate") << d).null().run();
    }
    {
        BulkInsert add(db, "INSERT INTO tblTutorOut (KeyTutor, FreeDay, FreeLesson, FreeLocalDate, "
                           "KeyTypeOut) VALUES (?, ?, ?, ?, ?)");
        for (const TutorOut &o : inst.tutorOuts) {
            add << tutors[size_t(o.tutor)];
            (o.day ? add << qint64(o.day) : add.null());
            (o.lesson ? add << qint64(o.lesson) : add.null());
            (add << o.date << qint64(o.kind)).run();
        }
    }

    // One row per date that has lessons or a note, in date order.
    std::map<QDate, qint64> dateKeys;
    std::vector<char> hasLessons(cal.workDays.size(), 0);
    for (const LessonRow &row : inst.lessons)
        hasLessons[size_t(row.day)] = 1;
    for (size_t i = 0; i < cal.workDays.size(); ++i) {
        if (hasLessons[i])
            dateKeys[cal.workDays[i]] = 0;
    }
    for (const Note &n : inst.notes)
        dateKeys[n.date] = 0;
    {
        BulkInsert add(db, "INSERT INTO tblTimeTableList (Date, ReadOnly) VALUES (?, ?)");
        const QDate protectedUntil = cal.workDays[size_t(cal.readOnlyDays - 1)];
        for (auto &[date, key] : dateKeys)
            key = (add << date << qint64(date <= protectedUntil)).run();
    }
    // The lessons go in faster with the table's indexes built once afterwards.
    const QStringList indexes = dropIndexes(db, "tblTimeTableContent");
    {
        BulkInsert add(db,
                       "INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, Key_Group, "
                       "SubGroup, Key_Aud, Key_TypeLesson) VALUES (?, ?, ?, ?, ?, ?, ?)");
        for (const LessonRow &row : inst.lessons) {
            const Line &line = inst.lines[size_t(row.line)];
            add << dateKeys.at(cal.workDays[size_t(row.day)]) << qint64(row.lesson)
                << jobs[size_t(line.job)] << groups[size_t(line.group)] << qint64(row.subGroup)
                << rooms[size_t(row.room)] << lessonType.at(row.kind);
            add.run();
        }
    }
    for (const QString &sql : indexes)
        executeNative(db, sql.toUtf8());
    {
        BulkInsert add(db, "INSERT INTO tblNotes (Key_TTL, Note) VALUES (?, ?)");
        for (const Note &n : inst.notes)
            (add << dateKeys.at(n.date) << n.text).run();
    }
}

// Lecture streams: units of one job read to several groups at once.
DemoNorms normsOf(const Institution &inst)
{
    DemoNorms norms;
    for (const Unit &unit : inst.units) {
        if (!unit.subgroups)
            norms.groupsOnLecture = std::max(norms.groupsOnLecture, int(unit.lines.size()));
    }
    return norms;
}

} // namespace

DemoRequest DemoRequest::midTerm(DemoSize size, const QDate &today)
{
    const int year = academicYearStart(today).year();
    const Calendar cal = makeCalendar(year);
    auto sunday = [](const QDate &d) { return d.addDays(7 - d.dayOfWeek()); };
    const bool inTerm = today >= cal.yearStart && today <= cal.yearEnd;
    return {size, year, inTerm ? sunday(today) : sunday(cal.yearStart).addDays(7)};
}

DemoRequest DemoRequest::fullYear(DemoSize size, int academicYear)
{
    return {size, academicYear, QDate()};
}

DemoNorms writeDemoDocument(const QString &path, DemoSize size)
{
    return writeDemoDocument(path, DemoRequest::midTerm(size, QDate::currentDate()));
}

DemoNorms writeDemoDocument(const QString &path, const DemoRequest &request)
{
    const Institution inst = buildInstitution(request);

    writeNewDocument(path, [&](const Database &db) {
        Database::Transaction transaction(db);
        writeInstitution(db, inst);
        transaction.commit();
    });
    return normsOf(inst);
}

} // namespace korvesta
