#include "covercommand.h"

#include "commandline.h"
#include "records.h"
#include "trialreport.h"

#include "assist/cover.h"
#include "assist/coverreport.h"

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
    RecordFormat format = RecordFormat::Text;
    bool isoDates = false;
};

void readOptions(CommandLine &line, CoverOptions &o)
{
    o.path = line.arguments().value(0);
    o.tutor = line.value(QStringLiteral("tutor"));
    o.date = line.date(QStringLiteral("date")).value_or(QDate());
    o.to = line.date(QStringLiteral("to")).value_or(QDate());
    o.report = line.value(QStringLiteral("out"));
    o.assign = line.isSet(QStringLiteral("assign"));
    o.yes = line.isSet(QStringLiteral("yes"));
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    o.isoDates = line.isSet(QStringLiteral("iso-dates"));
    if (!line.error().isEmpty())
        return;
    if (!o.date.isValid())
        line.fail(QStringLiteral("Не указана дата (--date)"));
    else if (o.tutor.trimmed().isEmpty() && o.report.isEmpty())
        line.fail(QStringLiteral("Укажите преподавателя (--tutor) или файл отчёта о заменах "
                                 "(--out)"));
    else if (!o.report.isEmpty() && !documentTypeOf(o.report))
        line.fail(QStringLiteral("--out: вид файла отчёта определяется окончанием .pdf, .htm, "
                                 ".html, .xhtm, .rtf или .txt: %1")
                      .arg(o.report));
    else if (o.to.isValid() && o.to < o.date)
        line.fail(QStringLiteral("Начало периода позже его конца"));
    else if (o.to.isValid() && o.date.daysTo(o.to) > 366)
        line.fail(QStringLiteral("Период длиннее года"));
    else if (o.assign && o.tutor.trimmed().isEmpty())
        line.fail(QStringLiteral("Для --assign укажите преподавателя (--tutor)"));
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

// The candidates as json gives them: a list of objects.
QVariantList candidatesList(const UncoveredLesson &l)
{
    QVariantList who;
    for (const CoverCandidate &c : l.candidates)
        who << QVariantMap{{QStringLiteral("tutor"), c.tutor},
                           {QStringLiteral("why"), c.why},
                           {QStringLiteral("hoursLeft"),
                            c.keyJob != 0 ? QVariant(c.hoursLeft) : QVariant()},
                           {QStringLiteral("lessonsThatDay"), c.lessonsThatDay}};
    return who;
}

// The lessons with their candidates, best first, in the run's format.
void writeLessons(const std::vector<UncoveredLesson> &lessons, const CoverOptions &o,
                  QTextStream &out)
{
    Records records;
    records.fields = {QStringLiteral("date"), QStringLiteral("lesson"), QStringLiteral("group"),
                      QStringLiteral("discipline"), QStringLiteral("candidates")};
    records.headers = {QStringLiteral("Дата"), QStringLiteral("Урок"), QStringLiteral("Группа"),
                       QStringLiteral("Дисциплина"), QStringLiteral("Кто может заменить")};
    for (const UncoveredLesson &l : lessons)
        records.rows.push_back({l.date, l.lesson, l.group, l.discipline,
                                o.format == RecordFormat::Json ? QVariant(candidatesList(l))
                                                               : QVariant(candidatesText(l))});
    records.write(o.format, out, o.isoDates);
}

// Prints the tutor's lessons with their candidates; 0 when there are any.
int list(const Database &db, const CoverOptions &o, QTextStream &out, QTextStream &err)
{
    const CoverList found = coverList(db, o.tutor, o.date, o.to.isValid() ? o.to : o.date);
    if (!found.refusal.isEmpty()) {
        err << found.refusal << Qt::endl;
        return 1;
    }
    writeLessons(found.lessons, o, out);
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
            writeLessons(found.lessons, o, lines);
            for (const UncoveredLesson &l : found.lessons) {
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
                    reportTrial(*trial, RecordFormat::Text, err, err);
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

const CommandSpec &coverCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("cover"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            tutorOption(QStringLiteral("отсутствующий преподаватель")),
            {{QStringLiteral("date")}, QStringLiteral("Д"), QStringLiteral("дата (начало периода)")},
            {{QStringLiteral("to")}, QStringLiteral("Д"), QStringLiteral("конец периода")},
            {{QStringLiteral("assign")},
             QString(),
             QStringLiteral("передать каждое занятие лучшему из тех, кто свободен, и записать "
                            "замену в заметку даты")},
            {{QStringLiteral("yes")},
             QString(),
             QStringLiteral("добавить строку нагрузки (1 ч) тому, у кого её нет")},
            dryRunOption(),
            {{QStringLiteral("out"), QStringLiteral("report")},
             QStringLiteral("ОТЧЁТ"),
             QStringLiteral("записать отчёт о заменах за день: .pdf, .rtf, .htm, .txt"),
             false,
             Completion::File},
            formatOption(),
            isoDatesOption(),
        },
        QStringLiteral("кто может провести занятия отсутствующего преподавателя"),
        QStringLiteral("  Запись на занятие: дата, урок, группа, дисциплина и кто может его "
                       "провести, лучшие\n  первыми (свободен на этом уроке, не отсутствует, "
                       "ведёт эту дисциплину или группу).\n  С --assign все замены пишутся "
                       "одним шагом, целиком или никак; к строке, часы\n  которой уже выданы, "
                       "добавляется 1 ч. С --dry-run таблица пробной записи - в потоке\n  "
                       "ошибок."),
    };
    return spec;
}

int runCoverCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    CoverOptions o;
    return runCommand(
        coverCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return cover(o, out, err); });
}

} // namespace korvesta
