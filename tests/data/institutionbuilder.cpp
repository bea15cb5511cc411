#include "institutionbuilder.h"

#include "data/sqliteconnection.h"
#include "data/recordset.h"

#include <sqlite3.h>

#include <stdexcept>

namespace korvesta {

InstitutionBuilder::InstitutionBuilder(Database db)
    : m_db(std::move(db))
{}

int InstitutionBuilder::add(const QString &table, const QVariantList &namesAndValues)
{
    Recordset rs = m_db.openRecordset(QStringLiteral("SELECT %1.* FROM %1 WHERE False").arg(table));
    rs.addNew();
    for (qsizetype i = 0; i + 1 < namesAndValues.size(); i += 2) {
        if (namesAndValues[i + 1].isValid())
            rs.setValue(namesAndValues[i].toString(), namesAndValues[i + 1]);
    }
    const int key = rs.fieldIndex("Key") >= 0 ? rs.value("Key").toInt() : 0;
    rs.update();
    return key;
}

int InstitutionBuilder::job(int tutor, int discipline)
{
    const qint64 key =
        rawNumber(QString("SELECT Key FROM tblJob WHERE Key_Tutor=%1 AND Key_Discipline=%2")
                      .arg(tutor)
                      .arg(discipline));
    return key ? int(key) : add("tblJob", {"Key_Tutor", tutor, "Key_Discipline", discipline});
}

int InstitutionBuilder::day(const QDate &date, bool readOnly)
{
    const qint64 key = rawNumber("SELECT Key FROM tblTimeTableList WHERE Date='" +
                                 date.toString(Qt::ISODate) + "'");
    return key ? int(key) : add("tblTimeTableList", {"Date", date, "ReadOnly", readOnly});
}

int InstitutionBuilder::lesson(const QDate &date, int lesson, int job, int group, int auditorium,
                               int subGroup, int typeLesson)
{
    return add("tblTimeTableContent",
               {"Key_TTList", day(date), "Lesson", lesson, "Key_Job", job, "Key_Group", group,
                "SubGroup", subGroup, "Key_Aud", auditorium, "Key_TypeLesson", typeLesson});
}

void InstitutionBuilder::period(const QString &type, const QDate &start, const QDate &end)
{
    add("tblAutoTable", {"DateType", type, "DateStart", start, "DateEnd",
                         end.isValid() ? QVariant(end) : QVariant()});
}

QStringList InstitutionBuilder::raw(const QString &sql) const
{
    sqlite3 *handle = sqliteOf(*m_db.connection()).handle();
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(handle)) + ": " + text.constData());
    QStringList rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList cells;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            cells << QString::fromUtf8(
                reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)));
        rows << cells.join(u'|');
    }
    sqlite3_finalize(stmt);
    return rows;
}

qint64 InstitutionBuilder::rawNumber(const QString &sql) const
{
    const QStringList rows = raw(sql);
    return rows.isEmpty() ? 0 : rows.first().toLongLong();
}

