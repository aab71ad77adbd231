#include "training/TaskRandom.h"

#include <QTime>

#include <bit>
#include <cstdint>
#include <random>

double timeSeededRandom() {
    const float secondsSinceMidnight = float(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
    // Draws within one tick of the clock (a phrase's notes, a note and its sign) go on along
    // the sequence of that tick's seed instead of all repeating its first number.
    thread_local std::mt19937 engine;
    thread_local float seededAt = -1.0f;
    if (secondsSinceMidnight != seededAt) {
        seededAt = secondsSinceMidnight;
        engine.seed(std::bit_cast<std::uint32_t>(secondsSinceMidnight));
        // Discard the first outputs: neighbouring seeds give correlated first draws.
        engine.discard(16);
    }
    return double(engine()) / 4294967296.0;
}
