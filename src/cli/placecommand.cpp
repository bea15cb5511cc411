#include "placecommand.h"

#include "commandline.h"
#include "records.h"
#include "trialreport.h"

#include "editing/commandrun.h"
#include "editing/commanddocument.h"
#include "editing/objectnames.h"
#include "editing/consoleprompts.h"
#include "editing/placement.h"

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
    RecordFormat format = RecordFormat::Text;
    CommandSettings::Values sets;
};

void readOptions(CommandLine &line, PlaceOptions &o)
{
    o.path = line.arguments().value(0);
    o.date = line.date(QStringLiteral("date")).value_or(QDate());
    // A lesson outside the day is the placement's own refusal, in the dialog's words.
    o.lesson = line.number(QStringLiteral("lesson"), 0, 99).value_or(0);
    o.lessonGiven = line.isSet(QStringLiteral("lesson"));
    o.groups = line.values(QStringLiteral("group"));
    o.subgroup = line.number(QStringLiteral("subgroup"), 1, 99).value_or(0);
    o.tutor = line.value(QStringLiteral("tutor"));
    o.disciplines = line.values(QStringLiteral("discipline"));
    o.type = line.value(QStringLiteral("type"));
    o.aud = line.value(QStringLiteral("aud"));
    o.pair = line.isSet(QStringLiteral("pair"));
    o.yes = line.isSet(QStringLiteral("yes"));
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    o.sets = settingValues(line);
    if (!o.date.isValid())
        line.fail(QStringLiteral("Не указана дата (--date)"));
    else if (!o.lessonGiven)
        line.fail(QStringLiteral("Не указан урок (--lesson)"));
    else if (o.groups.isEmpty())
        line.fail(QStringLiteral("Не указана группа (--group)"));
    else if (o.disciplines.isEmpty())
        line.fail(QStringLiteral("Не указана дисциплина (--discipline)"));
    else if (o.tutor.isEmpty() && o.groups.size() > 1)
        line.fail(QStringLiteral("Несколько групп - только для лекции преподавателя (--tutor)"));
    else if (!o.tutor.isEmpty() && o.disciplines.size() > 1)
        line.fail(QStringLiteral("Для лекции указывается одна дисциплина"));
    else if (o.subgroup != 0 && (!o.tutor.isEmpty() || o.disciplines.size() > 1))
        line.fail(QStringLiteral("--subgroup задаётся для одной дисциплины группы"));
    else if (!o.tutor.isEmpty() && o.pair)
        line.fail(QStringLiteral("Парное занятие ставится только по группе"));
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
        reportTrial(*trial, o.format, out, err);
        return 0;
    }
    for (const PlacedCell &cell : result.cells)
        out << cell.lesson << '\t'
            << QString(cell.text).replace(QStringLiteral("\r\n"), QStringLiteral(" / "))
            << Qt::endl;
    return 0;
}

} // namespace

const CommandSpec &placeCommandSpec()
{
    static const CommandSpec spec = [] {
        CommandSpec s{
            QStringLiteral("place"),
            {QStringLiteral("ФАЙЛ")},
            1,
            {
                {{QStringLiteral("date")}, QStringLiteral("Д"), QStringLiteral("дата ячейки")},
                {{QStringLiteral("lesson")}, QStringLiteral("N"), QStringLiteral("урок ячейки")},
                groupOption(QStringLiteral("группа; для лекции - каждая группа лекции")),
                {{QStringLiteral("subgroup")},
                 QStringLiteral("K"),
                 QStringLiteral("подгруппа (для одной дисциплины группы)")},
                tutorOption(QStringLiteral("лекция преподавателя для всех названных групп")),
                disciplineOption(QStringLiteral("дисциплина; несколько по группе - подгруппы 1, "
                                                "2, ...")),
                {{QStringLiteral("type")},
                 QStringLiteral("ВИД"),
                 QStringLiteral("вид занятия, краткое или полное название (Лек)")},
                audOption(QStringLiteral("аудитория")),
                {{QStringLiteral("pair")}, QString(), QStringLiteral("парное занятие (по группе)")},
                {{QStringLiteral("yes")},
                 QString(),
                 QStringLiteral("ответить «OK» на вопрос о занятой аудитории")},
                dryRunOption(),
                formatOption(),
                setOption(),
            },
            QStringLiteral("поставить занятие в ячейку расписания с проверками окна"),
            QStringLiteral("  По группе: одна дисциплина - занятие всей группы, несколько - "
                           "подгруппы 1, 2, ...;\n  занятия ячейки заменяются новыми. По "
                           "преподавателю: лекция для всех названных групп."),
        };
        // --group and --discipline name several groups of a lecture, several subgroups.
        for (OptionSpec &o : s.options) {
            if (o.names.constFirst() == u"group" || o.names.constFirst() == u"discipline")
                o.repeatable = true;
        }
        return s;
    }();
    return spec;
}

int runPlaceCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    PlaceOptions o;
    return runCommand(
        placeCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return place(o, out, err); });
}

} // namespace korvesta
