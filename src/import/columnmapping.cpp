#include "columnmapping.h"

#include "settings/settingsstore.h"

namespace korvesta {

namespace {

const QString kSection = QStringLiteral("Import");

QStringList names(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *name : list)
        result << QString::fromUtf8(name);
    return result;
}

ImportField field(const char *key, const char *caption, bool required,
                  std::initializer_list<const char *> synonyms)
{
    return {QString::fromLatin1(key), QString::fromUtf8(caption), required, names(synonyms)};
}

} // namespace

std::optional<ImportKind> importKindFromName(const QString &name)
{
    for (ImportKind kind : {ImportKind::Groups, ImportKind::Tutors, ImportKind::Disciplines,
                            ImportKind::Auditoriums, ImportKind::Load}) {
        if (importKindName(kind) == name)
            return kind;
    }
    return std::nullopt;
}

QString importKindName(ImportKind kind)
{
    switch (kind) {
    case ImportKind::Groups: return QStringLiteral("groups");
    case ImportKind::Tutors: return QStringLiteral("tutors");
    case ImportKind::Disciplines: return QStringLiteral("disciplines");
    case ImportKind::Auditoriums: return QStringLiteral("auditoriums");
    case ImportKind::Load: return QStringLiteral("load");
    }
    return {};
}

QString importKindCaption(ImportKind kind)
{
    switch (kind) {
    case ImportKind::Groups: return QStringLiteral("Группы");
    case ImportKind::Tutors: return QStringLiteral("Преподаватели");
    case ImportKind::Disciplines: return QStringLiteral("Дисциплины");
    case ImportKind::Auditoriums: return QStringLiteral("Аудитории");
    case ImportKind::Load: return QStringLiteral("Нагрузка");
    }
    return {};
}

const std::vector<ImportField> &importFields(ImportKind kind)
{
    static const std::vector<ImportField> groups = {
        field("course", "Курс", true, {"Курс", "Course", "Year", "Год обучения"}),
        field("group", "Группа", true,
              {"Группа", "Group", "Группы", "Название группы", "Шифр группы", "Class"}),
        field("faculty", "Факультет", false, {"Факультет", "Faculty", "Отделение"}),
        field("tuition", "Форма обучения", false,
              {"Форма обучения", "Форма", "Tuition", "Study form"}),
        field("finance", "Финансирование", false,
              {"Финансирование", "Источник финансирования", "Finance", "Funding"}),
        field("comment", "Комментарий", false,
              {"Комментарий", "Примечание", "Comment", "Note", "Notes"}),
    };
    static const std::vector<ImportField> tutors = {
        field("tutor", "Преподаватель", true,
              {"Преподаватель", "ФИО", "Ф.И.О.", "Фамилия И.О.", "Фамилия имя отчество",
               "Tutor", "Teacher", "Name", "Lecturer"}),
        field("auditorium", "Аудитория", false,
              {"Аудитория", "Кабинет", "Ауд.", "Auditorium", "Room", "Classroom"}),
    };
    static const std::vector<ImportField> disciplines = {
        field("type", "Специализация", false, {"Специализация", "Тип", "Type", "Specialization"}),
        field("discipline", "Краткое наименование", true,
              {"Краткое наименование", "Дисциплина", "Предмет", "Кратко", "Short name",
               "Discipline", "Subject"}),
        field("discipline1", "Полное наименование", false,
              {"Полное наименование", "Наименование", "Full name", "Title"}),
        field("level", "Сложность", false, {"Сложность", "Difficulty", "Level"}),
    };
    static const std::vector<ImportField> auditoriums = {
        field("corpus", "Корпус", false, {"Корпус", "Здание", "Building", "Corpus"}),
        field("auditorium", "Аудитория", true,
              {"Аудитория", "Кабинет", "Ауд.", "Номер", "Auditorium", "Room", "Classroom"}),
        field("comment", "Комментарий", false,
              {"Комментарий", "Примечание", "Comment", "Note", "Notes"}),
    };
    static const std::vector<ImportField> load = {
        field("tutor", "Преподаватель", true,
              {"Преподаватель", "ФИО", "Ф.И.О.", "Фамилия И.О.", "Tutor", "Teacher",
               "Lecturer"}),
        field("auditorium", "Аудитория", false,
              {"Аудитория", "Кабинет", "Ауд.", "Auditorium", "Room"}),
        field("discipline", "Дисциплина", true,
              {"Дисциплина", "Предмет", "Краткое наименование", "Discipline", "Subject"}),
        field("discipline1", "Полное наименование", false,
              {"Полное наименование", "Full name"}),
        field("group", "Группа", true, {"Группа", "Group", "Class"}),
        field("course", "Курс", false, {"Курс", "Course", "Year"}),
        field("hours", "Часы", true,
              {"Часы", "Нагрузка", "Часов", "Кол-во часов", "Количество часов", "Объём",
               "Hours", "Load"}),
    };
    switch (kind) {
    case ImportKind::Groups: return groups;
    case ImportKind::Tutors: return tutors;
    case ImportKind::Disciplines: return disciplines;
    case ImportKind::Auditoriums: return auditoriums;
    case ImportKind::Load: return load;
    }
    return groups;
}