SampleInstitution SampleInstitution::build(InstitutionBuilder &b, const QDate &today)
{
    SampleInstitution s;
    s.today = today;
    s.past = today.addDays(1 - today.dayOfWeek() - 7);
    s.future = today.addDays(7);
    const QDate p = s.past;
    const QVariant none;

    auto group = [&](const char *name, const char *course, QVariant faculty, QVariant tuition,
                     QVariant finance) {
        return b.add("tblGroups", {"Group", name, "Course", course, "Key_TypeFaculty", faculty,
                                   "Key_TypeTuition", tuition, "Key_TypeFinance", finance});
    };
    s.facultyFit = b.add("tblTypeFaculty", {"TypeFaculty", "ФИТ"});
    s.facultyFem = b.add("tblTypeFaculty", {"TypeFaculty", "ФЭМ"});
    s.p10 = group("П-10", "1", 1, 1, 1);
    s.p9 = group("П-9", "1", 1, 1, 1);
    s.artagnan = group("Д'Артаньян", "2", none, none, none);
    s.isFit = group("ИС-21", "2", s.facultyFit, 2, 2);
    s.isFem = group("ИС-21", "2", s.facultyFem, 1, 1);
    s.noLoad = group("Э-31", "3", 1, 1, 1);

    s.math = b.add("tblDisciplines",
                   {"Discipline", "Матем", "Discipline1", "Математика", "DiscType", 1});
    s.physics = b.add("tblDisciplines",
                      {"Discipline", "Физ", "Discipline1", "Физика 'общая'", "DiscType", 1});
    s.a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
    s.a202 = b.add("tblAuditories", {"Auditoria", "202", "Corpus", "Второй"});
    s.lab = b.add("tblAuditories", {"Auditoria", "Лаб (хим)", "Corpus", "Главный"});
    s.ivanov = b.add("tblTutors", {"Tutor", "Иванов И.И.", "DefaultAud", "101 (Главный)"});
    s.petrov = b.add("tblTutors", {"Tutor", "Петров П.П."});
    s.oneil = b.add("tblTutors", {"Tutor", "О'Нил", "DefaultAud", "202 (второй)"});
    s.sidorov = b.add("tblTutors", {"Tutor", "Сидоров"});

    s.ivanovMath = b.job(s.ivanov, s.math);
    s.petrovMath = b.job(s.petrov, s.math);
    s.petrovPhysics = b.job(s.petrov, s.physics);
    s.oneilPhysics = b.job(s.oneil, s.physics);
    auto load = [&](int job, int groupKey, int hours, const QVariant &exam = {}) {
        return b.add("tblJobList",
                     {"Key_Job", job, "Key_Group", groupKey, "Hours", hours, "DateExam", exam});
    };
    s.lineIvanovP9 = load(s.ivanovMath, s.p9, 40, p.addDays(4));
    load(s.ivanovMath, s.p10, 30);
    load(s.ivanovMath, s.isFit, 2, p.addDays(4));
    load(s.ivanovMath, s.isFem, 10);
    load(s.petrovMath, s.p9, 20);
    load(s.petrovPhysics, s.p10, 10);
    s.linePetrovArtagnan = load(s.petrovPhysics, s.artagnan, 5);
    load(s.oneilPhysics, s.p9, 10);

    b.lesson(p, 1, s.ivanovMath, s.p9, s.a101);
    b.lesson(p, 1, s.ivanovMath, s.p10, s.a101);
    b.lesson(p, 2, s.petrovMath, s.p9, s.a202, 1, 2);
    b.lesson(p, 2, s.oneilPhysics, s.p9, s.lab, 2, 3);
    b.lesson(p, 3, s.petrovPhysics, s.artagnan, s.a202);
    b.day(p.addDays(1), true);
    b.lesson(p.addDays(1), 1, s.ivanovMath, s.isFit, s.a101);
    b.lesson(p.addDays(1), 2, s.ivanovMath, s.isFit, s.a101);
    b.lesson(p.addDays(1), 3, s.ivanovMath, s.isFem, s.a101);
    b.lesson(today, 4, s.ivanovMath, s.p9, s.a101);
    b.lesson(s.future, 1, s.ivanovMath, s.p9, s.a101);
    b.lesson(s.future, 1, s.petrovPhysics, s.p10, s.a202);

    // Петров: a whole date, one lesson of a date, a weekday, one lesson of a weekday, one
    // lesson every day.
    const QVariant out[][4] = {{none, none, p.addDays(2), 1},
                               {none, 2, p.addDays(3), 2},
                               {3, none, none, 3},
                               {5, 4, none, 4},
                               {none, 6, none, 1}};
    for (const auto &o : out)
        b.add("tblTutorOut", {"KeyTutor", s.petrov, "FreeDay", o[0], "FreeLesson", o[1],
                              "FreeLocalDate", o[2], "KeyTypeOut", o[3]});
    b.add("tblNotes", {"Key_TTL", b.day(p), "Note", "Собрание 'кафедры'"});
    return s;
}

} // namespace korvesta
