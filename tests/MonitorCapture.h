#pragma once

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

// Records what the null sink "test" of the PulseAudio server named by PULSE_SERVER plays, as mono
// 16-bit samples, through parec. Also estimates when each sample was played: sample n was played
// no later than it arrived here, so the earliest arrival less n sample periods bounds the clock.
class MonitorCapture {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int sampleRate = 48000;

    MonitorCapture();
    ~MonitorCapture();

    MonitorCapture(const MonitorCapture&) = delete;
    MonitorCapture& operator=(const MonitorCapture&) = delete;

    bool isRunning() const { return pid_ > 0; }
    // Ends the recording. The results below may be read only afterwards.
    void stop();

    const std::vector<std::int16_t>& samples() const { return samples_; }
    // When sample 0 was played. Until a low-latency client attaches, the null sink renders up to
    // two seconds ahead, so arrivals from the first seconds are not trusted.
    Clock::time_point startTime() const { return startTime_; }
    Clock::time_point timeOf(std::size_t sample) const;

private:
    void read(int pipe);

    int pid_ = 0;
    std::thread reader_;
    std::vector<std::int16_t> samples_;
    Clock::time_point startTime_ = Clock::time_point::max();
};
