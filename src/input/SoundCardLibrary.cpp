#include "input/SoundCardLibrary.h"

#include "input/MicrophoneLog.h"
#include "platform/RuntimeLibrary.h"

namespace {

bool resolveAll(void* handle, SoundCardLibrary& a) {
    return resolveFunction(handle, "snd_pcm_open", a.pcm_open) &&
           resolveFunction(handle, "snd_pcm_close", a.pcm_close) &&
           resolveFunction(handle, "snd_lib_error_set_handler", a.set_error_handler);
}

} // namespace

const SoundCardLibrary* SoundCardLibrary::get() {
    // The run-time name first; the development link as a fallback for other versions.
    static const SoundCardLibrary* const library = openRuntimeLibrary<SoundCardLibrary>(
        {"libasound.so.2", "libasound.so"}, resolveAll, microphoneLog());
    return library;
}
