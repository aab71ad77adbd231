#include "input/MicrophoneLevel.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int reportMs = 100;
}

MicrophoneLevel::MicrophoneLevel(std::function<void(float)> level) : level_(std::move(level)) {
    connect(&timer_, &QTimer::timeout, this, &MicrophoneLevel::report);
    // On the audio thread. The dialog waits for nothing: the level shows once sound comes.
    const bool opened = microphone_.open(
        [this](std::span<const float> samples) {
            float loudest = 0.0f;
            for (const float sample : samples)
                loudest = std::max(loudest, std::abs(sample));
            // The report may take the peak between the load and the store: only a louder block
            // than what is there replaces it.
            float peak = peak_.load(std::memory_order_relaxed);
            while (loudest > peak &&
                   !peak_.compare_exchange_weak(peak, loudest, std::memory_order_relaxed))
                ;
        },
        {}, std::chrono::milliseconds(0));
    if (opened)
        timer_.start(reportMs);
}

void MicrophoneLevel::report() {
    const float peak = peak_.exchange(0.0f, std::memory_order_relaxed);
    level_(20.0f * std::log10(std::max(peak, 1e-6f)));
}
