#pragma once

#include "input/AudioInputLibrary.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
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
    // Nothing is called once this returns. A sound server that hangs holds it for a second at
    // most; the stream is then left to close in the background.
    void close();
    bool isOpen() const { return stream_ != nullptr; }

private:
    // What the audio thread works with; it outlives a close left to the background.
    struct Stream {
        const AudioInputLibrary& library;
        Samples samples;
        Lost lost;
        rtaudio_t audio = nullptr;
        std::atomic<bool> closing = false;
        // Frames delivered since `counted`, to tell a device that has gone.
        std::chrono::steady_clock::time_point counted = std::chrono::steady_clock::now();
        std::uint64_t frames = 0;
    };

    static int received(void* out, void* in, unsigned int frames, double time,
                        rtaudio_stream_status_t status, void* stream);
    // A stream opened on the system's default device, not yet started; nullptr if none opens.
    static rtaudio_t openStream(const AudioInputLibrary& library, rtaudio_api_t api,
                                Stream* receiver);
    static void shut(const Stream& stream);

    std::shared_ptr<Stream> stream_;
};
