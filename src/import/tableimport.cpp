#include "tableimport.h"

#include "rowprompts.h"

#include "loadlines.h"

#include "data/database.h"
#include "data/history.h"
#include "data/prompts.h"
#include "data/queries.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/trialrun.h"
#include "editing/listednames.h"
#include "editing/loadchanges.h"
#include "editing/referencesaving.h"
#include "settings/settingsrecord.h"

#include <QSet>

namespace korvesta {

namespace {

class RowCells
{
public:
    RowCells(const ColumnMapping &mapping, const QStringList &cells)
        : m_mapping(mapping)
        , m_cells(cells)
    {}
    bool has(const char *key) const { return m_mapping.column(QString::fromLatin1(key)) >= 0; }
    QString operator[](const char *key) const
    {
        const int column = m_mapping.column(QString::fromLatin1(key));
        return column < 0 ? QString() : m_cells.value(column).trimmed();
    }

private:
    const ColumnMapping &m_mapping;
    const QStringList &m_cells;
};

QString quoted(const QString &text)
{
    return QStringLiteral("«") + text + QStringLiteral("»");
}

// The names the load's lists hold, read once: the rows of a large load name the same tutors,
// disciplines and groups again and again. Only the import itself adds to the lists meanwhile.
class KnownNames
{
public:
    explicit KnownNames(const Database &db)
    {
        readInto(db, QStringLiteral("SELECT Tutor FROM tblTutors;"), m_tutors);
        readInto(db, QStringLiteral("SELECT Discipline FROM tblDisciplines;"), m_disciplines);
        Recordset rs = db.openRecordset(QStringLiteral("SELECT tblGroups.Group, tblGroups.Course FROM tblGroups;"));
        for (; !rs.isEof(); rs.moveNext()) {
            const QString group = key(rs.value(0).toString());
            const QString course = key(rs.value(1).toString());
            m_groups.insert(group);
            m_groups.insert(group + u'\n' + course);
        }
    }
    bool hasTutor(const QString &name) const { return m_tutors.contains(key(name)); }
    bool hasDiscipline(const QString &name) const { return m_disciplines.contains(key(name)); }
    bool hasGroup(const GroupText &name) const
    {
        return m_groups.contains(key(name.group)
                                 + (name.hasCourse ? u'\n' + key(name.course) : QString()));
    }
    void addTutor(const QString &name) { m_tutors.insert(key(name)); }
    void addDiscipline(const QString &name) { m_disciplines.insert(key(name)); }
    void addGroup(const GroupText &name)
    {
        m_groups.insert(key(name.group));
        m_groups.insert(key(name.group) + u'\n' + key(name.course));
    }

private:
    static QString key(const QString &name) { return name.trimmed().toCaseFolded(); }
    static void readInto(const Database &db, const QString &sql, QSet<QString> &names)
    {
        Recordset rs = db.openRecordset(sql);
        for (; !rs.isEof(); rs.moveNext())
            names.insert(key(rs.value(0).toString()));
    }

