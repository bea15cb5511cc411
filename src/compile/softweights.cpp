#include "softweights.h"

#include "settings/settingsstore.h"

namespace korvesta {

namespace {

const QString kSection = QStringLiteral("Generate");

} // namespace

const std::vector<SoftWeightField> &softWeightFields()
{
    static const std::vector<SoftWeightField> fields = {
        {"GroupGap", QStringLiteral("Окно у группы"), &SoftWeights::groupGap},
        {"TutorGap", QStringLiteral("Окно у преподавателя"), &SoftWeights::tutorGap},
        {"TwiceADay", QStringLiteral("Дисциплина дважды в день"), &SoftWeights::twiceADay},
        {"SubgroupsApart", QStringLiteral("Подгруппы занимаются порознь"),
         &SoftWeights::subgroupsApart},
        {"LateLesson", QStringLiteral("Занятие на номер позже"), &SoftWeights::lateLesson},
        {"HardLate", QStringLiteral("Трудная дисциплина на номер позже"), &SoftWeights::hardLate},
    };
    return fields;
}

SoftWeights readSoftWeights(const SettingsStore &store)
{
    SoftWeights weights;
    for (const SoftWeightField &f : softWeightFields()) {
        const int value = store.readInt(kSection, QString::fromLatin1(f.key), weights.*f.weight);
        if (value >= 0 && value <= kMostSoftWeight)
            weights.*f.weight = value;
    }
    return weights;
}

void writeSoftWeights(SettingsStore &store, const SoftWeights &weights)
{
    for (const SoftWeightField &f : softWeightFields())
        store.writeInt(kSection, QString::fromLatin1(f.key), weights.*f.weight);
}

} // namespace korvesta
