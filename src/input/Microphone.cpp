#include "input/Microphone.h"

#include "input/AudioInputLibrary.h"
#include "input/MicrophoneLog.h"
#include "input/RecordingDevices.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// 5.8 ms at 44.1 kHz: the note listener's hop.
constexpr unsigned bufferFrames = 256;
// The name the sound server shows for the stream.
constexpr char streamName[] = "Virelo";
// A device that has gone makes RtAudio call back at once, over and over, with no new sound: a
// thousand times faster than it plays. A sound server catching up after a stall is far slower.
constexpr double fasterThanRealTime = 10.0;
constexpr std::chrono::milliseconds judgedOver(250);
// How long an opening waits for the streams before it to close; a sound server may take a second
// to close one on a quiet monitor.
constexpr std::chrono::seconds closingWait(5);
// RtAudio's answer to a stream callback that wants it stopped without draining.
constexpr int abortStream = 2;

// The sound server first; where none runs, the sound card.
constexpr rtaudio_api_t apis[] = {RTAUDIO_API_LINUX_PULSE, RTAUDIO_API_LINUX_ALSA};

// Stands in for ALSA's error printer, which would write to the terminal.
void quiet(const char*, int, const char*, int, const char*, ...) {}

// Streams of one kind still busy in the background, to be waited for within bounds.
class Pending {
public:
    void begin() {
        const std::lock_guard lock(mutex_);
        ++count_;
    }
    void end() {
        {
            const std::lock_guard lock(mutex_);
            --count_;
        }
        done_.notify_all();
    }
    void waitUntil(Clock::time_point deadline) {
        std::unique_lock lock(mutex_);
        done_.wait_until(lock, deadline, [this] { return count_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    int count_ = 0;
};

// Counts a stream busy for as long as it lives.
class EndsWithScope {
public:
    explicit EndsWithScope(Pending& pending) : pending_(pending) {}
    ~EndsWithScope() { pending_.end(); }
    EndsWithScope(const EndsWithScope&) = delete;
    EndsWithScope& operator=(const EndsWithScope&) = delete;

private:
    Pending& pending_;
};

// How long the program's end waits for streams still opening or closing: the sound library torn
// down under a stream it is opening or closing aborts the process.
constexpr std::chrono::milliseconds busyAtExit(500);

// The streams opening and closing in the background. A device that takes one client at a time
// refuses the next stream until the last has closed, so an opening waits for the closings.
struct InBackground {
    Pending openings;
    Pending closings;
    // Set as the program ends: an opening not yet begun is not begun.
    std::atomic<bool> ending = false;
};

// Never destroyed: a stream may still be opening or closing as the program ends.
InBackground& inBackground() {
    static InBackground* const instance = [] {
        std::atexit([] {
            InBackground& busy = inBackground();
            busy.ending = true;
            const auto deadline = Clock::now() + busyAtExit;
            busy.openings.waitUntil(deadline);
            busy.closings.waitUntil(deadline);
        });
        return new InBackground;
    }();
    return *instance;
}

} // namespace

struct Microphone::Stream {
    Stream(const AudioInputLibrary& backEnd, Samples delivered, Lost gone)
        : library(backEnd), samples(std::move(delivered)), lost(std::move(gone)) {}

    const AudioInputLibrary& library;
    // Held while the audio thread calls out, so that closing can stop the calls at once.
    std::mutex mutex;
    std::condition_variable settled;
    // Under `mutex`.
    Samples samples;
    Lost lost;
    bool opened = false;     // the opening has finished, with `audio` or without
    bool handedOver = false; // the caller has stopped waiting for it
    bool closed = false;     // nothing more is called; the stream closes once opened
    rtaudio_t audio = nullptr;
    // The audio thread's alone: frames delivered since `counted`, to tell a device that has gone.
    Clock::time_point counted = Clock::now();
    std::uint64_t frames = 0;

    // RtAudio's callback, on the audio thread; `receiver` is the Stream.
    static int received(void* out, void* in, unsigned int frames, double time,
                        rtaudio_stream_status_t status, void* receiver);
};

namespace {

// A stream opened on the system's default device and started; nullptr if none opens.
rtaudio_t openStream(const AudioInputLibrary& library, rtaudio_api_t api, rtaudio_cb_t callback,
                     void* receiver) {
    const rtaudio_t audio = library.create(api);
    if (!audio)
        return nullptr;
    library.show_warnings(audio, 0);
    // RtAudio's PulseAudio back end keeps what it learns of the server in shared state, which
    // two threads asking at once were seen to free twice.
    static std::mutex asking;
    const std::lock_guard lock(asking);
    if (library.device_count(audio) > 0) {
        rtaudio_stream_parameters_t input{library.get_default_input_device(audio), 1, 0};
        rtaudio_stream_options_t options{};
        options.flags = RTAUDIO_FLAGS_MINIMIZE_LATENCY;
        std::copy(std::begin(streamName), std::end(streamName), options.name);
        unsigned int frames = bufferFrames;
        // Versions differ in what this returns: ask the stream itself how it went.
        library.open_stream(audio, nullptr, &input, RTAUDIO_FORMAT_FLOAT32, Microphone::sampleRate,
                            &frames, callback, receiver, &options, nullptr);
        if (library.is_stream_open(audio)) {
            library.start_stream(audio);
            if (library.is_stream_running(audio))
                return audio;
            library.close_stream(audio);
        }
    }
    library.destroy(audio);
    return nullptr;
}

// Stops the audio thread and waits for it, which a hung sound server can hold forever.
void shut(const AudioInputLibrary& library, rtaudio_t audio) {
    library.close_stream(audio);
    library.destroy(audio);
}

} // namespace

Microphone::~Microphone() {
    close();
}

bool Microphone::found() {
    return recordingDeviceListed();
}

bool Microphone::open(Samples samples, Lost lost, std::chrono::milliseconds wait) {
    close();
    const AudioInputLibrary* library = AudioInputLibrary::get();
    if (!library)
        return false;
    library->alsa_set_error_handler(quiet);
    auto stream = std::make_shared<Stream>(*library, std::move(samples), std::move(lost));
    InBackground& busy = inBackground();
    busy.openings.begin();
    std::thread([stream, &busy] {
        const EndsWithScope opening(busy.openings);
        busy.closings.waitUntil(Clock::now() + closingWait);
        rtaudio_t audio = nullptr;
        for (const rtaudio_api_t api : apis)
            if (!busy.ending &&
                (audio = openStream(stream->library, api, Stream::received, stream.get())))
                break;
        std::unique_lock lock(stream->mutex);
        stream->audio = audio;
        stream->opened = true;
        if (stream->closed) {
            lock.unlock();
            if (audio) {
                busy.closings.begin();
                shut(stream->library, audio);
                busy.closings.end();
            }
            return;
        }
        if (!audio) {
            qCInfo(microphoneLog) << "no recording device could be opened";
            // Past the caller's wait, a device that never came is told as one that has gone.
            if (stream->handedOver && stream->lost)
                stream->lost();
        }
        stream->settled.notify_all();
    }).detach();

    std::unique_lock lock(stream->mutex);
    stream->settled.wait_for(lock, wait, [&] { return stream->opened; });
    if (stream->opened && !stream->audio) {
        stream->closed = true;
        Samples released = std::exchange(stream->samples, {});
        Lost releasedLost = std::exchange(stream->lost, {});
        lock.unlock();
        return false;
    }
    if (!stream->opened)
        qCInfo(microphoneLog) << "the sound server has not opened the recording yet";
    stream->handedOver = true;
    stream_ = std::move(stream);
    return true;
}

void Microphone::close() {
    if (!stream_)
        return;
    const std::shared_ptr<Stream> stream = std::move(stream_);
    Samples released;
    Lost releasedLost;
    {
        const std::lock_guard lock(stream->mutex);
        stream->closed = true;
        released = std::exchange(stream->samples, {});
        releasedLost = std::exchange(stream->lost, {});
        // One still opening is closed by the thread that opens it.
        if (!stream->opened || !stream->audio)
            return;
    }
    InBackground& busy = inBackground();
    busy.closings.begin();
    std::thread([stream, &busy] {
        shut(stream->library, stream->audio);
        busy.closings.end();
    }).detach();
}

int Microphone::Stream::received(void*, void* in, unsigned int frames, double,
                                 rtaudio_stream_status_t, void* receiver) {
    auto& stream = *static_cast<Stream*>(receiver);
    const std::lock_guard lock(stream.mutex);
    if (stream.closed)
        return 0;
    stream.frames += frames;
    const auto now = Clock::now();
    const std::chrono::duration<double> elapsed = now - stream.counted;
    if (elapsed >= judgedOver) {
        if (double(stream.frames) > fasterThanRealTime * elapsed.count() * Microphone::sampleRate) {
            if (stream.lost)
                stream.lost();
            return abortStream;
        }
        stream.frames = 0;
        stream.counted = now;
    }
    if (in)
        stream.samples({static_cast<const float*>(in), frames});
    return 0;
}
