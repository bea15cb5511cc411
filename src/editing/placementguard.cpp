#include "placementguard.h"

#include "lessonclashes.h"
#include "placement.h"

#include "data/database.h"
#include "data/prompts.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "data/tutorabsence.h"
#include "settings/settingsrecord.h"

#include <QStringList>

#include <algorithm>

namespace korvesta {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

bool pairedRequest(const PlacementChoice &c, const PlacementRequest &request)
{
    return c.mode == PlacementMode::Group && request.paired && c.partner >= 1;
}

// The held lesson goes when the choice is written: the group's cell (and its pair's), or the
// tutor's cell.
bool replacedBy(const PlacementChoice &c, bool paired, const SlotLesson &h)
{
    if (c.mode == PlacementMode::Group)
        return h.keyGroup == c.keyGroup
               && (h.lesson == c.lesson || (paired && h.lesson == c.partner));
    return h.keyTutor == c.keyTutor && h.lesson == c.lesson;
}

// "Матем, Иванов" of "П-9 (1), Матем, Иванов".
QString withoutGroup(const SlotLesson &h)
{
    return h.text.startsWith(h.group + QStringLiteral(", ")) ? h.text.mid(h.group.size() + 2)
                                                              : h.text;
}

} // namespace

QString occupiedAuditoriumQuestion(const QString &auditorium, const QString &where)
{
    return QStringLiteral("Аудитория '") + auditorium.trimmed() + QStringLiteral("'") + where
           + kLineBreak + QStringLiteral("Если желаете оставить выбранную аудиторию, нажмите 'OK'")
           + kLineBreak + QStringLiteral("Для редактирования аудитории нажмите 'Отмена'");
}

bool placementAgreed(const Database &db, PlacementChoice &c, const PlacementRequest &request,
                     Prompts &prompts, PlacementAgreement &agreement)
{
    agreement = PlacementAgreement();
    const bool paired = pairedRequest(c, request);
    // The questions are about the lesson and its pair alone.
    const std::vector<SlotLesson> held =
        lessonsOfDate(db, c.date, paired ? std::vector<int>{c.lesson, c.partner} : std::vector<int>{c.lesson});
    const std::vector<int> used = c.checkedSlots();

    if (paired) {
        // The other lesson of the pair gets the checks of the chosen one.
        std::vector<int> tutors;
        for (int slot : used)
            if (const PlacementLine *l = c.line(c.picks[size_t(slot)].keyJobList))
                tutors.push_back(l->keyTutor);
        const TutorAbsences absences = TutorAbsences::read(db, tutors);
        for (int slot : used) {
            const PlacementLine *l = c.line(c.picks[size_t(slot)].keyJobList);
            if (!l)
                continue;
            QString busy;
            if (absences.away(l->keyTutor, c.date, c.partner)) {
                busy = QStringLiteral("отсутствует");
            } else {
                for (const SlotLesson &h : held) {
                    if (h.lesson == c.partner && h.keyTutor == l->keyTutor
                        && !replacedBy(c, paired, h)) {
                        busy = QStringLiteral("ведёт занятие: ") + h.text;
                        break;
                    }
                }
            }
            if (!busy.isEmpty()) {
                prompts.message(QStringLiteral("Парное занятие невозможно: на %1 уроке "
                                               "преподаватель %2 %3")
                                    .arg(QString::number(c.partner), l->tutor, busy),
                                Prompts::Icon::Warning);
                return false;
            }
        }
        QStringList there;
        for (const SlotLesson &h : held) {
            if (h.keyGroup == c.keyGroup && h.lesson == c.partner) {
                agreement.partnerLessons.push_back(h.key);
                there << (h.subGroup > 0 ? QStringLiteral("подгруппа %1: ").arg(h.subGroup)
                                         : QString())
                             + withoutGroup(h);
            }
        }
        if (!there.isEmpty()) {
            const QString question =
                QStringLiteral("На %1 уроке у группы %2 (курс %3) уже есть занятия:")
                    .arg(QString::number(c.partner), c.objectName, c.course)
                + kLineBreak + there.join(kLineBreak) + kLineBreak + kLineBreak
                + QStringLiteral("Заменить их парным занятием?");
            if (prompts.askYesNo(question, Prompts::Icon::Question) != Prompts::Answer::Yes)
                return false;
        }
    }

    if (!c.checkAuditoria)
        return true;
    // Another lesson at either lesson of the placement holds the auditorium.
    const std::vector<int> boxes = c.auditoriumSlots();
    std::vector<int> lessons{c.lesson};
    if (paired)
        lessons.push_back(c.partner);
    for (int box : boxes) {
        const PlacementSlot &s = c.picks[size_t(box)];
        if (agreement.occupiedKept.count(s.keyAud))
            continue;
        for (int lesson : lessons) {
            const bool occupied = std::any_of(held.begin(), held.end(), [&](const SlotLesson &h) {
                return h.lesson == lesson && h.keyAud == s.keyAud && !replacedBy(c, paired, h);
            });
            if (!occupied)
                continue;
            const QString where = lesson == c.lesson
                                      ? QStringLiteral(" занята на данном на уроке")
                                      : QStringLiteral(" занята на %1 уроке").arg(lesson);
            if (prompts.askOkCancel(occupiedAuditoriumQuestion(s.auditorium, where), Prompts::Icon::Warning)
                != Prompts::Answer::Ok)
                return false;
            agreement.occupiedKept.insert(s.keyAud);
            break;
        }
    }
    // Two subgroups of different tutors in one auditorium at once.
    if (c.mode == PlacementMode::Group) {
        for (size_t i = 0; i < used.size(); ++i) {
            const PlacementSlot &a = c.picks[size_t(used[i])];
            const PlacementLine *la = c.line(a.keyJobList);
            for (size_t j = i + 1; j < used.size(); ++j) {
                const PlacementSlot &b = c.picks[size_t(used[j])];
                const PlacementLine *lb = c.line(b.keyJobList);
                if (!la || !lb || a.keyAud != b.keyAud || la->keyTutor == lb->keyTutor
                    || agreement.occupiedKept.count(a.keyAud))
                    continue;
                if (prompts.askOkCancel(
                        occupiedAuditoriumQuestion(a.auditorium,
                                         QStringLiteral(" выбрана для подгрупп %1 и %2 с разными "
                                                        "преподавателями")
                                             .arg(used[i])
                                             .arg(used[j])),
                        Prompts::Icon::Warning)
                    != Prompts::Answer::Ok)
                    return false;
                agreement.occupiedKept.insert(a.keyAud);
            }
        }
    }
    return true;
}

