#include "input/Microphone.h"

#include "input/MicrophoneLog.h"

#include <future>
#include <thread>

namespace {

// 5.8 ms at 44.1 kHz: the note listener's hop.
constexpr unsigned bufferFrames = 256;
// The name the sound server shows for the stream.
constexpr char streamName[] = "Virelo";
// A device that has gone makes RtAudio call back at once, over and over, with no new sound: a
// thousand times faster than it plays. A sound server catching up after a stall is far slower.
constexpr double fasterThanRealTime = 10.0;
constexpr std::chrono::milliseconds judgedOver(250);
// A sound server that hangs holds the end of an exercise, or of the program, this long at most.
constexpr std::chrono::seconds closeWait(1);
// RtAudio's answer to a stream callback that wants it stopped without draining.
constexpr int abortStream = 2;

// The sound server first; where none runs, the sound card.
constexpr rtaudio_api_t apis[] = {RTAUDIO_API_LINUX_PULSE, RTAUDIO_API_LINUX_ALSA};

// Stands in for ALSA's error printer, which would write to the terminal.
void quiet(const char*, int, const char*, int, const char*, ...) {}

} // namespace

Microphone::~Microphone() {
    close();
}

bool Microphone::found() {
    const AudioInputLibrary* library = AudioInputLibrary::get();
    if (!library)
        return false;
    library->alsa_set_error_handler(quiet);
    for (const rtaudio_api_t api : apis) {
        // Opened but never started, so nothing is recorded and closing waits for nothing.
        if (const rtaudio_t audio = openStream(*library, api, nullptr)) {
            library->close_stream(audio);
            library->destroy(audio);
            return true;
        }
    }
    return false;
}

bool Microphone::open(Samples samples, Lost lost) {
    close();
    const AudioInputLibrary* library = AudioInputLibrary::get();
    if (!library)
        return false;
    library->alsa_set_error_handler(quiet);
    auto stream = std::make_shared<Stream>(*library, std::move(samples), std::move(lost));
    for (const rtaudio_api_t api : apis) {
        stream->audio = openStream(*library, api, stream.get());
        if (!stream->audio)
            continue;
        library->start_stream(stream->audio);
        if (library->is_stream_running(stream->audio)) {
            stream_ = std::move(stream);
            return true;
        }
        shut(*stream);
    }
    qCInfo(microphoneLog) << "no recording device could be opened";
    return false;
}

rtaudio_t Microphone::openStream(const AudioInputLibrary& library, rtaudio_api_t api,
                                 Stream* receiver) {
    const rtaudio_t audio = library.create(api);
    if (!audio)
        return nullptr;
    library.show_warnings(audio, 0);
    if (library.device_count(audio) > 0) {
        rtaudio_stream_parameters_t input{library.get_default_input_device(audio), 1, 0};
        rtaudio_stream_options_t options{};
        options.flags = RTAUDIO_FLAGS_MINIMIZE_LATENCY;
        std::copy(std::begin(streamName), std::end(streamName), options.name);
        unsigned int frames = bufferFrames;
        // Versions differ in what this returns: ask the stream itself how it went.
        library.open_stream(audio, nullptr, &input, RTAUDIO_FORMAT_FLOAT32, sampleRate, &frames,
                            received, receiver, &options, nullptr);
        if (library.is_stream_open(audio))
            return audio;
    }
    library.destroy(audio);
    return nullptr;
}

// Closing stops the audio thread and waits for it, which a hung sound server can hold forever.
void Microphone::shut(const Stream& stream) {
    stream.library.close_stream(stream.audio);
    stream.library.destroy(stream.audio);
}

void Microphone::close() {
    if (!stream_)
        return;
    stream_->closing = true;
    std::packaged_task<void()> closing([stream = std::move(stream_)] { shut(*stream); });
    std::future<void> closed = closing.get_future();
    std::thread(std::move(closing)).detach();
    if (closed.wait_for(closeWait) != std::future_status::ready)
        qCInfo(microphoneLog) << "the sound server did not let the recording close";
}

int Microphone::received(void*, void* in, unsigned int frames, double, rtaudio_stream_status_t,
                         void* receiver) {
    auto& stream = *static_cast<Stream*>(receiver);
    if (stream.closing)
        return 0;
    stream.frames += frames;
    const auto now = std::chrono::steady_clock::now();
    const std::chrono::duration<double> elapsed = now - stream.counted;
    if (elapsed >= judgedOver) {
        if (double(stream.frames) > fasterThanRealTime * elapsed.count() * sampleRate) {
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
