#include "notecommand.h"

#include "commandline.h"
#include "trialreport.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"
#include "editing/datenote.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/trialrun.h"

#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

struct NoteOptions
{
    QString path;
    QDate date;
    std::optional<QString> text;
    bool dryRun = false;
    RecordFormat format = RecordFormat::Text;
};

void readOptions(CommandLine &line, NoteOptions &o)
{
    o.path = line.arguments().value(0);
    o.date = line.date(QStringLiteral("date")).value_or(QDate());
    if (line.isSet(QStringLiteral("text")))
        o.text = line.value(QStringLiteral("text"));
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    if (!o.date.isValid())
        line.fail(QStringLiteral("Не указана дата (--date)"));
}

int note(const NoteOptions &o, QTextStream &out, QTextStream &err)
{
    CommandDocument document(o.path, {},
                             o.text ? CommandDocument::Use::Change : CommandDocument::Use::Read,
                             false, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return ExitUnreadable;
    ConsolePrompts &prompts = document.prompts();
    DateNote dateNote(document.session(), prompts);
    if (!o.text) {
        const QString text = dateNote.load(o.date);
        if (!text.isEmpty())
            out << text << Qt::endl;
        return prompts.hasSpoken() ? 1 : 0;
    }
    std::optional<TrialRun> trial;
    if (o.dryRun)
        trial.emplace(*db);
    const DateNote::Stored stored = dateNote.store(o.date, *o.text);
    if (stored == DateNote::Stored::Failed)
        return 1;
    if (trial)
        reportTrial(*trial, o.format, out, err);
    else if (stored == DateNote::Stored::Unchanged)
        err << QStringLiteral("Заметка не изменилась") << Qt::endl;
    return 0;
}

} // namespace

const CommandSpec &noteCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("note"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("date")}, QStringLiteral("Д"), QStringLiteral("дата")},
            {{QStringLiteral("text")},
             QStringLiteral("ТЕКСТ"),
             QStringLiteral("записать эту заметку (пустой текст удаляет заметку)")},
            dryRunOption(),
            formatOption(),
        },
        QStringLiteral("прочитать или записать заметку на дату"),
        QStringLiteral("  Без --text печатает заметку на дату. Строки заметки разделяются "
                       "переводом строки\n  внутри ТЕКСТА."),
    };
    return spec;
}

int runNoteCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    NoteOptions o;
    return runCommand(
        noteCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return note(o, out, err); });
}

} // namespace korvesta
