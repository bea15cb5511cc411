#include "demodocument.h"

#include "data/calendar.h"
#include "data/connection.h"
#include "data/database.h"
#include "data/dberror.h"
#include "demomodel.h"
#include "data/documenttemplate.h"
#include "data/isodate.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <cstdio>
#include <map>

namespace korvesta {

using namespace demo;

namespace {

// A prepared INSERT run once per row inside the caller's transaction.
class Insert
{
public:
    Insert(sqlite3 *db, const char *sql)
        : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            fail();
    }
    ~Insert() { sqlite3_finalize(m_stmt); }
    Insert(const Insert &) = delete;
    Insert &operator=(const Insert &) = delete;

    Insert &operator<<(qint64 value)
    {
        sqlite3_bind_int64(m_stmt, ++m_index, value);
        return *this;
    }
    Insert &operator<<(const QString &text)
    {
        if (text.isNull()) {
            sqlite3_bind_null(m_stmt, ++m_index);
        } else {
            const QByteArray utf8 = text.toUtf8();
            sqlite3_bind_text(m_stmt, ++m_index, utf8.constData(), int(utf8.size()),
                              SQLITE_TRANSIENT);
        }
        return *this;
    }
    Insert &operator<<(const QDate &date)
    {
        return *this << (date.isValid() ? isoDateText(date) : QString());
    }
    Insert &null()
    {
        sqlite3_bind_null(m_stmt, ++m_index);
        return *this;
    }

    // Writes the row; returns its key.
    qint64 run()
    {
        if (sqlite3_step(m_stmt) != SQLITE_DONE)
            fail();
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        m_index = 0;
        return sqlite3_last_insert_rowid(m_db);
    }

private:
    [[noreturn]] void fail() const
    {
        throw DbError(dberr::Failed,
                      QStringLiteral("Не удалось записать пример.\n")
                          + DbError::fromEngine(sqlite3_errcode(m_db),
                                                QString::fromUtf8(sqlite3_errmsg(m_db)), {})
                                .message());
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    int m_index = 0;
};

// The key of a row of a type list that the template carries.
qint64 templateKey(sqlite3 *db, const char *table, const char *field, const char *value)
{
    const QByteArray sql =
        QByteArray("SELECT \"Key\" FROM ") + table + " WHERE \"" + field + "\" = ?1";
    sqlite3_stmt *stmt = nullptr;
    qint64 key = 0;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, value, -1, SQLITE_STATIC);
        if (sqlite3_step(stmt) == SQLITE_ROW)
            key = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    if (key == 0)
        throw DbError(dberr::Failed, QStringLiteral("В шаблоне документа нет записи «%1» в %2")
                                         .arg(QString::fromUtf8(value), QString::fromUtf8(table)));
    return key;
}

void execute(sqlite3 *db, const QByteArray &sql)
{
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DbError(dberr::Failed,
                      QStringLiteral("Не удалось записать пример.\n")
                          + DbError::fromEngine(sqlite3_errcode(db),
                                                QString::fromUtf8(sqlite3_errmsg(db)), {})
                                .message());
}

// Drops the indexes of a table; returns the statements that create them again.
QStringList dropIndexes(sqlite3 *db, const char *table)
{
    QStringList names;
    QStringList statements;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 "
                       "AND sql IS NOT NULL",
                       -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        statements << QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
    }
    sqlite3_finalize(stmt);
    for (const QString &name : names)
        execute(db, "DROP INDEX \"" + name.toUtf8() + '"');
    return statements;
}

