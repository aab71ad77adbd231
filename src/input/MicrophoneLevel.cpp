#include "input/MicrophoneLevel.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int reportMs = 100;
}

MicrophoneLevel::MicrophoneLevel(std::function<void(float)> level) : level_(std::move(level)) {
    connect(&timer_, &QTimer::timeout, this, &MicrophoneLevel::report);
    // On the audio thread.
    const bool opened = microphone_.open([this](std::span<const float> samples) {
        float loudest = peak_.load(std::memory_order_relaxed);
        for (const float sample : samples)
            loudest = std::max(loudest, std::abs(sample));
        peak_.store(loudest, std::memory_order_relaxed);
    });
    if (opened)
        timer_.start(reportMs);
}

void MicrophoneLevel::report() {
    const float peak = peak_.exchange(0.0f, std::memory_order_relaxed);
    level_(20.0f * std::log10(std::max(peak, 1e-6f)));
}
