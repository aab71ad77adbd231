#include "training/WeakNotes.h"

#include "training/OwnSigns.h"

#include <numeric>

namespace {
constexpr int AskedBeforeJudged = 5;
constexpr double UnjudgedWeight = 3;
} // namespace

double weakNoteWeight(const NoteRecord& record) {
    if (record.asked < AskedBeforeJudged)
        return UnjudgedWeight;
    return 1 + 4 * double(record.missed) / record.asked;
}

std::vector<NoteShare> spellingsOfStep(int step, KeySignature key, OwnAccidentals own) {
    const SpelledNote fromKey = key.spell(step);
    const std::vector<int> signs = ownSigns(fromKey.alteration, own);
    if (signs.empty())
        return {{fromKey, 1}};
    std::vector<NoteShare> spellings = {{fromKey, 1 - OwnSignShare}};
    for (const int sign : signs)
        spellings.push_back({{step, sign}, OwnSignShare / double(signs.size())});
    return spellings;
}

double placeWeight(std::span<const NoteShare> spellings, std::span<const NoteRecord> records) {
    double weight = 0;
    for (std::size_t i = 0; i < spellings.size() && i < records.size(); ++i)
        weight += spellings[i].share * weakNoteWeight(records[i]);
    return weight;
}

int weightedDraw(std::span<const double> weights, double r) {
    double rest = std::accumulate(weights.begin(), weights.end(), 0.0) * r;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (rest < weights[i])
            return int(i);
        rest -= weights[i];
    }
    // Rounding can leave r × total just past the last weight: the last that can be drawn.
    for (std::size_t i = weights.size(); i-- > 0;)
        if (weights[i] > 0)
            return int(i);
    return int(weights.size()) - 1;
}
