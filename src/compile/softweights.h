#pragma once

#include "slotproblem.h"

#include <QString>

#include <vector>

namespace korvesta {

class SettingsStore;

// One weight of the soft goals as the options show and keep it (section "Generate").
struct SoftWeightField
{
    const char *key;
    QString caption;
    int SoftWeights::*weight;
};

// The weights in the order the options list them.
const std::vector<SoftWeightField> &softWeightFields();

// The most a weight may be: a lesson placed weighs 1000, and every goal stays below it.
constexpr int kMostSoftWeight = 999;

// The user's weights; a missing or unreadable one (or one out of bounds) is the default.
SoftWeights readSoftWeights(const SettingsStore &store);
void writeSoftWeights(SettingsStore &store, const SoftWeights &weights);

} // namespace korvesta
