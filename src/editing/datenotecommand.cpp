#include "datenotecommand.h"

#include "commandrun.h"
#include "commanddocument.h"
#include "consoleprompts.h"
#include "datenote.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/trialrun.h"

#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const noteUsage =
    "Использование:\n"
    "  korvesta note ФАЙЛ --date Д [--set ТЕКСТ] [--dry-run]\n"
    "  Без --set печатает заметку на дату; с --set записывает новую (пустой текст удаляет\n"
    "  заметку). Строки разделяются переводом строки внутри ТЕКСТА.\n";

struct NoteOptions
{
    QString path;
    QDate date;
    std::optional<QString> text;
    bool dryRun = false;
};

QString parseOptions(const QStringList &args, NoteOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--dry-run") {
            o.dryRun = true;
        } else if ((a == u"--date" || a == u"--set") && i + 1 < args.size()) {
            const QString value = args[++i];
            if (a == u"--set") {
                o.text = value;
            } else {
                o.date = parseMoment(value).date();
                if (!o.date.isValid())
                    return QStringLiteral("Непонятная дата: %1").arg(value);
            }
        } else if (o.path.isEmpty() && !a.startsWith(QStringLiteral("--"))) {
            o.path = a;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (o.path.isEmpty() || !o.date.isValid())
        return QStringLiteral("Укажите файл документа и дату (--date)");
    return QString();
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
        trial->report(out, err);
    else if (stored == DateNote::Stored::Unchanged)
        err << QStringLiteral("Заметка не изменилась") << Qt::endl;
    return 0;
}

} // namespace

int runNoteCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<NoteOptions>(args, out, err, noteUsage, parseOptions, note);
}

} // namespace korvesta
