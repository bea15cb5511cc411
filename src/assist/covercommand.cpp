#include "covercommand.h"

#include "cover.h"

#include "data/apppaths.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/trialrun.h"
#include "editing/commandrun.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"

#include <optional>

namespace korvesta {

namespace {

const char *const coverUsage =
    "Использование:\n"
    "  korvesta cover ФАЙЛ --tutor ПРЕПОДАВАТЕЛЬ --date Д [--assign] [--dry-run]\n"
    "  Печатает занятия преподавателя на дату, по одному в строке через табуляцию: урок,\n"
    "  группа, дисциплина и кто может их провести, лучшие первыми (свободен на этом уроке,\n"
    "  не отсутствует, ведёт эту дисциплину или эту группу). С --assign каждое занятие\n"
    "  передаётся лучшему из тех, у кого есть строка нагрузки по дисциплине в группе.\n";

struct CoverOptions
{
    QString path;
    QString tutor;
    QDate date;
    bool assign = false;
    bool dryRun = false;
};

QString parseOptions(const QStringList &args, CoverOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--assign" || a == u"--dry-run") {
            (a == u"--assign" ? o.assign : o.dryRun) = true;
        } else if (a == u"--tutor" && i + 1 < args.size()) {
            o.tutor = args[++i];
        } else if (a == u"--date" && i + 1 < args.size()) {
            o.date = parseMoment(args[++i]).date();
            if (!o.date.isValid())
                return QStringLiteral("Непонятная дата: %1").arg(args[i]);
        } else if (!a.startsWith(QStringLiteral("--")) && o.path.isEmpty()) {
            o.path = a;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (o.path.isEmpty() || o.tutor.trimmed().isEmpty() || !o.date.isValid())
        return QStringLiteral("Укажите файл документа, преподавателя (--tutor) и дату (--date)");
    return QString();
}

int cover(const CoverOptions &o, QTextStream &out, QTextStream &err)
{
    CommandDocument document(o.path, {},
                             o.assign ? CommandDocument::Use::Change : CommandDocument::Use::Read,
                             false, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return 2;
    DocumentSession &session = document.session();
    ConsolePrompts &prompts = document.prompts();
    CoverList list;
    try {
        list = coverList(*db, o.tutor, o.date);
    } catch (const DbError &error) {
        err << error.message() << Qt::endl;
        return 2;
    }
    if (!list.refusal.isEmpty()) {
        err << list.refusal << Qt::endl;
        return 1;
    }
    std::optional<TrialRun> trial;
    if (o.assign && o.dryRun)
        trial.emplace(*db);
    int left = 0;
    for (const UncoveredLesson &l : list.lessons) {
        QStringList who;
        for (const CoverCandidate &c : l.candidates)
            who << c.tutor + QStringLiteral(" (") + c.why
                       + (c.keyJob != 0 ? QStringLiteral("; осталось часов %1").arg(c.hoursLeft)
                                        : QString())
                       + QStringLiteral("; занятий в этот день %1)").arg(c.lessonsThatDay);
        out << l.lesson << '\t' << l.group << '\t' << l.discipline << '\t'
            << (who.isEmpty() ? QStringLiteral("заменить некем") : who.join(QStringLiteral("; ")))
            << '\n';
        if (!o.assign)
            continue;
        const auto best = std::find_if(l.candidates.begin(), l.candidates.end(),
                                       [](const CoverCandidate &c) { return c.keyJob != 0; });
        if (best == l.candidates.end() || !assignCover(session, prompts, l, *best))
            ++left;
        else
            err << QStringLiteral("Урок %1, %2: передан преподавателю %3")
                       .arg(l.lesson)
                       .arg(l.group, best->tutor)
                << Qt::endl;
    }
    if (trial)
        trial->report(out, err);
    if (left > 0)
        err << QStringLiteral("Не переданы занятия: %1").arg(left) << Qt::endl;
    return left > 0 ? 1 : 0;
}

} // namespace

int runCoverCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<CoverOptions>(args, out, err, coverUsage, parseOptions, cover);
}

} // namespace korvesta
