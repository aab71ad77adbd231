#include "input/RecordingDevices.h"

#include "input/SoundCardLibrary.h"
#include "input/SoundServerLibrary.h"

#include <chrono>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

// A sound server that has not answered by then is taken to hang.
constexpr std::chrono::seconds serverWait(5);

// Stands in for ALSA's error printer, which would write to the terminal.
void quiet(const char*, int, const char*, int, const char*, ...) {}

// Runs the loop until `done` says so; false if the deadline comes first or the loop fails.
template <typename Done>
bool runUntil(const SoundServerLibrary& pulse, pa_mainloop* loop, Clock::time_point deadline,
              Done done) {
    while (!done()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        if (left.count() <= 0 || pulse.mainloop_prepare(loop, int(left.count())) < 0 ||
            pulse.mainloop_poll(loop) < 0 || pulse.mainloop_dispatch(loop) < 0)
            return false;
    }
    return true;
}

bool hasDefaultSource(const SoundServerLibrary& pulse, pa_mainloop* loop, pa_context* context,
                      Clock::time_point deadline) {
    bool listed = false;
    pa_operation* asking = pulse.context_get_source_info_by_name(
        context, "@DEFAULT_SOURCE@",
        [](pa_context*, const pa_source_info* source, int, void* answer) {
            if (source)
                *static_cast<bool*>(answer) = true;
        },
        &listed);
    if (!asking)
        return false;
    runUntil(pulse, loop, deadline,
             [&] { return pulse.operation_get_state(asking) != PA_OPERATION_RUNNING; });
    pulse.operation_unref(asking);
    return listed;
}

// Whether the sound server has a default recording device; nothing when no server runs.
std::optional<bool> askSoundServer() {
    const SoundServerLibrary* pulse = SoundServerLibrary::get();
    if (!pulse)
        return std::nullopt;
    pa_mainloop* const loop = pulse->mainloop_new();
    if (!loop)
        return std::nullopt;
    std::optional<bool> answer;
    pa_context* const context = pulse->context_new(pulse->mainloop_get_api(loop), "Virelo");
    if (context && pulse->context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        const Clock::time_point deadline = Clock::now() + serverWait;
        pa_context_state_t state = PA_CONTEXT_UNCONNECTED;
        const bool settled = runUntil(*pulse, loop, deadline, [&] {
            state = pulse->context_get_state(context);
            return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
        });
        if (!settled)
            answer = false;
        else if (state == PA_CONTEXT_READY)
            answer = hasDefaultSource(*pulse, loop, context, deadline);
        pulse->context_disconnect(context);
    }
    if (context)
        pulse->context_unref(context);
    pulse->mainloop_free(loop);
    return answer;
}

bool soundCardHasInput() {
    const SoundCardLibrary* alsa = SoundCardLibrary::get();
    if (!alsa)
        return false;
    alsa->set_error_handler(quiet);
    snd_pcm_t* pcm = nullptr;
    // Opened without any format and never started: nothing is recorded.
    if (alsa->pcm_open(&pcm, "default", SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK) < 0)
        return false;
    alsa->pcm_close(pcm);
    return true;
}

} // namespace

bool recordingDeviceListed() {
    if (const std::optional<bool> server = askSoundServer())
        return *server;
    return soundCardHasInput();
}
