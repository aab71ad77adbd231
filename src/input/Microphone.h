#pragma once

#include "input/AudioInputLibrary.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>

// The system's default recording device, mono: on PulseAudio (or PipeWire's PulseAudio server)
// where one answers, else on ALSA. Open only while something listens.
class Microphone {
public:
    static constexpr unsigned sampleRate = 44100;
    // Called on the audio thread with each block of samples as it arrives.
    using Samples = std::function<void(std::span<const float>)>;
    // Called on the audio thread, once, when the device has gone while open.
    using Lost = std::function<void()>;

    Microphone() = default;
    ~Microphone();

    Microphone(const Microphone&) = delete;
    Microphone& operator=(const Microphone&) = delete;

    // Whether there is a device to open; opens none.
    static bool found();
    // Opens the device and starts it; false when there is none.
    bool open(Samples samples, Lost lost = {});
    void close();
    bool isOpen() const { return audio_ != nullptr; }

private:
    static int received(void* out, void* in, unsigned int frames, double time,
                        rtaudio_stream_status_t status, void* self);
    // A stream opened on the system's default device, not yet started; nullptr if none opens.
    static rtaudio_t openStream(const AudioInputLibrary& library, rtaudio_api_t api,
                                Microphone* receiver);

    const AudioInputLibrary* library_ = nullptr;
    rtaudio_t audio_ = nullptr;
    Samples samples_;
    Lost lost_;
    // Frames delivered since `counted_`, to tell a device that has gone.
    std::chrono::steady_clock::time_point counted_;
    std::uint64_t frames_ = 0;
};
