#include "training/TaskRandom.h"

#include <QTime>

#include <bit>
#include <cstdint>
#include <optional>
#include <random>

double timeSeededRandom() {
    const float secondsSinceMidnight = float(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
    const auto seed = std::bit_cast<std::uint32_t>(secondsSinceMidnight);
    // A phrase draws its notes within one tick of the clock: reseeded with the same time, the
    // generator would give the same number for each. Within a tick it goes on instead.
    thread_local std::mt19937 engine;
    thread_local std::optional<std::uint32_t> lastSeed;
    if (seed != lastSeed) {
        engine.seed(seed);
        // Discard the first outputs: neighbouring seeds give correlated first draws.
        engine.discard(16);
        lastSeed = seed;
    }
    return double(engine()) / 4294967296.0;
}
