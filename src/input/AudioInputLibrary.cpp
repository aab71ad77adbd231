#include "input/AudioInputLibrary.h"

#include "input/MicrophoneLog.h"
#include "platform/RuntimeLibrary.h"

namespace {

bool resolveAll(void* handle, AudioInputLibrary& a) {
    return resolveFunction(handle, "rtaudio_create", a.create) &&
           resolveFunction(handle, "rtaudio_destroy", a.destroy) &&
           resolveFunction(handle, "rtaudio_show_warnings", a.show_warnings) &&
           resolveFunction(handle, "rtaudio_device_count", a.device_count) &&
           resolveFunction(handle, "rtaudio_get_default_input_device",
                           a.get_default_input_device) &&
           resolveFunction(handle, "rtaudio_open_stream", a.open_stream) &&
           resolveFunction(handle, "rtaudio_close_stream", a.close_stream) &&
           resolveFunction(handle, "rtaudio_start_stream", a.start_stream) &&
           resolveFunction(handle, "rtaudio_abort_stream", a.abort_stream) &&
           resolveFunction(handle, "rtaudio_is_stream_open", a.is_stream_open) &&
           resolveFunction(handle, "rtaudio_is_stream_running", a.is_stream_running) &&
           resolveFunction(handle, "snd_lib_error_set_handler", a.alsa_set_error_handler);
}

} // namespace

const AudioInputLibrary* AudioInputLibrary::get() {
    // The run-time name first; the development link as a fallback for other versions.
    static const AudioInputLibrary* const library = openRuntimeLibrary<AudioInputLibrary>(
        {"librtaudio.so.6", "librtaudio.so"}, resolveAll, microphoneLog());
    return library;
}
