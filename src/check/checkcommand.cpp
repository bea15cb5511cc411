#include "checkcommand.h"

#include "timetablecheck.h"

#include "data/apppaths.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "editing/commandrun.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"

#include <optional>

#include "cli/exitcode.h"

namespace korvesta {

namespace {

const char *const checkUsage =
    "Использование:\n"
    "  korvesta check ФАЙЛ [--from Д] [--to Д] [--format tsv|html] [--full]\n"
    "                 [--set КЛЮЧ=ЗНАЧЕНИЕ ...]\n"
    "  Печатает все ошибки расписания за период (по умолчанию - за всё время): накладки\n"
    "  преподавателей, аудиторий и групп, занятия сверх нагрузки, в выходные, праздники,\n"
    "  каникулы и вне учебного периода, во время отсутствия преподавателя, сверх дневного\n"
    "  предела, ссылки на удалённые записи; и предупреждения о невыполненной нагрузке.\n"
    "  Сначала SQLite проверяет сам файл (повреждение - тоже ошибка); --full - полная\n"
    "  проверка файла со всеми индексами (дольше).\n"
    "  Код выхода: 0 - ошибок нет, 1 - есть ошибки, 2 - документ не прочитан.\n";

struct CheckOptions
{
    QString path;
    QDate from, to;
    QString format = QStringLiteral("tsv");
    bool full = false;
    CommandSettings::Values sets;
};

QString parseOptions(const QStringList &args, CheckOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith(QStringLiteral("--")) && o.path.isEmpty()) {
            o.path = a;
            continue;
        }
        if (a == u"--full") {
            o.full = true;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("Не задано значение для %1").arg(a);
        const QString value = args[++i];
        if (a == u"--from" || a == u"--to") {
            const QDate date = parseMoment(value).date();
            if (!date.isValid())
                return QStringLiteral("Непонятная дата: %1").arg(value);
            (a == u"--from" ? o.from : o.to) = date;
        } else if (a == u"--format") {
            if (value != u"tsv" && value != u"html")
                return QStringLiteral("Формат - tsv или html: %1").arg(value);
            o.format = value;
        } else if (a == u"--set") {
            if (const QString problem = CommandSettings::addSet(value, o.sets);
                !problem.isEmpty())
                return problem;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (o.path.isEmpty())
        return QStringLiteral("Укажите файл документа");
    if (o.from.isValid() && o.to.isValid() && o.from > o.to)
        return QStringLiteral("Начало периода (%1) позже его конца (%2)")
            .arg(o.from.toString(QStringLiteral("dd.MM.yyyy")),
                 o.to.toString(QStringLiteral("dd.MM.yyyy")));
    return QString();
}

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

void printTsv(const TimetableCheck &check, QTextStream &out)
{
    out << QStringLiteral("Вид\tДата\tУрок\tОбъекты\tОписание") << '\n';
    for (const TimetableProblem &p : check.problems) {
        out << problemKindText(p.kind) << '\t' << dateText(p.date) << '\t'
            << (p.lesson ? QString::number(p.lesson) : QString()) << '\t' << p.objects << '\t'
            << p.explanation << '\n';
    }
}

void printHtml(const TimetableCheck &check, QTextStream &out)
{
    out << "<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\">"
        << "<title>" << QStringLiteral("Проверка расписания") << "</title></head><body>\n<h1>"
        << QStringLiteral("Проверка расписания") << "</h1>\n<p>"
        << QStringLiteral("Ошибок: %1, предупреждений: %2").arg(check.errors).arg(check.warnings)
        << "</p>\n";
    for (size_t i = 0; i < check.problems.size();) {
        const ProblemKind kind = check.problems[i].kind;
        size_t end = i;
        while (end < check.problems.size() && check.problems[end].kind == kind)
            ++end;
        out << "<h2>" << problemKindText(kind).toHtmlEscaped() << " (" << (end - i) << ")</h2>\n"
            << "<table border=\"1\"><tr><th>" << QStringLiteral("Дата") << "</th><th>"
            << QStringLiteral("Урок") << "</th><th>" << QStringLiteral("Объекты") << "</th><th>"
            << QStringLiteral("Описание") << "</th></tr>\n";
        for (; i < end; ++i) {
            const TimetableProblem &p = check.problems[i];
            out << "<tr><td>" << dateText(p.date) << "</td><td>"
                << (p.lesson ? QString::number(p.lesson) : QString()) << "</td><td>"
                << p.objects.toHtmlEscaped() << "</td><td>" << p.explanation.toHtmlEscaped()
                << "</td></tr>\n";
        }
        out << "</table>\n";
    }
    out << "</body></html>\n";
}

int check(const CheckOptions &o, QTextStream &out, QTextStream &err)
{
    CommandDocument document(o.path, o.sets, CommandDocument::Use::Read, false, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return ExitUnreadable;
    TimetableCheck result;
    try {
        result = checkTimetable(*db, document.record(), o.from, o.to,
                                o.full ? IntegrityScan::Full : IntegrityScan::Quick);
    } catch (const DbError &error) {
        err << QStringLiteral("Расписание не проверено: ") << error.message() << Qt::endl;
        return ExitUnreadable;
    }
    if (o.format == u"html")
        printHtml(result, out);
    else
        printTsv(result, out);
    err << QStringLiteral("Ошибок: %1, предупреждений: %2").arg(result.errors).arg(result.warnings)
        << Qt::endl;
    return result.errors > 0 ? 1 : 0;
}

} // namespace

int runCheckCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<CheckOptions>(args, out, err, checkUsage, parseOptions, check);
}

} // namespace korvesta
