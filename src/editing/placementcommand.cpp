#include "placementcommand.h"

#include "commandrun.h"
#include "commanddocument.h"
#include "objectnames.h"
#include "consoleprompts.h"
#include "placement.h"

#include "data/apppaths.h"
#include "data/database.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/prompts.h"
#include "data/queries.h"
#include "data/recordset.h"
#include "data/trialrun.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

#include <QRegularExpression>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const placeUsage =
    "Использование:\n"
    "  korvesta place ФАЙЛ --date Д --lesson N --group \"ГРУППА (КУРС)\" [--subgroup K]\n"
    "                 --discipline ДИСЦ [--discipline ДИСЦ2 ...] [--type Лек]\n"
    "                 [--aud \"101 (Главный)\"] [--pair] [--yes] [--dry-run]\n"
    "                 [--set КЛЮЧ=ЗНАЧЕНИЕ ...]\n"
    "  korvesta place ФАЙЛ --date Д --lesson N --tutor ПРЕПОДАВАТЕЛЬ --discipline ДИСЦ\n"
    "                 --group \"ГРУППА (КУРС)\" [--group ГРУППА2 ...] [--type Лек] [--aud А]\n"
    "                 [--yes] [--dry-run] [--set КЛЮЧ=ЗНАЧЕНИЕ ...]\n"
    "  По группе: одна дисциплина - занятие всей группы, несколько - подгруппы 1, 2, ...;\n"
    "  занятия ячейки заменяются новыми. По преподавателю: лекция для всех названных\n"
    "  групп.\n"
    "  Группа: \"П-9\", если группа с таким названием одна, иначе \"П-9 (1)\" или\n"
    "  \"П-9 (1) ИТ\"; преподаватель - \"Иванов И.И.\" или фамилия, если она одна;\n"
    "  аудитория - \"109 (Главный)\" или \"109\", если номер один; регистр букв и лишние\n"
    "  пробелы не важны. Имя, подходящее нескольким, - ошибка (код 2) со списком.\n"
    "  Дата: дд.мм.гггг или гггг-мм-дд. --yes отвечает \"OK\" на вопрос о занятой\n"
    "  аудитории. --dry-run проверяет и пробует запись, печатает, сколько строк каждой\n"
    "  таблицы изменилось бы, и ничего не записывает. --set меняет настройку раздела\n"
    "  Settings только на этот запуск.\n";

struct PlaceOptions
{
    QString path;
    QDate date;
    int lesson = 0;
    bool lessonGiven = false;
    QStringList groups;
    int subgroup = 0;
    QString tutor;
    QStringList disciplines;
    QString type;
    QString aud;
    bool pair = false;
    bool yes = false;
    bool dryRun = false;
    std::vector<std::pair<QString, QString>> sets;
};

