#include "optionsrules.h"

#include "settings/settingsrecord.h"
#include "views/timetable/cellcomposer.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace korvesta::options {

namespace {

struct Pattern
{
    int code;
    const char *boxes;
};

// The display codes the timetable knows, as the boxes that show them.
const Pattern kPatterns[] = {
    {1, "100000"},  {3, "010000"},  {7, "001000"},  {8, "101000"},  {10, "011000"}, {11, "000010"},
    {12, "100010"}, {14, "010010"}, {18, "001010"}, {21, "011010"}, {24, "000001"}, {25, "100001"},
    {27, "010001"}, {29, "000100"}, {31, "001001"}, {32, "010100"}, {33, "101001"}, {40, "000110"},
    {42, "001011"}, {43, "010110"}, {45, "011011"}, {53, "000101"}, {67, "010111"},
};

// The weights of the boxes "Группа" to "Аудитория".
constexpr int kWeights[] = {1, 3, 7, 29, 11};

std::optional<double> number(const QString &text)
{
    bool ok = false;
    double value = text.trimmed().toDouble(&ok);
    if (!ok)
        value = QLocale(QLocale::Russian).toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

bool isNumeric(const QString &text)
{
    return number(text).has_value();
}

QString numericText(const QString &text)
{
    QString kept = text;
    while (!kept.isEmpty() && !isNumeric(kept))
        kept.chop(1);
    return kept;
}

int shortValue(const QString &text)
{
    const double value = std::trunc(number(text).value_or(0));
    return int(std::clamp(value, double(std::numeric_limits<qint16>::min()),
                          double(std::numeric_limits<qint16>::max())));
}

std::optional<int> lessonsInPeriod(int lessonsInDay, int shifts)
{
    if (shifts == 0)
        return std::nullopt;
    return lessonsInDay / shifts;
}

int lessonInShift(int lesson, int lessonsInPeriod)
{
    const int p = lessonsInPeriod;
    if (p <= 0 || lesson <= p)
        return lesson;
    if (lesson <= 2 * p)
        return lesson - p;
    return lesson - 2 * p;
}

std::optional<DisplayBoxes> displayBoxes(int code)
{
    for (const Pattern &p : kPatterns) {
        if (p.code != code)
            continue;
        DisplayBoxes boxes{};
        for (size_t i = 0; i < boxes.size(); ++i)
            boxes[i] = p.boxes[i] == '1';
        return boxes;
    }
    return std::nullopt;
}

int displayCode(const DisplayBoxes &boxes)
{
    int code = 0;
    for (size_t i = 0; i < std::size(kWeights); ++i) {
        if (boxes[i])
            code += kWeights[i];
    }
    return code;
}

bool isShownCode(int code)
{
    LessonTexts sample;
    sample.group = sample.tutor = sample.discipline = sample.discipline1 = sample.auditoria =
        sample.shortType = sample.longType = QStringLiteral("x");
    return !composeCellText(sample, code).isEmpty();
}

std::optional<Refusal> checkNorms(const SettingsRecord &r)
{
    struct Bound
    {
        const char *control;
        const char *caption;
        int value;
        int low;
        int high;
    };
    const int day = r.LessonsInDay;
    const Bound bounds[] = {
        {"txtWorkTimePeriod", "Количество смен", r.WorkTimePeriod, 1, 3},
        {"txtLessonsInDay", "Количество занятий в день", day, 1, 24},
        {"txtLessonsInPeriod", "Количество занятий в смене", r.LessonsInPeriod, 1, day},
        {"txtLecture", "Количество групп для лекционного занятия", r.CountGroupOnLecture, 1, 50},
        {"txtHoursValue", "Часов нагрузки в учебный период", r.HoursValue, 0,
         std::numeric_limits<qint16>::max()},
        {"txtLessonsToTutor", "Рабочих часов в день", r.LessonsToTutor, 0, 24},
        {"txtSubGroupCount", "Максимальное количество подгрупп", r.SubGroupCount, 1, 10},
        {"txtLessonsToGroup", "Занятий в день для группы", r.LessonsToGroup, 0, 24},
    };
    for (const Bound &b : bounds) {
        if (b.value >= b.low && b.value <= b.high)
            continue;
        return Refusal{QString::fromLatin1(b.control), QStringLiteral("%1: допустимо от %2 до %3")
                                                           .arg(QString::fromUtf8(b.caption))
                                                           .arg(b.low)
                                                           .arg(b.high)};
    }
    return std::nullopt;
}

} // namespace korvesta::options
