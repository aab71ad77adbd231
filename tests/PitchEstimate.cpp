#include "PitchEstimate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>
#include <optional>
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

// Where between its neighbours the top of a parabola through three equally spaced points lies, in
// steps from the middle one.
double parabolicOffset(double before, double at, double after) {
    const double bend = before - 2.0 * at + after;
    return bend != 0.0 ? 0.5 * (before - after) / bend : 0.0;
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

// The frequency of the period, from the first strong autocorrelation peak rather than the
// highest spectral one, so a loud second harmonic does not read as the octave above.
double periodFundamental(std::span<const float> samples, double sampleRate, double minHz,
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

    return sampleRate / (double(lag) + parabolicOffset(curve[lag - 1], curve[lag], curve[lag + 1]));
}

// Magnitude of the Hann-windowed spectrum at one frequency.
double magnitudeAt(const std::vector<double>& windowed, double sampleRate, double frequency) {
    const std::complex<double> turn =
        std::polar(1.0, -2.0 * std::numbers::pi * frequency / sampleRate);
    std::complex<double> phase = 1.0;
    std::complex<double> sum = 0.0;
    for (double sample : windowed) {
        sum += sample * phase;
        phase *= turn;
    }
    return std::abs(sum);
}

// The Hann-windowed samples, for reading the spectrum.
std::vector<double> hannWindowed(std::span<const float> samples) {
    std::vector<double> windowed(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i)
        windowed[i] =
            samples[i] *
            (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(i) / double(samples.size() - 1)));
    return windowed;
}

struct SpectralPeak {
    double frequency;
    double magnitude;
};

// The strongest spectral peak within a semitone of `near`, where no other partial lies; none if
// the spectrum only rises towards the edge, as beside a partial that is not there.
std::optional<SpectralPeak> spectralPeakNear(const std::vector<double>& windowed, double sampleRate,
                                             double near) {
    const auto frequencyAt = [&](double cents) { return near * std::exp2(cents / 1200.0); };
    constexpr double stepCents = 2.0;
    constexpr int steps = 50;
    std::vector<double> magnitudes;
    for (int step = -steps; step <= steps; ++step)
        magnitudes.push_back(magnitudeAt(windowed, sampleRate, frequencyAt(step * stepCents)));
    const auto best =
        std::size_t(std::max_element(magnitudes.begin(), magnitudes.end()) - magnitudes.begin());
    if (best == 0 || best + 1 == magnitudes.size())
        return std::nullopt;
    const double offset =
        parabolicOffset(magnitudes[best - 1], magnitudes[best], magnitudes[best + 1]);
    return SpectralPeak{frequencyAt((double(best) - steps + offset) * stepCents), magnitudes[best]};
}

} // namespace

double estimateFundamental(std::span<const float> samples, double sampleRate, double minHz,
                           double maxHz) {
    const double period = periodFundamental(samples, sampleRate, minHz, maxHz);
    if (period <= 0.0)
        return 0.0;
    // A struck string's upper partials run sharp of whole multiples, and pull the period sharp
    // with them (by up to a third of a semitone with some pianos); each partial's own spectral
    // peak does not move. The lowest three are read, each divided by its number, and the middle
    // reading taken: the second and third partial are barely stretched yet, and one reading may be
    // off, as a low fundamental's is while its level swings in the window. A partial far weaker
    // than the others is left out, its peak may be leakage.
    const std::vector<double> windowed = hannWindowed(samples);
    std::vector<SpectralPeak> peaks;
    for (int partial = 1; partial <= 3; ++partial) {
        if (const auto peak = spectralPeakNear(windowed, sampleRate, partial * period))
            peaks.push_back({peak->frequency / partial, peak->magnitude});
    }
    if (peaks.empty())
        return period;
    const double strongest =
        std::max_element(peaks.begin(), peaks.end(), [](const auto& a, const auto& b) {
            return a.magnitude < b.magnitude;
        })->magnitude;
    std::vector<double> readings;
    for (const SpectralPeak& peak : peaks) {
        if (peak.magnitude >= 0.1 * strongest)
            readings.push_back(peak.frequency);
    }
    std::sort(readings.begin(), readings.end());
    const std::size_t middle = readings.size() / 2;
    return readings.size() % 2 != 0 ? readings[middle]
                                    : (readings[middle - 1] + readings[middle]) / 2.0;
}