// An empty text when the options are usable, else what is wrong with them.
QString parseOptions(const QStringList &args, PlaceOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        const auto value = [&] { return args[++i]; };
        if (a == u"--pair") {
            o.pair = true;
        } else if (a == u"--yes") {
            o.yes = true;
        } else if (a == u"--dry-run") {
            o.dryRun = true;
        } else if (!a.startsWith(QLatin1String("--"))) {
            if (!o.path.isEmpty())
                return QStringLiteral("Лишний аргумент: %1").arg(a);
            o.path = a;
        } else if (!hasValue) {
            return QStringLiteral("Не указано значение для %1").arg(a);
        } else if (a == u"--date") {
            const QString text = value();
            o.date = parseMoment(text).date();
            if (!o.date.isValid())
                return QStringLiteral("Неверная дата: %1").arg(text);
        } else if (a == u"--lesson" || a == u"--subgroup") {
            const QString text = value();
            bool ok = false;
            const int n = text.toInt(&ok);
            if (!ok)
                return QStringLiteral("Неверное число: %1").arg(text);
            (a == u"--lesson" ? o.lesson : o.subgroup) = n;
            o.lessonGiven = o.lessonGiven || a == u"--lesson";
        } else if (a == u"--group") {
            o.groups << value();
        } else if (a == u"--tutor") {
            o.tutor = value();
        } else if (a == u"--discipline") {
            o.disciplines << value();
        } else if (a == u"--type") {
            o.type = value();
        } else if (a == u"--aud" || a == u"--auditorium") {
            o.aud = value();
        } else if (a == u"--set") {
            if (const QString problem = CommandSettings::addSet(value(), o.sets);
                !problem.isEmpty())
                return problem;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (o.path.isEmpty())
        return QStringLiteral("Не указан файл документа");
    if (!o.date.isValid())
        return QStringLiteral("Не указана дата (--date)");
    if (!o.lessonGiven)
        return QStringLiteral("Не указан номер урока (--lesson)");
    if (o.groups.isEmpty())
        return QStringLiteral("Не указана группа (--group)");
    if (o.disciplines.isEmpty())
        return QStringLiteral("Не указана дисциплина (--discipline)");
    if (o.tutor.isEmpty() && o.groups.size() > 1)
        return QStringLiteral("Несколько групп - только для лекции преподавателя (--tutor)");
    if (!o.tutor.isEmpty() && o.disciplines.size() > 1)
        return QStringLiteral("Для лекции указывается одна дисциплина");
    if (o.subgroup != 0 && (!o.tutor.isEmpty() || o.disciplines.size() > 1))
        return QStringLiteral("--subgroup задаётся для одной дисциплины группы");
    if (!o.tutor.isEmpty() && o.pair)
        return QStringLiteral("Парное занятие ставится только по группе");
    return QString();
}

bool sameText(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

bool lineMatches(const PlacementLine &line, const QString &discipline)
{
    return sameText(line.discipline, discipline) || sameText(line.discipline1, discipline);
}

// The key of the type named by its short or long name; the first type when none is named.
int typeKey(const PlacementChoice &choice, const QString &name)
{
    if (name.trimmed().isEmpty())
        return choice.lessonTypes.front().key;
    for (const PlacementLessonType &t : choice.lessonTypes) {
        const qsizetype close = t.text.indexOf(QStringLiteral(") - "));
        if (close < 1)
            continue;
        if (sameText(t.text.mid(1, close - 1), name) || sameText(t.text.mid(close + 4), name))
            return t.key;
    }
    return 0;
}

int place(const PlaceOptions &o, QTextStream &out, QTextStream &err)
{
    CommandDocument document(o.path, o.sets, CommandDocument::Use::Change, o.yes, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return ExitUnreadable;
    ConsolePrompts &prompts = document.prompts();
    LessonPlacement placement(document.session(), document.record(), document.store(), prompts);

    // Every name as any command takes it: a group with or without its course, a tutor's
    // surname, a room without its building, when only one object has it.
    std::vector<NamedObject> groups;
    int refusal = ExitRefused;
    for (const QString &text : o.groups) {
        const std::optional<NamedObject> g =
            objectOfOption(*db, NamedKind::Group, QStringLiteral("--group"), text, err, refusal);
        if (!g)
            return refusal;
        groups.push_back(*g);
    }
    QString tutor;
    if (!o.tutor.isEmpty()) {
        const std::optional<NamedObject> t =
            objectOfOption(*db, NamedKind::Tutor, QStringLiteral("--tutor"), o.tutor, err, refusal);
        if (!t)
            return refusal;
        tutor = t->canonical;
    }
    QString aud = o.aud;
    if (!aud.isEmpty()) {
        const std::optional<NamedObject> a =
            objectOfOption(*db, NamedKind::Auditorium, QStringLiteral("--aud"), aud, err, refusal);
        if (!a)
            return refusal;
        aud = a->canonical;
    }

    std::optional<PlacementChoice> choice;
    if (tutor.isEmpty()) {
        const NamedObject &g = groups.front();
        choice = placement.openForGroup(o.date, o.lesson, g.group, g.course, g.faculty);
    } else {
        choice = placement.openForTutor(o.date, o.lesson, tutor);
    }
    if (!choice)
        return 1;

    // The lines as the user would check them, each in its slot.
    const int slotCount = int(choice->picks.size()) - 1;
    std::vector<const PlacementLine *> chosen;
    if (choice->mode == PlacementMode::Group) {
        for (const QString &discipline : o.disciplines) {
            const auto found = std::find_if(
                choice->lines.begin(), choice->lines.end(), [&](const PlacementLine &l) {
                    return lineMatches(l, discipline)
                           && std::find(chosen.begin(), chosen.end(), &l) == chosen.end();
                });
            if (found == choice->lines.end()) {
                err << QStringLiteral("В нагрузке группы нет дисциплины «%1»").arg(discipline)
                    << Qt::endl;
                return 1;
            }
            chosen.push_back(&*found);
        }
    } else {
        for (const NamedObject &g : groups) {
            const auto found = std::find_if(
                choice->lines.begin(), choice->lines.end(), [&](const PlacementLine &l) {
                    return sameText(l.group, g.group) && sameText(l.course, g.course)
                           && lineMatches(l, o.disciplines.front());
                });
            if (found == choice->lines.end()) {
                err << QStringLiteral("В нагрузке преподавателя нет дисциплины «%1» в группе «%2»")
                           .arg(o.disciplines.front(), g.canonical)
                    << Qt::endl;
                return 1;
            }
            chosen.push_back(&*found);
        }
    }
    if (o.subgroup != 0) {
        if (o.subgroup < 1 || o.subgroup > slotCount) {
            err << QStringLiteral("Номер подгруппы должен быть от 1 до %1").arg(slotCount)
                << Qt::endl;
            return 1;
        }
        const PlacementLine &l = *chosen.front();
        choice->picks[size_t(o.subgroup)] = {l.keyJobList, l.auditorium, l.keyAud};
    } else {
        for (const PlacementLine *l : chosen) {
            if (!choice->check(l->keyJobList, prompts))
                return 1;
        }
    }
    for (int slot = 1; slot <= slotCount; ++slot) {
        if (choice->picks[size_t(slot)].keyJobList == 0)
            continue;
        if (!aud.isEmpty())
            choice->typeAuditorium(slot, aud);
        else if (choice->mode == PlacementMode::Tutor)
            break; // the tutor's usual auditorium serves the lecture
    }

    PlacementRequest request;
    request.keyTypeLesson = typeKey(*choice, o.type);
    if (request.keyTypeLesson == 0) {
        err << QStringLiteral("Нет типа занятия «%1»").arg(o.type) << Qt::endl;
        return 1;
    }
    if (o.pair) {
        const bool tutorsFree = std::all_of(chosen.begin(), chosen.end(),
                                            [](const PlacementLine *l) { return l->pairFree; });
        if (!choice->pairEnabled || !tutorsFree) {
            err << QStringLiteral("Парное занятие недоступно: ")
                << (choice->pairEnabled
                        ? QStringLiteral("преподаватель занят на уроке %1").arg(choice->partner)
                        : choice->freeLessonsText)
                << Qt::endl;
            return 1;
        }
        request.paired = true;
    }
    std::optional<TrialRun> trial;
    if (o.dryRun)
        trial.emplace(*db);
    const PlacementResult result = placement.add(*choice, request);
    if (result.outcome != PlacementOutcome::Written) {
        if (prompts.refused())
            err << QStringLiteral("Ответ «Отмена»: занятие не поставлено. Чтобы ответить «OK», "
                                  "добавьте --yes")
                << Qt::endl;
        return 1;
    }
    if (trial) {
        trial->report(out, err);
        return 0;
    }
    for (const PlacedCell &cell : result.cells)
        out << cell.lesson << '\t'
            << QString(cell.text).replace(QStringLiteral("\r\n"), QStringLiteral(" / "))
            << Qt::endl;
    return 0;
}

} // namespace

int runPlaceCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<PlaceOptions>(args, out, err, placeUsage, parseOptions, place);
}

} // namespace korvesta
