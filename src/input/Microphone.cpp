#include "input/Microphone.h"

#include "input/MicrophoneLog.h"

namespace {

// 5.8 ms at 44.1 kHz: the note listener's hop.
constexpr unsigned bufferFrames = 256;
// The name the sound server shows for the stream.
constexpr char streamName[] = "Virelo";
// A device that has gone makes RtAudio call back at once, over and over, with no new sound: a
// thousand times faster than it plays. A sound server catching up after a stall is far slower.
constexpr double fasterThanRealTime = 10.0;
constexpr std::chrono::milliseconds judgedOver(250);
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
    library_ = AudioInputLibrary::get();
    if (!library_)
        return false;
    library_->alsa_set_error_handler(quiet);
    samples_ = std::move(samples);
    lost_ = std::move(lost);
    frames_ = 0;
    counted_ = std::chrono::steady_clock::now();
    for (const rtaudio_api_t api : apis) {
        const rtaudio_t audio = openStream(*library_, api, this);
        if (!audio)
            continue;
        library_->start_stream(audio);
        if (library_->is_stream_running(audio)) {
            audio_ = audio;
            return true;
        }
        library_->close_stream(audio);
        library_->destroy(audio);
    }
    qCInfo(microphoneLog) << "no recording device could be opened";
    return false;
}

rtaudio_t Microphone::openStream(const AudioInputLibrary& library, rtaudio_api_t api,
                                 Microphone* receiver) {
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

void Microphone::close() {
    if (!audio_)
        return;
    // Closing stops the audio thread and waits for it.
    library_->close_stream(audio_);
    library_->destroy(audio_);
    audio_ = nullptr;
}

int Microphone::received(void*, void* in, unsigned int frames, double, rtaudio_stream_status_t,
                         void* self) {
    auto& microphone = *static_cast<Microphone*>(self);
    microphone.frames_ += frames;
    const auto now = std::chrono::steady_clock::now();
    const std::chrono::duration<double> elapsed = now - microphone.counted_;
    if (elapsed >= judgedOver) {
        if (double(microphone.frames_) > fasterThanRealTime * elapsed.count() * sampleRate) {
            if (microphone.lost_)
                microphone.lost_();
            return abortStream;
        }
        microphone.frames_ = 0;
        microphone.counted_ = now;
    }
    if (in)
        microphone.samples_({static_cast<const float*>(in), frames});
    return 0;
}
