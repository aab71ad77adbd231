#include "training/TaskRandom.h"

#include <QTime>

#include <bit>
#include <cstdint>
#include <random>

double timeSeededRandom() {
    const float secondsSinceMidnight = float(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
    std::mt19937 engine(std::bit_cast<std::uint32_t>(secondsSinceMidnight));
    // Discard the first outputs: neighbouring seeds give correlated first draws.
    engine.discard(16);
    return double(engine()) / 4294967296.0;
}
