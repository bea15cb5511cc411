#include "covercommand.h"

#include "cover.h"
#include "coverreport.h"

#include "data/apppaths.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/isodate.h"
#include "data/trialrun.h"
#include "editing/commandrun.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"
#include "editing/documentchange.h"
#include "grid/gridmodel.h"
#include "reports/documentfiles.h"

#include <algorithm>
#include <optional>

#include "editing/exitcode.h"

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
    "  передаётся лучшему из тех, кто свободен в момент записи, и замена записывается в\n"
    "  заметку даты (все замены - одним шагом, целиком или никак); тому, у кого нет\n"
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

QString candidatesText(const UncoveredLesson &l)
{
    QStringList who;
    for (const CoverCandidate &c : l.candidates)
        who << c.tutor + QStringLiteral(" (") + c.why
                   + (c.keyJob != 0 ? QStringLiteral("; осталось часов %1").arg(c.hoursLeft)
                                    : QString())
                   + QStringLiteral("; занятий в этот день %1)").arg(c.lessonsThatDay);
    return who.isEmpty() ? QStringLiteral("заменить некем") : who.join(QStringLiteral("; "));
}

// Prints the tutor's lessons with their candidates; 0 when there are any.
int list(const Database &db, const CoverOptions &o, QTextStream &out, QTextStream &err)
{
    const CoverList found = coverList(db, o.tutor, o.date, o.to.isValid() ? o.to : o.date);
    if (!found.refusal.isEmpty()) {
        err << found.refusal << Qt::endl;
        return 1;
    }
    for (const UncoveredLesson &l : found.lessons) {
        if (o.to.isValid())
            out << l.date.toString(QStringLiteral("dd.MM.yyyy")) << '\t';
        out << l.lesson << '\t' << l.group << '\t' << l.discipline << '\t' << candidatesText(l)
            << '\n';
    }
    return 0;
}

// Gives each lesson to the best tutor who can still take it. The whole command is one
// transaction and one undo step, read under the document's write lock: two commands run at
// once never give one tutor two lessons at a time, and a kill leaves every lesson as it was.
// What is printed comes after the commit. 0 when every lesson found its tutor.
int assign(CommandDocument &document, const CoverOptions &o, QTextStream &out, QTextStream &err)
{
    QString listed, told;
    int left = 0;
    const std::optional<int> refused = runDocumentChange<std::optional<int>>(
        document.session(), document.prompts(), 2,
        [&](const Database &db) -> std::optional<int> {
            listed.clear();
            told.clear();
            left = 0;
            const History::Step step(
                db, QStringLiteral("замены преподавателя %1 %2")
                        .arg(o.tutor.trimmed(),
                             o.to.isValid() ? QStringLiteral("с %1 по %2")
                                                  .arg(o.date.toString(QStringLiteral("dd.MM.yyyy")),
                                                       o.to.toString(QStringLiteral("dd.MM.yyyy")))
                                            : o.date.toString(QStringLiteral("dd.MM.yyyy"))));
            Database::Transaction transaction(db);
            const CoverList found =
                coverList(db, o.tutor, o.date, o.to.isValid() ? o.to : o.date);
            if (!found.refusal.isEmpty()) {
                told = found.refusal + QLatin1Char('\n');
                return 1;
            }
            QTextStream lines(&listed), notes(&told);
            for (const UncoveredLesson &l : found.lessons) {
                if (o.to.isValid())
                    lines << l.date.toString(QStringLiteral("dd.MM.yyyy")) << '\t';
                lines << l.lesson << '\t' << l.group << '\t' << l.discipline << '\t'
                      << candidatesText(l) << '\n';
                // The ranking puts a tutor with the group's line of the discipline first; one
                // without gets the line only when the question is answered (--yes). One who
                // has become busy since the list was read gives way to the next.
                const CoverCandidate *given = nullptr;
                for (const CoverCandidate &c : l.candidates) {
                    const CoverResult result =
                        giveCover(document.session(), document.prompts(), l, c);
                    if (result == CoverResult::Given)
                        given = &c;
                    if (result != CoverResult::Unavailable)
                        break;
                }
                if (!given) {
                    ++left;
                    continue;
                }
                notes << QStringLiteral("%1, урок %2, %3: передан преподавателю %4")
                             .arg(l.date.toString(QStringLiteral("dd.MM.yyyy")),
                                  QString::number(l.lesson), l.group, given->tutor)
                      << '\n';
            }
            transaction.commit();
            return std::nullopt;
        });
    out << listed;
    out.flush();
    err << told;
    if (refused)
        return *refused;
    if (left > 0)
        err << QStringLiteral("Не переданы занятия: %1").arg(left) << Qt::endl;
    return left > 0 ? 1 : 0;
}

int cover(const CoverOptions &given, QTextStream &out, QTextStream &err)
{
    CoverOptions o = given;
    CommandDocument document(o.path, {},
                             o.assign ? CommandDocument::Use::Change : CommandDocument::Use::Read,
                             o.yes, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return ExitUnreadable;
    int code = 0;
    try {
        // The tutor as every command names one: the full name, or a surname only one has.
        if (!o.tutor.trimmed().isEmpty()) {
            int refusal = ExitRefused;
            const std::optional<NamedObject> tutor = objectOfOption(
                *db, NamedKind::Tutor, QStringLiteral("--tutor"), o.tutor, err, refusal);
            if (!tutor)
                return refusal;
            o.tutor = tutor->canonical;
        }
        if (!o.tutor.trimmed().isEmpty()) {
            if (o.assign) {
                std::optional<TrialRun> trial;
                if (o.dryRun)
                    trial.emplace(*db);
                code = assign(document, o, out, err);
                if (trial && code == 0)
                    trial->report(out, err);
            } else {
                code = list(*db, o, out, err);
            }
        }
        if (!o.report.isEmpty())
            code = std::max(code, writeReport(*db, o, err));
    } catch (const DbError &error) {
        err << error.message() << Qt::endl;
        return ExitUnreadable;
    }
    return code;
}

} // namespace

int runCoverCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<CoverOptions>(args, out, err, coverUsage, parseOptions, cover);
}

} // namespace korvesta
