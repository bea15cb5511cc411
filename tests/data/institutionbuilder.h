#pragma once

#include "data/database.h"

#include <QDate>
#include <QStringList>
#include <QVariant>

namespace korvesta {

// Adds the records of a test institution through the engine and returns their keys.
class InstitutionBuilder
{
public:
    explicit InstitutionBuilder(Database db);

    const Database &db() const { return m_db; }

    // A row of fields given as name, value, name, value...; an invalid value stays Null.
    // Returns the new Key (0 for a table without one).
    int add(const QString &table, const QVariantList &namesAndValues);
    // The tutor's job for the discipline and the date's row, each added when missing.
    int job(int tutor, int discipline);
    int day(const QDate &date, bool readOnly = false);
    int lesson(const QDate &date, int lesson, int job, int group, int auditorium, int subGroup = 0,
               int typeLesson = 1);
    void period(const QString &type, const QDate &start, const QDate &end);

    // Rows of SQLite's own SQL on the document's connection, past the program's dialect: the
    // independent answer tests compare with. Cells joined by '|'.
    QStringList raw(const QString &sql) const;
    qint64 rawNumber(const QString &sql) const;

private:
    Database m_db;
};

// The awkward cases gathered in one institution. `past` is the Monday of last week (held
// lessons), `today` holds a lesson too (held), `future` is a week from today.
//
// Groups: П-9 and П-10 of course 1 (type keys 1); Д'Артаньян of course 2 with no type keys
// at all (Null); ИС-21 of course 2 twice, in ФИТ (Заочная, Внебюджетная) and in ФЭМ; Э-31 of
// course 3 without load. Tutors: Иванов (usual auditorium "101 (Главный)"), Петров (none; an
// exception of every kind), О'Нил (usual "202 (второй)", matched whatever the case), Сидоров
// (no load). On `past`: Иванов's lecture for П-9 and П-10 at lesson 1, П-9 in two subgroups at
// lesson 2. `past` + 1 is protected; exams on `past` + 4.
struct SampleInstitution
{
    QDate past, today, future;
    int facultyFit = 0, facultyFem = 0;
    int p9 = 0, p10 = 0, artagnan = 0, isFit = 0, isFem = 0, noLoad = 0;
    int math = 0, physics = 0;
    int a101 = 0, a202 = 0, lab = 0;
    int ivanov = 0, petrov = 0, oneil = 0, sidorov = 0;
    int ivanovMath = 0, petrovMath = 0, petrovPhysics = 0, oneilPhysics = 0;
    int lineIvanovP9 = 0, linePetrovArtagnan = 0;

    static SampleInstitution build(InstitutionBuilder &b,
                                   const QDate &today = QDate::currentDate());
};

} // namespace korvesta
