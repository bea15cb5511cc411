#include "checkcommand.h"

#include "commandline.h"
#include "editing/exitcode.h"
#include "records.h"

#include "check/timetablecheck.h"

#include "data/apppaths.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"

#include <optional>


namespace korvesta {

namespace {

const CommandSpec &checkSpec()
{
    static const CommandSpec spec{
        QStringLiteral("check"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("from")}, QStringLiteral("Д"), QStringLiteral("начало периода")},
            {{QStringLiteral("to")}, QStringLiteral("Д"), QStringLiteral("конец периода")},
            formatOption({QStringLiteral("html")}),
            isoDatesOption(),
            {{QStringLiteral("full")},
             QString(),
             QStringLiteral("полная проверка файла со всеми индексами (дольше)")},
            setOption(),
        },
        QStringLiteral("проверить расписание: все накладки и нарушения за период"),
        QStringLiteral(
            "  Печатает все ошибки расписания за период (по умолчанию - за всё время): накладки\n"
            "  преподавателей, аудиторий и групп, занятия сверх нагрузки, в выходные, праздники,\n"
            "  каникулы и вне учебного периода, во время отсутствия преподавателя, сверх\n"
            "  дневного предела, ссылки на удалённые записи; и предупреждения о невыполненной\n"
            "  нагрузке. Проверка всего документа сначала проверяет сам файл (повреждение -\n"
            "  тоже ошибка); --full - полная проверка файла со всеми индексами.\n"
            "  Код выхода: 0 - ошибок нет, 1 - есть ошибки, 2 - неверная командная строка,\n"
            "  3 - документ не прочитан."),
    };
    return spec;
}

enum class CheckFormat { Text, Tsv, Json, Html };

struct CheckOptions
{
    QString path;
    QDate from, to;
    CheckFormat format = CheckFormat::Text;
    bool isoDates = false;
    bool full = false;
    CommandSettings::Values sets;
};

void readOptions(CommandLine &line, CheckOptions &o)
{
    o.path = line.arguments().value(0);
    o.from = line.date(QStringLiteral("from")).value_or(QDate());
    o.to = line.date(QStringLiteral("to")).value_or(QDate());
    if (const std::optional<int> f = line.choice(QStringLiteral("format")))
        o.format = CheckFormat(*f);
    o.isoDates = line.isSet(QStringLiteral("iso-dates"));
    o.full = line.isSet(QStringLiteral("full"));
    o.sets = settingValues(line);
    if (line.error().isEmpty() && o.from.isValid() && o.to.isValid() && o.from > o.to)
        line.fail(QStringLiteral("Начало периода (%1) позже его конца (%2)")
                      .arg(o.from.toString(QStringLiteral("dd.MM.yyyy")),
                           o.to.toString(QStringLiteral("dd.MM.yyyy"))));
}

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

Records problemRecords(const TimetableCheck &check)
{
    Records r;
    r.fields = {QStringLiteral("kind"),  QStringLiteral("error"),   QStringLiteral("date"),
                QStringLiteral("lesson"), QStringLiteral("group"), QStringLiteral("tutor"),
                QStringLiteral("objects"), QStringLiteral("explanation")};
    r.headers = {QStringLiteral("Вид"),      QStringLiteral("Ошибка"), QStringLiteral("Дата"),
                 QStringLiteral("Урок"),     QStringLiteral("Группа"), QStringLiteral("Преподаватель"),
                 QStringLiteral("Объекты"), QStringLiteral("Описание")};
    for (const TimetableProblem &p : check.problems) {
        const QString group = p.group.isEmpty()
                                  ? QString()
                                  : p.group + QStringLiteral(" (") + p.course + u')';
        r.rows.push_back({problemKindText(p.kind), isError(p.kind),
                          p.date.isValid() ? QVariant(p.date) : QVariant(),
                          p.lesson ? QVariant(p.lesson) : QVariant(), group, p.tutor, p.objects,
                          p.explanation});
    }
    return r;
}

// As it has always been printed for a person: kind, date, lesson, objects, explanation.
void printText(const TimetableCheck &check, QTextStream &out, bool isoDates)
{
    Records r;
    r.fields = {QStringLiteral("kind"), QStringLiteral("date"), QStringLiteral("lesson"),
                QStringLiteral("objects"), QStringLiteral("explanation")};
    r.headers = {QStringLiteral("Вид"), QStringLiteral("Дата"), QStringLiteral("Урок"),
                 QStringLiteral("Объекты"), QStringLiteral("Описание")};
    for (const TimetableProblem &p : check.problems)
        r.rows.push_back({problemKindText(p.kind),
                          p.date.isValid() ? QVariant(p.date) : QVariant(),
                          p.lesson ? QVariant(p.lesson) : QVariant(), p.objects, p.explanation});
    r.write(RecordFormat::Text, out, isoDates);
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
    switch (o.format) {
    case CheckFormat::Html:
        printHtml(result, out);
        break;
    case CheckFormat::Text:
        printText(result, out, o.isoDates);
        break;
    case CheckFormat::Tsv:
        problemRecords(result).write(RecordFormat::Tsv, out, o.isoDates);
        break;
    case CheckFormat::Json:
        problemRecords(result).write(RecordFormat::Json, out);
        break;
    }
    err << QStringLiteral("Ошибок: %1, предупреждений: %2").arg(result.errors).arg(result.warnings)
        << Qt::endl;
    return result.errors > 0 ? ExitRefused : ExitDone;
}

} // namespace

const CommandSpec &checkCommandSpec()
{
    return checkSpec();
}

int runCheckCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    CheckOptions options;
    return runCommand(
        checkSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, options); },
        [&] { return check(options, out, err); });
}

} // namespace korvesta
