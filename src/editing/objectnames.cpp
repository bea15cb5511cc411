#include "objectnames.h"

#include "data/database.h"
#include "data/queries.h"
#include "data/recordset.h"

#include <QHash>

#include <functional>

#include <vector>

namespace korvesta {

namespace {

// Compared without letter case and with runs of blanks as one.
QString folded(const QString &text)
{
    return text.simplified().toCaseFolded();
}

struct Candidate
{
    NamedObject object;
    QStringList keys; // folded texts that name it whole
    QString shortKey; // folded text that names it when no other has it (surname, room)
};

QString groupForm(const QString &group, const QString &course, const QString &faculty)
{
    QString text = group.simplified() + QStringLiteral(" (") + course.simplified() + u')';
    if (!faculty.isEmpty())
        text += u' ' + faculty.simplified();
    return text;
}

std::vector<Candidate> groups(const Database &db)
{
    std::vector<Candidate> found;
    for (Recordset rs = db.openRecordset(QStringLiteral(
             "SELECT tblGroups.Key, tblGroups.[Group], tblGroups.Course, "
             "Nz(tblTypeFaculty.TypeFaculty, 'отсутствует') FROM tblGroups LEFT JOIN "
             "tblTypeFaculty ON tblGroups.Key_TypeFaculty = tblTypeFaculty.Key "
             "ORDER BY tblGroups.Course, tblGroups.[Group], tblGroups.Key;"));
         !rs.isEof(); rs.moveNext()) {
        Candidate c;
        c.object = {rs.value(0).toInt(), QString(), rs.value(1).toString(),
                    rs.value(2).toString(), rs.value(3).toString()};
        found.push_back(c);
    }
    // The faculty is part of the name only where the name and course alone are shared.
    QHash<QString, int> named; // the folded "name (course)" -> groups that have it
    for (Candidate &c : found) {
        const NamedObject &g = c.object;
        c.keys << folded(groupForm(g.group, g.course, QString()))
               << folded(groupForm(g.group, g.course, g.faculty));
        c.shortKey = folded(g.group);
        ++named[c.keys.front()];
    }
    for (Candidate &c : found) {
        const bool shared = named.value(c.keys.front()) > 1;
        NamedObject &g = c.object;
        g.canonical = groupForm(g.group, g.course, shared ? g.faculty : QString());
        if (!shared)
            g.faculty.clear();
    }
    return found;
}

std::vector<Candidate> simpleList(const Database &db, const QString &sql,
                                  const std::function<void(Candidate &, const Recordset &)> &fill)
{
    std::vector<Candidate> found;
    for (Recordset rs = db.openRecordset(sql); !rs.isEof(); rs.moveNext()) {
        Candidate c;
        c.object.key = rs.value(0).toInt();
        fill(c, rs);
        found.push_back(c);
    }
    return found;
}

std::vector<Candidate> candidates(const Database &db, NamedKind kind)
{
    switch (kind) {
    case NamedKind::Group:
        return groups(db);
    case NamedKind::Tutor:
        return simpleList(db,
                          QStringLiteral("SELECT tblTutors.Key, tblTutors.Tutor FROM tblTutors "
                                         "ORDER BY tblTutors.Tutor, tblTutors.Key;"),
                          [](Candidate &c, const Recordset &rs) {
                              c.object.canonical = rs.value(1).toString().simplified();
                              c.keys << folded(c.object.canonical);
                              c.shortKey = folded(c.object.canonical.section(u' ', 0, 0));
                          });
    case NamedKind::Auditorium:
        return simpleList(
            db,
            QStringLiteral("SELECT tblAuditories.Key, tblAuditories.Auditoria, "
                           "tblAuditories.Corpus FROM tblAuditories ORDER BY "
                           "tblAuditories.Auditoria, tblAuditories.Corpus, tblAuditories.Key;"),
            [](Candidate &c, const Recordset &rs) {
                const QString room = rs.value(1).toString().simplified();
                c.object.canonical =
                    room + QStringLiteral(" (") + rs.value(2).toString().simplified() + u')';
                c.keys << folded(c.object.canonical);
                c.shortKey = folded(room);
            });
    case NamedKind::Discipline:
        return simpleList(db,
                          QStringLiteral("SELECT tblDisciplines.Key, tblDisciplines.Discipline, "
                                         "tblDisciplines.Discipline1 FROM tblDisciplines ORDER "
                                         "BY tblDisciplines.Discipline, tblDisciplines.Key;"),
                          [](Candidate &c, const Recordset &rs) {
                              c.object.canonical = rs.value(1).toString().simplified();
                              c.keys << folded(c.object.canonical)
                                     << folded(rs.value(2).toString());
                          });
    }
    return {};
}

QString kindWord(NamedKind kind)
{
    switch (kind) {
    case NamedKind::Group:
        return QStringLiteral("группы");
    case NamedKind::Tutor:
        return QStringLiteral("преподавателя");
    case NamedKind::Auditorium:
        return QStringLiteral("аудитории");
    case NamedKind::Discipline:
        return QStringLiteral("дисциплины");
    }
    return QString();
}

// A group's text with "  (" read as " (", so that every spelling compares alike.
QString groupKey(const QString &text)
{
    const GroupText parts = splitGroupText(text);
    if (!parts.hasCourse)
        return folded(text);
    return folded(groupForm(parts.group, parts.course, parts.faculty));
}

} // namespace

ObjectLookup findObject(const Database &db, NamedKind kind, const QString &text)
{
    const QString key = kind == NamedKind::Group ? groupKey(text) : folded(text);
    if (key.isEmpty())
        return {std::nullopt, QStringLiteral("Не указано имя %1").arg(kindWord(kind))};
    const std::vector<Candidate> all = candidates(db, kind);
    std::vector<const Candidate *> whole, partial;
    for (const Candidate &c : all) {
        if (c.keys.contains(key))
            whole.push_back(&c);
        else if (!c.shortKey.isEmpty() && c.shortKey == key)
            partial.push_back(&c);
    }
    const std::vector<const Candidate *> &found = whole.empty() ? partial : whole;
    if (found.size() == 1)
        return {found.front()->object, QString()};
    if (found.empty())
        return {std::nullopt,
                QStringLiteral("Нет %1 «%2»").arg(kindWord(kind), text.simplified())};
    QStringList names;
    for (const Candidate *c : found)
        names << c->object.canonical;
    const QString many = kind == NamedKind::Tutor        ? QStringLiteral("преподавателям")
                         : kind == NamedKind::Group      ? QStringLiteral("группам")
                         : kind == NamedKind::Auditorium ? QStringLiteral("аудиториям")
                                                          : QStringLiteral("дисциплинам");
    return {std::nullopt,
            QStringLiteral("«%1» подходит нескольким %2: %3 - укажите точнее")
                .arg(text.simplified(), many, names.join(QStringLiteral(", "))),
            true};
}

std::vector<NamedObject> namedObjects(const Database &db, NamedKind kind)
{
    std::vector<NamedObject> found;
    for (Candidate &c : candidates(db, kind))
        found.push_back(std::move(c.object));
    return found;
}

} // namespace korvesta
