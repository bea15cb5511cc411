#include "namescommand.h"

#include "commandline.h"
#include "records.h"

#include "data/dberror.h"
#include "editing/commanddocument.h"
#include "editing/exitcode.h"
#include "editing/objectnames.h"

namespace korvesta {

namespace {

struct NamesOptions
{
    QString path;
    NamedKind kind = NamedKind::Group;
    RecordFormat format = RecordFormat::Text;
};

const QStringList &kindWords()
{
    static const QStringList words = {QStringLiteral("groups"), QStringLiteral("tutors"),
                                      QStringLiteral("auditoriums"),
                                      QStringLiteral("disciplines")};
    return words;
}

void readOptions(CommandLine &line, NamesOptions &o)
{
    o.path = line.arguments().value(0);
    const std::optional<int> kind = line.choice(QStringLiteral("kind"));
    o.kind = NamedKind(kind.value_or(0));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    if (line.error().isEmpty() && !kind)
        line.fail(QStringLiteral("Не указано, чьи имена вывести (--kind)"));
}

int listNames(const NamesOptions &o, QTextStream &out, QTextStream &err)
{
    CommandDocument document(o.path, {}, CommandDocument::Use::Read, false, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return ExitUnreadable;
    std::vector<NamedObject> objects;
    try {
        objects = namedObjects(*db, o.kind);
    } catch (const DbError &error) {
        err << error.message() << Qt::endl;
        return ExitUnreadable;
    }
    if (o.format == RecordFormat::Text) {
        // One name a line, for a shell loop and the completion.
        for (const NamedObject &object : objects)
            out << object.canonical << '\n';
        return ExitDone;
    }
    Records records;
    records.fields = {QStringLiteral("key"), QStringLiteral("name")};
    records.headers = {QStringLiteral("Код"), QStringLiteral("Имя")};
    for (const NamedObject &object : objects)
        records.rows.push_back({object.key, object.canonical});
    records.write(o.format, out);
    return ExitDone;
}

} // namespace

const CommandSpec &namesCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("names"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("kind")},
             QStringLiteral("СПИСОК"),
             QStringLiteral("groups, tutors, auditoriums или disciplines"),
             false,
             Completion::Words,
             kindWords()},
            formatOption(),
        },
        QStringLiteral("вывести имена групп, преподавателей, аудиторий или дисциплин документа"),
        QStringLiteral("  Каждое имя - в том виде, в каком его выводят и принимают все команды: "
                       "группа\n  \"П-9 (1)\" (с факультетом, если название и курс есть на двух "
                       "факультетах),\n  преподаватель \"Иванов И.И.\", аудитория \"109 "
                       "(Главный)\", дисциплина - краткое название."),
    };
    return spec;
}

int runNamesCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    NamesOptions o;
    return runCommand(
        namesCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return listNames(o, out, err); });
}

} // namespace korvesta
