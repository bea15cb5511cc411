#pragma once

#include "editing/loadchanges.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace korvesta {

class BulkInsert;
class Database;
class Prompts;

// The teaching load's entry row for thousands of rows at once. The lists the row's checks
// look names up in (tutors, disciplines, groups with their faculties, auditoriums, jobs and
// load lines) are read once and kept up to date as rows are added, and the new rows are
// written through statements prepared once; each row still goes through the checks of
// addToLoad in their order, with their messages, and the same names match as there (letter
// case ignored, "ё" a letter of its own, the blanks the entry row trims). Only this object
// may change those lists while it lives, apart from the additions it is told of.
class LoadLines : private LoadLookup
{
public:
    // Throws DbError.
    explicit LoadLines(const Database &db);
    ~LoadLines() override;
    LoadLines(const LoadLines &) = delete;
    LoadLines &operator=(const LoadLines &) = delete;

    // As addToLoad; throws DbError.
    bool add(Prompts &prompts, LoadAddition addition, const LoadEntry &entry);

    // A discipline or group added to its list by its editor's saving meanwhile.
    void disciplineAdded(int key);
    void groupAdded(int key);

private:
    struct Group
    {
        int key = 0;
        std::optional<QString> course; // folded; none for Null
        QString faculty;               // folded, "отсутствует" for none
    };
    struct Auditorium
    {
        QString display; // "101 (Главный)"
        QString displayKey, nameKey;
        bool hasName = false;
    };

    void readGroups(const QString &condition);
    void addTutorName(int key, const QString &name);
    void addDisciplineName(int key, const QString &name);
    // The lookups of the load's checks in the lists.
    bool tutorExists(const QString &tutor) const override;
    int tutorKey(const QString &tutor) const override;
    int disciplineKey(const QString &discipline) const override;
    int groupKey(const QString &groupText) const override;
    int jobKey(int tutor, int discipline) const override;
    std::optional<QString> auditoriumDisplay(const QString &text) const override;

    const Database &m_db;
    QHash<QString, int> m_tutors;      // folded name -> first key
    QSet<QString> m_tutorsUpper;       // folded upper case of the name with its spaces trimmed
    QHash<QString, int> m_disciplines; // folded name -> first key
    QHash<QString, std::vector<Group>> m_groups; // folded name -> by key
    std::vector<Auditorium> m_auditoriums;       // by key
    QHash<std::pair<int, int>, int> m_jobs;      // tutor, discipline -> first key
    QSet<std::pair<int, int>> m_lines;           // job, group
    std::unique_ptr<BulkInsert> m_insertTutor, m_insertJob, m_insertLine;
};

} // namespace korvesta