int importFieldIndex(ImportKind kind, const QString &key)
{
    const std::vector<ImportField> &fields = importFields(kind);
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].key == key)
            return int(i);
    }
    return -1;
}

int ColumnMapping::column(const QString &key) const
{
    const int index = importFieldIndex(kind, key);
    return index < 0 || size_t(index) >= columns.size() ? -1 : columns[size_t(index)];
}

void ColumnMapping::set(const QString &key, int column)
{
    const int index = importFieldIndex(kind, key);
    if (index < 0)
        return;
    columns.resize(importFields(kind).size(), -1);
    columns[size_t(index)] = column;
}

QString headerKey(const QString &header)
{
    QString key;
    for (QChar c : header.toLower()) {
        if (c == u'ё')
            c = u'е';
        if (c.isLetterOrNumber())
            key += c;
    }
    return key;
}

ColumnMapping matchColumns(ImportKind kind, const QStringList &headers,
                           const SettingsStore *remembered)
{
    ColumnMapping mapping;
    mapping.kind = kind;
    const std::vector<ImportField> &fields = importFields(kind);
    mapping.columns.assign(fields.size(), -1);
    QStringList keys;
    for (const QString &header : headers)
        keys << headerKey(header);
    std::vector<bool> taken(size_t(keys.size()), false);
    auto take = [&](size_t field, const QString &key) {
        if (key.isEmpty() || mapping.columns[field] >= 0)
            return;
        for (qsizetype c = 0; c < keys.size(); ++c) {
            if (!taken[size_t(c)] && keys[c] == key) {
                mapping.columns[field] = int(c);
                taken[size_t(c)] = true;
                return;
            }
        }
    };
    if (remembered) {
        for (size_t f = 0; f < fields.size(); ++f) {
            const QString header = remembered->readText(
                kSection, importKindName(kind) + u'/' + fields[f].key, QString());
            take(f, headerKey(header));
        }
    }
    for (size_t f = 0; f < fields.size(); ++f) {
        for (const QString &synonym : fields[f].synonyms)
            take(f, headerKey(synonym));
    }
    return mapping;
}

void rememberMapping(SettingsStore &store, const ColumnMapping &mapping, const QStringList &headers)
{
    const std::vector<ImportField> &fields = importFields(mapping.kind);
    for (size_t f = 0; f < fields.size() && f < mapping.columns.size(); ++f) {
        const QString key = importKindName(mapping.kind) + u'/' + fields[f].key;
        const int column = mapping.columns[f];
        if (column >= 0 && column < headers.size() && !headers[column].trimmed().isEmpty())
            store.write(kSection, key, headers[column].trimmed());
        else
            store.remove(kSection, key);
    }
}

QString mappingProblem(const ColumnMapping &mapping)
{
    const std::vector<ImportField> &fields = importFields(mapping.kind);
    for (size_t f = 0; f < fields.size(); ++f) {
        if (fields[f].required && (f >= mapping.columns.size() || mapping.columns[f] < 0))
            return QStringLiteral("Не указан столбец «%1»").arg(fields[f].caption);
    }
    return QString();
}

} // namespace korvesta
