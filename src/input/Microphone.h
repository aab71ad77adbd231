#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <span>

// The system's default recording device, mono: on PulseAudio (or PipeWire's PulseAudio server)
// where one answers, else on ALSA. Open only while something listens. A sound server that hangs
// holds the caller of open() for a second at most, and of close() not at all.
class Microphone {
public:
    static constexpr unsigned sampleRate = 44100;
    // Called on the audio thread with each block of samples as it arrives.
    using Samples = std::function<void(std::span<const float>)>;
    // Called once, on the audio thread or the opening's, when the device has gone while open or
    // did not open after all.
    using Lost = std::function<void()>;

    Microphone() = default;
    ~Microphone();

    Microphone(const Microphone&) = delete;
    Microphone& operator=(const Microphone&) = delete;

    // Whether the sound server, or else ALSA, has a recording device; lists devices and starts
    // no recording. A sound server that hangs holds it for seconds: ask off the window's thread.
    static bool found();
    // Opens the device and starts it, waiting `wait` at most: false when it found none by then;
    // true when it opened, or still opens in the background (then `lost` tells if it does not).
    // `samples` and `lost`, and what they hold, are released by close().
    bool open(Samples samples, Lost lost = {},
              std::chrono::milliseconds wait = std::chrono::seconds(1));
    // Nothing is called once this returns; the stream closes in the background.
    void close();
    bool isOpen() const { return stream_ != nullptr; }

private:
    // What the audio thread works with, shared with the threads that open and close it.
    struct Stream;

    std::shared_ptr<Stream> stream_;
};
