#include "loadlines.h"

#include "data/bulkwrite.h"
#include "data/database.h"
#include "data/prompts.h"
#include "data/queries.h"
#include "data/recordset.h"

namespace korvesta {

namespace {

// The faculty of a group entered without one.
const QString kNoFaculty = QStringLiteral("отсутствует");

// Text as the document's comparison of names sees it: letter case ignored, nothing trimmed.
QString folded(const QString &text)
{
    return text.toCaseFolded();
}

// The dialect's Trim: spaces only, not tabs or line breaks.
QString spacesTrimmed(const QString &text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

LoadLines::LoadLines(const Database &db)
    : m_db(db)
{
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblTutors.Key, tblTutors.Tutor FROM tblTutors "
                            "ORDER BY tblTutors.Key;"));
         !rs.isEof(); rs.moveNext()) {
        if (!rs.value(1).isNull())
            addTutorName(rs.value(0).toInt(), rs.value(1).toString());
    }
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblDisciplines.Key, tblDisciplines.Discipline "
                            "FROM tblDisciplines ORDER BY tblDisciplines.Key;"));
         !rs.isEof(); rs.moveNext()) {
        if (!rs.value(1).isNull())
            addDisciplineName(rs.value(0).toInt(), rs.value(1).toString());
    }
    readGroups(QStringLiteral("True"));
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblAuditories.Auditoria & ' (' & tblAuditories.Corpus & ')', "
                            "tblAuditories.Auditoria FROM tblAuditories "
                            "ORDER BY tblAuditories.Key;"));
         !rs.isEof(); rs.moveNext()) {
        Auditorium a;
        a.display = rs.value(0).toString();
        a.displayKey = folded(a.display);
        a.hasName = !rs.value(1).isNull();
        a.nameKey = folded(rs.value(1).toString());
        m_auditoriums.push_back(a);
    }
    // In the order of the keys, so that the first job of a tutor and discipline is kept.
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblJob.Key, tblJob.Key_Tutor, tblJob.Key_Discipline "
                            "FROM tblJob ORDER BY tblJob.Key;"));
         !rs.isEof(); rs.moveNext()) {
        const std::pair job(rs.value(1).toInt(), rs.value(2).toInt());
        if (!rs.value(1).isNull() && !rs.value(2).isNull() && !m_jobs.contains(job))
            m_jobs.insert(job, rs.value(0).toInt());
    }
    for (Recordset rs = db.openRecordset(
             QStringLiteral("SELECT tblJobList.Key_Job, tblJobList.Key_Group FROM tblJobList;"));
         !rs.isEof(); rs.moveNext()) {
        if (!rs.value(0).isNull() && !rs.value(1).isNull())
            m_lines.insert({rs.value(0).toInt(), rs.value(1).toInt()});
    }
    m_insertTutor = std::make_unique<BulkInsert>(
        db, "INSERT INTO tblTutors (Tutor, DefaultAud) VALUES (?, ?)");
    m_insertJob = std::make_unique<BulkInsert>(
        db, "INSERT INTO tblJob (Key_Tutor, Key_Discipline) VALUES (?, ?)");
    m_insertLine = std::make_unique<BulkInsert>(
        db, "INSERT INTO tblJobList (Key_Job, Key_Group, Hours) VALUES (?, ?, ?)");
}

LoadLines::~LoadLines() = default;

void LoadLines::addTutorName(int key, const QString &name)
{
    const QString byName = folded(name);
    if (!m_tutors.contains(byName))
        m_tutors.insert(byName, key);
    m_tutorsUpper.insert(folded(spacesTrimmed(name).toUpper()));
}

void LoadLines::addDisciplineName(int key, const QString &name)
{
    const QString byName = folded(name);
    if (!m_disciplines.contains(byName))
        m_disciplines.insert(byName, key);
}

// The groups that match `condition`, in the order of their keys after those known.
void LoadLines::readGroups(const QString &condition)
{
    for (Recordset rs = m_db.openRecordset(
             QStringLiteral("SELECT tblGroups.Key, tblGroups.Group, tblGroups.Course, "
                            "Nz(tblTypeFaculty.TypeFaculty,'%1') "
                            "FROM tblGroups LEFT JOIN tblTypeFaculty ON "
                            "tblGroups.Key_TypeFaculty = tblTypeFaculty.Key "
                            "WHERE %2 ORDER BY tblGroups.Key;")
                 .arg(kNoFaculty, condition));
         !rs.isEof(); rs.moveNext()) {
        if (rs.value(1).isNull())
            continue;
        Group g;
        g.key = rs.value(0).toInt();
        if (!rs.value(2).isNull())
            g.course = folded(rs.value(2).toString());
        g.faculty = folded(rs.value(3).toString());
        m_groups[folded(rs.value(1).toString())].push_back(g);
    }
}

