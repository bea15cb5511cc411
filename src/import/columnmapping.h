#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace korvesta {

class SettingsStore;

// What a file is imported into.
enum class ImportKind { Groups, Tutors, Disciplines, Auditoriums, Load };

// The kind named on the command line ("groups", "load", ...); nullopt for another word.
std::optional<ImportKind> importKindFromName(const QString &name);
QString importKindName(ImportKind kind);
// As the window lists it: "Группы", "Нагрузка", ...
QString importKindCaption(ImportKind kind);

// A field a row of the kind fills: its key (kept with the remembered mapping), its caption,
// whether a row needs it, and the header names it is recognised by.
struct ImportField
{
    QString key;
    QString caption;
    bool required = false;
    QStringList synonyms;
};
const std::vector<ImportField> &importFields(ImportKind kind);
// The index of the field with that key in importFields(kind); -1 when none.
int importFieldIndex(ImportKind kind, const QString &key);

// Which column of the sheet fills each field of the kind (-1: none), in the order of
// importFields(kind).
struct ColumnMapping
{
    ImportKind kind = ImportKind::Groups;
    std::vector<int> columns;

    int column(const QString &key) const;
    void set(const QString &key, int column);
};

// The mapping read from the header row: the column remembered for a field when its header is
// still there, else the first column whose name is one of the field's names (letter case, ё,
// blanks and punctuation aside).
ColumnMapping matchColumns(ImportKind kind, const QStringList &headers,
                           const SettingsStore *remembered = nullptr);
// The header names of the mapping, kept for the next import of the kind.
void rememberMapping(SettingsStore &store, const ColumnMapping &mapping, const QStringList &headers);
// A header name as it is compared.
QString headerKey(const QString &header);

// Empty when the mapping can be imported; else why not ("Не указан столбец «Группа»").
QString mappingProblem(const ColumnMapping &mapping);

} // namespace korvesta
