#include "training/WeakNotes.h"

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

int weightedDraw(std::span<const double> weights, double r) {
    double rest = std::accumulate(weights.begin(), weights.end(), 0.0) * r;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (rest < weights[i])
            return int(i);
        rest -= weights[i];
    }
    // Rounding can leave r × total just past the last weight.
    return int(weights.size()) - 1;
}
