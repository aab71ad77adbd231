#include "HeardPitch.h"

#include "PitchEstimate.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int audible = 16; // above the null sink's silence, far below a note
constexpr std::size_t readingsWanted = 3;

// No hundredth of a second in the window is silent.
bool soundsThroughout(std::span<const std::int16_t> window, std::size_t hundredth) {
    for (std::size_t start = 0; start < window.size(); start += hundredth) {
        const auto part = window.subspan(start, std::min(hundredth, window.size() - start));
        if (std::none_of(part.begin(), part.end(),
                         [](std::int16_t sample) { return std::abs(sample) > audible; }))
            return false;
    }
    return true;
}

} // namespace

std::size_t onsetFrom(std::span<const std::int16_t> samples, std::size_t from) {
    for (std::size_t i = from; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > audible)
            return i;
    }
    return samples.size();
}

double heardPitch(std::span<const std::int16_t> samples, std::size_t from, std::size_t to,
                  int sampleRate) {
    const auto length = std::size_t(sampleRate / 10);
    const auto step = std::size_t(sampleRate / 20);
    const auto hundredth = std::size_t(sampleRate / 100);
    to = std::min(to, samples.size());
    std::vector<double> readings;
    for (std::size_t start = from; start + length <= to && readings.size() < readingsWanted;
         start += step) {
        const auto window = samples.subspan(start, length);
        if (!soundsThroughout(window, hundredth))
            continue;
        std::vector<float> scaled;
        for (std::int16_t sample : window)
            scaled.push_back(float(sample) / 32768.0f);
        const double reading = estimateFundamental(scaled, sampleRate, 50.0, 1500.0);
        if (reading > 0)
            readings.push_back(reading);
    }
    if (readings.empty())
        return 0.0;
    std::nth_element(readings.begin(), readings.begin() + std::ptrdiff_t(readings.size() / 2),
                     readings.end());
    return readings[readings.size() / 2];
}