void writeInstitution(sqlite3 *db, const Institution &inst)
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
        Insert add(db, "INSERT INTO tblTypeFaculty (TypeFaculty, Visible) VALUES (?, ?)");
        for (const Faculty &f : inst.faculties)
            faculties.push_back((add << f.name << qint64(f.visible)).run());
    }
    std::vector<qint64> cycles;
    {
        // Display order after the template's own entry, as the options dialog numbers them.
        qint64 priory = 2;
        Insert add(db, "INSERT INTO tblDiscType (Type, Priory, Visible) VALUES (?, ?, ?)");
        for (const Specialization &s : inst.specializations)
            cycles.push_back((add << s.name << priory++ << qint64(s.visible)).run());
    }
    {
        Insert add(db, "INSERT INTO tblTimeLesson (Lesson, TimeLesson) VALUES (?, ?)");
        for (size_t i = 0; i < inst.lessonTimes.size(); ++i)
            (add << qint64(i + 1) << inst.lessonTimes[i]).run();
    }
    std::vector<qint64> groups;
    {
        Insert add(db, "INSERT INTO tblGroups ([Group], Course, GroupColor, Key_TypeFaculty, "
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
        Insert add(db, "INSERT INTO tblDisciplines (Discipline, Discipline1, DiscType, DiscColor, "
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
        Insert add(db,
                   "INSERT INTO tblAuditories (Auditoria, Corpus, CommentAud) VALUES (?, ?, ?)");
        for (const Room &r : inst.rooms)
            rooms.push_back((add << r.name << r.corpus << r.comment).run());
    }
    std::vector<qint64> tutors;
    {
        Insert add(db, "INSERT INTO tblTutors (Tutor, DefaultAud) VALUES (?, ?)");
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
        Insert add(db, "INSERT INTO tblJob (Key_Tutor, Key_Discipline) VALUES (?, ?)");
        for (const Job &j : inst.jobs)
            jobs.push_back(
                (add << tutors[size_t(j.tutor)] << disciplines[size_t(j.discipline)]).run());
    }
    {
        Insert add(db, "INSERT INTO tblJobList (Key_Job, Key_Group, Hours, DateExam) "
                       "VALUES (?, ?, ?, ?)");
        for (const Line &l : inst.lines)
            (add << jobs[size_t(l.job)] << groups[size_t(l.group)] << qint64(l.hours) << l.exam)
                .run();
    }

    const Calendar &cal = inst.calendar;
    {
        Insert add(db, "INSERT INTO tblAutoTable (DateType, DateStart, DateEnd) VALUES (?, ?, ?)");
        (add << QStringLiteral("Session") << cal.yearStart << cal.yearEnd).run();
        (add << QStringLiteral("Rest") << cal.restStart << cal.restEnd).run();
        for (const QDate &d : cal.holidays)
            (add << QStringLiteral("Selebrate") << d).null().run();
    }
    {
        Insert add(db, "INSERT INTO tblTutorOut (KeyTutor, FreeDay, FreeLesson, FreeLocalDate, "
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
        Insert add(db, "INSERT INTO tblTimeTableList (Date, ReadOnly) VALUES (?, ?)");
        const QDate protectedUntil = cal.workDays[size_t(cal.readOnlyDays - 1)];
        for (auto &[date, key] : dateKeys)
            key = (add << date << qint64(date <= protectedUntil)).run();
    }
    // The lessons go in faster with the table's indexes built once afterwards.
    const QStringList indexes = dropIndexes(db, "tblTimeTableContent");
    {
        Insert add(db, "INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, Key_Group, "
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
        execute(db, sql.toUtf8());
    {
        Insert add(db, "INSERT INTO tblNotes (Key_TTL, Note) VALUES (?, ?)");
        for (const Note &n : inst.notes)
            (add << dateKeys.at(n.date) << n.text).run();
    }
}

} // namespace

void writeDemoDocument(const QString &path, DemoSize size)
{
    writeDemoDocument(path, size, academicYearStart().year());
}

void writeDemoDocument(const QString &path, DemoSize size, int academicYear)
{
    const Institution inst = buildInstitution(size, academicYear);

    writeNewDocument(path, [&](const Database &db) {
        Database::Transaction transaction(db);
        writeInstitution(db.connection()->handle(), inst);
        transaction.commit();
    });
}

} // namespace korvesta
