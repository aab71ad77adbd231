#pragma once

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

// Records what the null sink "test" of the PulseAudio server named by PULSE_SERVER plays, as mono
// 16-bit samples, through parec, noting when each stretch of samples arrived. The server mixed a
// sample no later than it arrived here, which bounds how late a sound reached it.
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
    // Index of the first sample that arrived after `time`; samples().size() if none did.
    std::size_t firstArrivedAfter(Clock::time_point time) const;
    Clock::time_point arrivalOf(std::size_t sample) const;

private:
    struct Arrival {
        std::size_t end; // one past the last sample of the stretch
        Clock::time_point time;
    };

    void read(int pipe);

    int pid_ = 0;
    std::thread reader_;
    std::vector<std::int16_t> samples_;
    std::vector<Arrival> arrivals_;
};
