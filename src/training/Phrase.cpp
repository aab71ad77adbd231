#include "training/Phrase.h"

#include "training/WeakNotes.h"

#include <cstdlib>

double phraseMotionShare(int distance) {
    switch (std::abs(distance)) {
    case 0:
        return 0.05;
    case 1:
        return 0.25; // each way: half the phrase's moves are steps
    case 2:
        return 0.12;
    case 3:
    case 4:
    case 5:
        return 0.02;
    default:
        return 0;
    }
}

std::vector<int> drawPhrase(int length, int lowest, int highest, std::span<const double> weights,
                            const std::function<double()>& random) {
    std::vector<int> phrase;
    if (length <= 0 || highest < lowest)
        return phrase;
    const auto weightOf = [&](int place) {
        return weights.empty() ? 1.0 : weights[std::size_t(place - lowest)];
    };
    std::vector<double> shares(std::size_t(highest - lowest + 1));
    for (int place = lowest; place <= highest; ++place)
        shares[std::size_t(place - lowest)] = weightOf(place);
    phrase.push_back(lowest + weightedDraw(shares, random()));
    while (int(phrase.size()) < length) {
        const int last = phrase.back();
        double total = 0;
        for (int place = lowest; place <= highest; ++place) {
            const double share = phraseMotionShare(place - last) * weightOf(place);
            shares[std::size_t(place - lowest)] = share;
            total += share;
        }
        // A range of one place, or weights of nought around the last note: stay on it.
        phrase.push_back(total > 0 ? lowest + weightedDraw(shares, random()) : last);
    }
    return phrase;
}