void LoadLines::disciplineAdded(int key)
{
    const Recordset rs = m_db.openRecordset(
        QStringLiteral("SELECT tblDisciplines.Discipline FROM tblDisciplines "
                       "WHERE tblDisciplines.Key = %1;")
            .arg(key));
    if (!rs.isEof() && !rs.value(0).isNull())
        addDisciplineName(key, rs.value(0).toString());
}

void LoadLines::groupAdded(int key)
{
    readGroups(QStringLiteral("tblGroups.Key = %1").arg(key));
}

// The group the text names: of its name (and course, when the text gives one), the one of
// the faculty named (or of none) before the others, else the first.
int LoadLines::groupKey(const QString &groupText) const
{
    const GroupText name = splitGroupText(groupText);
    const auto found = m_groups.constFind(folded(name.group));
    if (found == m_groups.constEnd())
        return 0;
    const QString course = folded(name.course);
    const QString faculty = folded(name.faculty.isEmpty() ? kNoFaculty : name.faculty);
    int first = 0;
    for (const Group &g : *found) {
        if (name.hasCourse && g.course != course)
            continue;
        if (g.faculty == faculty)
            return g.key;
        if (first == 0)
            first = g.key;
    }
    return first;
}

// The auditorium typed as the tutor's usual one, in its display form "101 (Главный)"; a bare
// name is taken when it names one of the list.
std::optional<QString> LoadLines::auditoriumDisplay(const QString &text) const
{
    const QString key = folded(text);
    const Auditorium *byName = nullptr;
    for (const Auditorium &a : m_auditoriums) {
        if (a.displayKey == key)
            return a.display;
        if (!byName && a.hasName && a.nameKey == key)
            byName = &a;
    }
    if (byName)
        return byName->display;
    return std::nullopt;
}

bool LoadLines::tutorExists(const QString &tutor) const
{
    return m_tutorsUpper.contains(folded(tutor.toUpper()));
}

int LoadLines::tutorKey(const QString &tutor) const
{
    return m_tutors.value(folded(tutor));
}

int LoadLines::disciplineKey(const QString &discipline) const
{
    return m_disciplines.value(folded(discipline));
}

int LoadLines::jobKey(int tutor, int discipline) const
{
    return m_jobs.value({tutor, discipline});
}

bool LoadLines::add(Prompts &prompts, LoadAddition addition, const LoadEntry &entry)
{
    const std::optional<CheckedLoadLine> line = checkLoadAddition(*this, prompts, addition, entry);
    if (!line)
        return false;
    int keyTutor = line->keyTutor;
    const int keyDiscipline = line->keyDiscipline;
    const int keyGroup = line->keyGroup;

    // A new tutor has no job yet and a new job no line, so that the line found standing
    // below never leaves a tutor or a job written for it.
    int job = addition == LoadAddition::Tutor ? 0 : m_jobs.value({keyTutor, keyDiscipline});
    if (job != 0 && m_lines.contains({job, keyGroup})) {
        prompts.message(loadLineExistsText(entry), Prompts::Icon::Warning);
        return false;
    }
    Database::Transaction transaction(m_db);
    m_db.lockLoad();
    if (addition == LoadAddition::Tutor) {
        *m_insertTutor << line->tutor;
        if (line->defaultAud.isEmpty())
            m_insertTutor->null();
        else
            *m_insertTutor << line->defaultAud;
        keyTutor = int(m_insertTutor->run());
        job = m_jobs.value({keyTutor, keyDiscipline});
    }
    const bool newJob = job == 0;
    if (newJob) {
        *m_insertJob << keyTutor << keyDiscipline;
        job = int(m_insertJob->run());
    }
    *m_insertLine << job << keyGroup << line->hours;
    m_insertLine->run();
    transaction.commit();

    // The lists learn the rows only once they are written.
    if (addition == LoadAddition::Tutor)
        addTutorName(keyTutor, line->tutor);
    if (newJob)
        m_jobs.insert({keyTutor, keyDiscipline}, job);
    m_lines.insert({job, keyGroup});
    return true;
}

} // namespace korvesta