    QSet<QString> m_tutors;
    QSet<QString> m_disciplines;
    QSet<QString> m_groups;
};

// One reference record from a row; what was added, or nothing with the reason in prompts.
std::optional<QString> importReference(const Database &db, const SettingsRecord &settings,
                                       RowPrompts &prompts, ImportKind kind, const RowCells &row,
                                       ListLookups &listed)
{
    switch (kind) {
    case ImportKind::Groups: {
        const GroupRow group{row["course"], row["group"], std::nullopt, row["faculty"],
                             row["tuition"], row["finance"], row["comment"]};
        if (!saveGroup(db, settings, prompts, group, std::nullopt, &listed.groups).saved)
            return std::nullopt;
        return QStringLiteral("группа ")
               + quoted(group.group + QStringLiteral("  (") + group.course.toUpper()
                        + QStringLiteral(")"));
    }
    case ImportKind::Tutors: {
        const TutorRow tutor{row["tutor"], row["auditorium"]};
        if (!saveTutor(db, prompts, tutor, std::nullopt, &listed.tutors).saved)
            return std::nullopt;
        return QStringLiteral("преподаватель ") + quoted(tutor.tutor);
    }
    case ImportKind::Disciplines: {
        // Without a column of full names a discipline is known by its short name alone.
        const DisciplineRow discipline{row["type"], row["discipline"],
                                       row.has("discipline1") ? row["discipline1"]
                                                              : row["discipline"],
                                       std::nullopt, row["level"]};
        if (!saveDiscipline(db, settings, prompts, discipline, std::nullopt, &listed.disciplines)
                 .saved)
            return std::nullopt;
        return QStringLiteral("дисциплина ") + quoted(discipline.discipline);
    }
    case ImportKind::Auditoriums: {
        const AuditoriumRow auditorium{row["corpus"], row["auditorium"], row["comment"]};
        if (!saveAuditorium(db, prompts, auditorium, std::nullopt, &listed.auditoriums).saved)
            return std::nullopt;
        return QStringLiteral("аудитория ")
               + quoted(auditorium.auditoria + QStringLiteral(" (")
                        + corpusFromCell(auditorium.corpus) + QStringLiteral(")"));
    }
    case ImportKind::Load:
        break;
    }
    return std::nullopt;
}

// A load line from a row, adding first what the lists lack when asked to.
std::optional<QString> importLoadLine(const Database &db, const SettingsRecord &settings,
                                      RowPrompts &prompts, const RowCells &row,
                                      bool createMissing, KnownNames &known, LoadLines *lines)
{
    LoadEntry entry;
    entry.tutor = row["tutor"];
    entry.auditorium = row["auditorium"];
    entry.discipline = row["discipline"];
    entry.group = row["group"];
    if (!row["course"].isEmpty() && !entry.group.isEmpty())
        entry.group += QStringLiteral("  (") + row["course"].toUpper() + QStringLiteral(")");
    entry.hours = row["hours"];

    QStringList created;
    const bool newTutor = !entry.tutor.isEmpty() && !known.hasTutor(entry.tutor);
    if (createMissing && !entry.discipline.isEmpty() && !known.hasDiscipline(entry.discipline)) {
        const QString full = row["discipline1"].isEmpty() ? entry.discipline : row["discipline1"];
        const SaveResult saved =
            saveDiscipline(db, settings, prompts,
                           DisciplineRow{QString(), entry.discipline, full, std::nullopt,
                                         QString()},
                           std::nullopt);
        if (!saved.saved)
            return std::nullopt;
        if (lines)
            lines->disciplineAdded(saved.key);
        known.addDiscipline(entry.discipline);
        created << QStringLiteral("дисциплина ") + quoted(entry.discipline);
    }
    const GroupText group = splitGroupText(entry.group);
    if (createMissing && !group.group.isEmpty() && !known.hasGroup(group)) {
        const SaveResult saved =
            saveGroup(db, settings, prompts,
                      GroupRow{group.course, group.group, std::nullopt, group.faculty, QString(),
                               QString(), QString()},
                      std::nullopt);
        if (!saved.saved)
            return std::nullopt;
        if (lines)
            lines->groupAdded(saved.key);
        known.addGroup(group);
        created << QStringLiteral("группа ") + quoted(entry.group);
    }
    const LoadAddition addition =
        createMissing && newTutor ? LoadAddition::Tutor : LoadAddition::Discipline;
    if (!(lines ? lines->add(prompts, addition, entry) : addToLoad(db, prompts, addition, entry)))
        return std::nullopt;
    if (addition == LoadAddition::Tutor) {
        known.addTutor(entry.tutor);
        created << QStringLiteral("преподаватель ") + quoted(entry.tutor);
    }
    QString text = QStringLiteral("нагрузка: ") + entry.tutor + QStringLiteral(", ")
                   + entry.discipline + QStringLiteral(", ") + entry.group + QStringLiteral(", ")
                   + entry.hours + QStringLiteral(" ч.");
    if (!created.isEmpty())
        text += QStringLiteral("; в списки добавлены: ") + created.join(QStringLiteral(", "));
    return text;
}

void importRows(const Database &db, const SettingsRecord &settings, const SheetTable &table,
                const ColumnMapping &mapping, const ImportOptions &options, ImportReport &report)
{
    std::optional<KnownNames> known;
    ListLookups listed; // each list read once, not once a row
    // The load's lines are checked against lists read once; a document that cannot be written
    // goes the way of the entry row, which refuses the first change with its reason.
    std::optional<LoadLines> lines;
    if (mapping.kind == ImportKind::Load) {
        known.emplace(db);
        if (!db.isReadOnly() && !db.isFromNewerVersion())
            lines.emplace(db);
    }
    for (size_t i = 1; i < table.rows.size(); ++i) {
        const SheetRow &sheetRow = table.rows[i];
        const RowCells row(mapping, sheetRow.cells);
        RowPrompts prompts;
        const std::optional<QString> added =
            mapping.kind == ImportKind::Load
                ? importLoadLine(db, settings, prompts, row, options.createMissing, *known,
                                 lines ? &*lines : nullptr)
                : importReference(db, settings, prompts, mapping.kind, row, listed);
        ImportRowResult result;
        result.number = sheetRow.number;
        result.added = added.has_value();
        result.text = added ? *added
                            : (prompts.reason.isEmpty() ? QStringLiteral("строка не добавлена")
                                                        : prompts.reason);
        ++(result.added ? report.added : report.skipped);
        report.rows.push_back(std::move(result));
    }
}

} // namespace

QStringList sheetHeaders(const SheetTable &table)
{
    return table.rows.empty() ? QStringList() : table.rows.front().cells;
}

QString ImportReport::text() const
{
    QString out;
    if (!source.isEmpty())
        out += QStringLiteral("Источник: ") + source + u'\n';
    if (!refusal.isEmpty())
        return out + refusal + u'\n';
    out += QStringLiteral("Добавлено строк: %1, пропущено: %2. %3\n")
               .arg(added)
               .arg(skipped)
               .arg(written ? QStringLiteral("Документ изменён.")
                            : QStringLiteral("Документ не изменён."));
    for (const ImportRowResult &row : rows) {
        out += QStringLiteral("Строка %1\t%2\t%3\n")
                   .arg(row.number)
                   .arg(row.added ? QStringLiteral("добавлено") : QStringLiteral("пропущено"),
                        row.text);
    }
    return out;
}

ImportReport importTable(const Database &db, const SettingsRecord &settings, Prompts &prompts,
                         const SheetTable &table, const ColumnMapping &mapping,
                         const ImportOptions &options)
{
    ImportReport report;
    report.source = table.source;
    if (!table.ok()) {
        report.refusal = table.error;
        return report;
    }
    if (table.rows.size() < 2) {
        report.refusal = QStringLiteral("В таблице нет строк для импорта: первая строка - "
                                        "названия столбцов, данные - под ней");
        return report;
    }
    // Each reference row is checked against the whole list, which grows as rows are added;
    // a real list is a few hundred rows, so a larger table is most likely not a list at all.
    if (mapping.kind != ImportKind::Load && table.rows.size() - 1 > size_t(kReferenceRowLimit)) {
        report.refusal = QStringLiteral("В таблице %1 строк. В список за один раз "
                                        "импортируется не больше %2 строк:\r\nразделите "
                                        "таблицу на части")
                             .arg(table.rows.size() - 1)
                             .arg(kReferenceRowLimit);
        return report;
    }
    if (const QString problem = mappingProblem(mapping); !problem.isEmpty()) {
        report.refusal = problem + QStringLiteral(".\r\nВ первой строке таблицы должны быть "
                                                  "названия столбцов");
        return report;
    }
    if (options.dryRun) {
        TrialRun trial(db);
        importRows(db, settings, table, mapping, options, report);
        return report;
    }
    const History::Step step(db, QStringLiteral("импорт: ")
                                     + importKindCaption(mapping.kind).toLower());
    Database::Transaction transaction(db);
    importRows(db, settings, table, mapping, options, report);
    if (report.added == 0)
        return report;
    if (report.skipped > 0) {
        const QString question =
            QStringLiteral("Не прошли проверку строк: %1 из %2 (причины - в отчёте).")
                .arg(report.skipped)
                .arg(report.added + report.skipped)
            + QStringLiteral("\r\n") + QStringLiteral("Добавить остальные строки (%1)?")
                                           .arg(report.added);
        if (prompts.askYesNo(question, Prompts::Icon::Question) != Prompts::Answer::Yes)
            return report;
    }
    transaction.commit();
    report.written = true;
    return report;
}

} // namespace korvesta