QString placementRefusal(const Database &db, const PlacementChoice &c,
                         const std::vector<SlotLesson> &added,
                         const std::vector<qint64> &replaced,
                         const PlacementAgreement &agreement, const SettingsRecord &settings)
{
    const std::vector<SlotLesson> before = lessonsOfDate(db, c.date);
    std::vector<SlotLesson> held;
    for (const SlotLesson &h : before) {
        if (std::find(replaced.begin(), replaced.end(), h.key) == replaced.end())
            held.push_back(h);
    }
    std::vector<int> placedTutors;
    for (const SlotLesson &a : added)
        placedTutors.push_back(a.keyTutor);
    const TutorAbsences absences = TutorAbsences::read(db, placedTutors);
    for (size_t i = 0; i < added.size(); ++i) {
        const SlotLesson &a = added[i];
        if (absences.away(a.keyTutor, c.date, a.lesson))
            return QStringLiteral("Преподаватель отсутствует на %1 уроке: %2")
                .arg(QString::number(a.lesson), a.text);
        // The group's own rule is kept by the placement itself: it replaces the group's cell,
        // or makes a lecture one more subgroup of it.
        for (const SlotLesson &h : held) {
            if (breaks(LessonClash::Tutor, h, a))
                return QStringLiteral("Преподаватель занят на %1 уроке: %2")
                    .arg(QString::number(a.lesson), h.text);
            if (breaks(LessonClash::Auditorium, h, a) && !agreement.occupiedKept.count(a.keyAud))
                return QStringLiteral("Аудитория занята на %1 уроке: %2")
                    .arg(QString::number(a.lesson), h.text);
        }
        for (size_t j = 0; j < i; ++j) {
            if (breaks(LessonClash::Tutor, added[j], a))
                return QStringLiteral("Преподаватель не может вести два занятия на %1 уроке: %2")
                    .arg(QString::number(a.lesson), a.text);
        }
    }
    // A lesson number new to the group or a tutor that day counts against its limit.
    const auto grows = [&](auto belongs, int limit) {
        if (limit <= 0)
            return false;
        std::set<int> was, now;
        for (const SlotLesson &h : before) {
            if (belongs(h))
                was.insert(h.lesson);
        }
        for (const SlotLesson &h : held) {
            if (belongs(h))
                now.insert(h.lesson);
        }
        for (const SlotLesson &a : added) {
            if (belongs(a))
                now.insert(a.lesson);
        }
        return now.size() > was.size() && int(now.size()) > limit;
    };
    // A line with no hour left as it stands now (what the lessons replaced free counts back).
    if (settings.JobOverFlow) {
        std::set<std::pair<int, int>> lines;
        for (const SlotLesson &a : added)
            lines.emplace(a.keyGroup, a.keyJob);
        for (const auto &[keyGroup, keyJob] : lines) {
            QueryDef query = db.queryDef(QStringLiteral("qryCheckCopyOverJob"));
            query.setParameter(QStringLiteral("pKeyGroup"), keyGroup);
            query.setParameter(QStringLiteral("pKeyJob"), keyJob);
            const Recordset rs = query.openRecordset();
            if (rs.isEmpty())
                continue;
            const auto freed = std::count_if(before.begin(), before.end(), [&](const SlotLesson &h) {
                return h.keyGroup == keyGroup && h.keyJob == keyJob
                       && std::find(replaced.begin(), replaced.end(), h.key) != replaced.end();
            });
            if (rs.value(QStringLiteral("CountHours")).toLongLong() - freed
                >= rs.value(QStringLiteral("Hours")).toLongLong())
                return QStringLiteral("Все часы по дисциплине отработаны");
        }
    }
    std::set<int> groups, tutors;
    for (const SlotLesson &a : added) {
        groups.insert(a.keyGroup);
        tutors.insert(a.keyTutor);
    }
    for (int group : groups) {
        if (grows([group](const SlotLesson &l) { return l.keyGroup == group; },
                  settings.LessonsToGroup))
            return QStringLiteral("Достигнут предел количества занятий в день для учебной группы");
    }
    for (int tutor : tutors) {
        if (grows([tutor](const SlotLesson &l) { return l.keyTutor == tutor; },
                  settings.LessonsToTutor))
            return QStringLiteral("Достигнут предел дневной нагрузки для преподавателя");
    }
    return QString();
}

} // namespace korvesta
