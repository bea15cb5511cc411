#include "covercommand.h"

#include "cover.h"
#include "coverreport.h"

#include "data/apppaths.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/trialrun.h"
#include "editing/commandrun.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"
#include "grid/gridmodel.h"
#include "reports/documentfiles.h"

#include <algorithm>
#include <optional>

namespace korvesta {

namespace {

const char *const coverUsage =
    "Использование:\n"
    "  korvesta cover ФАЙЛ --tutor ПРЕПОДАВАТЕЛЬ --date Д [--to Д] [--assign] [--yes]\n"
    "                 [--dry-run]\n"
    "  korvesta cover ФАЙЛ --date Д --report ОТЧЁТ.pdf|.rtf|.htm|.txt\n"
    "  Печатает занятия преподавателя на дату, по одному в строке через табуляцию: урок,\n"
    "  группа, дисциплина и кто может их провести, лучшие первыми (свободен на этом уроке,\n"
    "  не отсутствует, ведёт эту дисциплину или эту группу). С --assign каждое занятие\n"
    "  передаётся лучшему из них, и замена записывается в заметку даты; тому, у кого нет\n"
    "  строки нагрузки по дисциплине в группе, она добавляется (1 ч) только с --yes;\n"
    "  так же к строке, часы которой уже выданы, добавляется 1 ч.\n"
    "  С --to - все дни периода с --date по --to, дата первой колонкой.\n"
    "  --report записывает отчёт о заменах за день; вид файла - по его окончанию.\n";

struct CoverOptions
{
    QString path;
    QString tutor;
    QDate date;
    QDate to; // the period's last date; invalid for the one date
    QString report;
    bool assign = false;
    bool yes = false;
    bool dryRun = false;
};

QString parseOptions(const QStringList &args, CoverOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--assign" || a == u"--dry-run" || a == u"--yes") {
            (a == u"--assign" ? o.assign : a == u"--yes" ? o.yes : o.dryRun) = true;
        } else if (a == u"--report" && i + 1 < args.size()) {
            o.report = args[++i];
            if (!documentTypeOf(o.report))
                return QStringLiteral("Вид файла отчёта определяется окончанием .pdf, .htm, "
                                      ".html, .xhtm, .rtf или .txt: %1")
                    .arg(o.report);
        } else if (a == u"--tutor" && i + 1 < args.size()) {
            o.tutor = args[++i];
        } else if ((a == u"--date" || a == u"--to") && i + 1 < args.size()) {
            QDate &date = a == u"--date" ? o.date : o.to;
            date = parseMoment(args[++i]).date();
            if (!date.isValid())
                return QStringLiteral("Непонятная дата: %1").arg(args[i]);
        } else if (!a.startsWith(QStringLiteral("--")) && o.path.isEmpty()) {
            o.path = a;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (o.path.isEmpty() || !o.date.isValid()
        || (o.tutor.trimmed().isEmpty() && o.report.isEmpty()))
        return QStringLiteral("Укажите файл документа, дату (--date) и преподавателя (--tutor) "
                              "или файл отчёта (--report)");
    if (o.to.isValid() && o.to < o.date)
        return QStringLiteral("Начало периода позже его конца");
    if (o.to.isValid() && o.date.daysTo(o.to) > 366)
        return QStringLiteral("Период длиннее года");
    if (o.assign && o.tutor.trimmed().isEmpty())
        return QStringLiteral("Для --assign укажите преподавателя (--tutor)");
    return QString();
}

// Writes the day's cover report; 0 when written.
int writeReport(const Database &db, const CoverOptions &o, QTextStream &err)
{
    GridModel grid;
    fillCoverReport(grid, o.date, coverReportRows(db, o.date));
    const QString problem = writeReportDocument(coverReportContent(grid), o.report,
                                                *documentTypeOf(o.report));
    if (!problem.isEmpty()) {
        err << problem << Qt::endl;
        return 1;
    }
    return 0;
}

// Prints the tutor's lessons with their candidates, each given to the best one under
// --assign; 0 when every lesson found its tutor (or none was to be given).
int listAndAssign(const CoverList &list, const CoverOptions &o, DocumentSession &session,
                  ConsolePrompts &prompts, QTextStream &out, QTextStream &err)
{
    int left = 0;
    for (const UncoveredLesson &l : list.lessons) {
        QStringList who;
        for (const CoverCandidate &c : l.candidates)
            who << c.tutor + QStringLiteral(" (") + c.why
                       + (c.keyJob != 0 ? QStringLiteral("; осталось часов %1").arg(c.hoursLeft)
                                        : QString())
                       + QStringLiteral("; занятий в этот день %1)").arg(c.lessonsThatDay);
        if (o.to.isValid())
            out << l.date.toString(QStringLiteral("dd.MM.yyyy")) << '\t';
        out << l.lesson << '\t' << l.group << '\t' << l.discipline << '\t'
            << (who.isEmpty() ? QStringLiteral("заменить некем") : who.join(QStringLiteral("; ")))
            << '\n';
        if (!o.assign)
            continue;
        // The ranking puts a tutor with the group's line of the discipline first; one without
        // gets the line only when the question is answered (--yes).
        if (l.candidates.empty() || !assignCover(session, prompts, l, l.candidates.front()))
            ++left;
        else
            err << QStringLiteral("%1, урок %2, %3: передан преподавателю %4")
                       .arg(l.date.toString(QStringLiteral("dd.MM.yyyy")),
                            QString::number(l.lesson), l.group, l.candidates.front().tutor)
                << Qt::endl;
    }
    if (left > 0)
        err << QStringLiteral("Не переданы занятия: %1").arg(left) << Qt::endl;
    return left > 0 ? 1 : 0;
}

int cover(const CoverOptions &o, QTextStream &out, QTextStream &err)
{
    CommandDocument document(o.path, {},
                             o.assign ? CommandDocument::Use::Change : CommandDocument::Use::Read,
                             o.yes, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return 2;
    int code = 0;
    try {
        if (!o.tutor.trimmed().isEmpty()) {
            const CoverList list =
                coverList(*db, o.tutor, o.date, o.to.isValid() ? o.to : o.date);
            if (!list.refusal.isEmpty()) {
                err << list.refusal << Qt::endl;
                code = 1;
            } else {
                std::optional<TrialRun> trial;
                if (o.assign && o.dryRun)
                    trial.emplace(*db);
                code = listAndAssign(list, o, document.session(), document.prompts(), out, err);
                if (trial)
                    trial->report(out, err);
            }
        }
        if (!o.report.isEmpty())
            code = std::max(code, writeReport(*db, o, err));
    } catch (const DbError &error) {
        err << error.message() << Qt::endl;
        return 2;
    }
    return code;
}

} // namespace

int runCoverCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<CoverOptions>(args, out, err, coverUsage, parseOptions, cover);
}

} // namespace korvesta
