#include "input/SoundServerLibrary.h"

#include "input/MicrophoneLog.h"
#include "platform/RuntimeLibrary.h"

namespace {

bool resolveAll(void* handle, SoundServerLibrary& p) {
    return resolveFunction(handle, "pa_mainloop_new", p.mainloop_new) &&
           resolveFunction(handle, "pa_mainloop_free", p.mainloop_free) &&
           resolveFunction(handle, "pa_mainloop_get_api", p.mainloop_get_api) &&
           resolveFunction(handle, "pa_mainloop_prepare", p.mainloop_prepare) &&
           resolveFunction(handle, "pa_mainloop_poll", p.mainloop_poll) &&
           resolveFunction(handle, "pa_mainloop_dispatch", p.mainloop_dispatch) &&
           resolveFunction(handle, "pa_context_new", p.context_new) &&
           resolveFunction(handle, "pa_context_unref", p.context_unref) &&
           resolveFunction(handle, "pa_context_connect", p.context_connect) &&
           resolveFunction(handle, "pa_context_disconnect", p.context_disconnect) &&
           resolveFunction(handle, "pa_context_get_state", p.context_get_state) &&
           resolveFunction(handle, "pa_context_get_source_info_by_name",
                           p.context_get_source_info_by_name) &&
           resolveFunction(handle, "pa_operation_get_state", p.operation_get_state) &&
           resolveFunction(handle, "pa_operation_unref", p.operation_unref);
}

} // namespace

const SoundServerLibrary* SoundServerLibrary::get() {
    // The run-time name first; the development link as a fallback for other versions.
    static const SoundServerLibrary* const library = openRuntimeLibrary<SoundServerLibrary>(
        {"libpulse.so.0", "libpulse.so"}, resolveAll, microphoneLog());
    return library;
}
