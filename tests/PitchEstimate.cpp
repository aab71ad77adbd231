#include "PitchEstimate.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

// Normalised square difference: 1 where the signal repeats exactly after `lag` samples.
std::vector<double> normalisedAutocorrelation(std::span<const float> samples, std::size_t window,
                                              std::size_t maxLag) {
    std::vector<double> result(maxLag + 1);
    for (std::size_t lag = 0; lag <= maxLag; ++lag) {
        double product = 0.0;
        double energy = 0.0;
        for (std::size_t i = 0; i < window; ++i) {
            product += double(samples[i]) * samples[i + lag];
            energy += double(samples[i]) * samples[i] + double(samples[i + lag]) * samples[i + lag];
        }
        result[lag] = energy > 0.0 ? 2.0 * product / energy : 0.0;
    }
    return result;
}

// Highest point of each lobe above zero, skipping the one around lag 0.
std::vector<std::size_t> lobePeaks(const std::vector<double>& curve, std::size_t minLag) {
    std::vector<std::size_t> peaks;
    std::size_t lag = 1;
    while (lag < curve.size() && curve[lag] > 0.0)
        ++lag;
    while (lag < curve.size()) {
        while (lag < curve.size() && curve[lag] <= 0.0)
            ++lag;
        std::size_t best = lag;
        while (lag < curve.size() && curve[lag] > 0.0) {
            if (curve[lag] > curve[best])
                best = lag;
            ++lag;
        }
        // A lobe cut off by the end of the curve has no proven peak.
        if (lag < curve.size() && best >= minLag)
            peaks.push_back(best);
    }
    return peaks;
}

} // namespace

double estimateFundamental(std::span<const float> samples, double sampleRate, double minHz,
                           double maxHz) {
    const auto maxLag = static_cast<std::size_t>(std::ceil(sampleRate / minHz)) + 1;
    const auto minLag = static_cast<std::size_t>(std::floor(sampleRate / maxHz));
    if (samples.size() < 3 * maxLag)
        return 0.0;
    const std::vector<double> curve =
        normalisedAutocorrelation(samples, samples.size() - maxLag, maxLag);
    const std::vector<std::size_t> peaks = lobePeaks(curve, minLag);
    if (peaks.empty())
        return 0.0;

    const double highest =
        curve[*std::max_element(peaks.begin(), peaks.end(),
                                [&](std::size_t a, std::size_t b) { return curve[a] < curve[b]; })];
    // Whole multiples of the period score about as high as the period itself; take the first.
    const std::size_t lag = *std::find_if(peaks.begin(), peaks.end(),
                                          [&](std::size_t p) { return curve[p] >= 0.9 * highest; });
    if (curve[lag] < 0.5)
        return 0.0;

    const double before = curve[lag - 1];
    const double at = curve[lag];
    const double after = curve[lag + 1];
    const double bend = before - 2.0 * at + after;
    const double offset = bend != 0.0 ? 0.5 * (before - after) / bend : 0.0;
    return sampleRate / (double(lag) + offset);
}
