#pragma once

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>

// libpulse, opened at run time, for asking the sound server which devices it has without
// recording anything. Only what that needs.
struct SoundServerLibrary {
    decltype(&::pa_mainloop_new) mainloop_new = nullptr;
    decltype(&::pa_mainloop_free) mainloop_free = nullptr;
    decltype(&::pa_mainloop_get_api) mainloop_get_api = nullptr;
    decltype(&::pa_mainloop_prepare) mainloop_prepare = nullptr;
    decltype(&::pa_mainloop_poll) mainloop_poll = nullptr;
    decltype(&::pa_mainloop_dispatch) mainloop_dispatch = nullptr;
    decltype(&::pa_context_new) context_new = nullptr;
    decltype(&::pa_context_unref) context_unref = nullptr;
    decltype(&::pa_context_connect) context_connect = nullptr;
    decltype(&::pa_context_disconnect) context_disconnect = nullptr;
    decltype(&::pa_context_get_state) context_get_state = nullptr;
    decltype(&::pa_context_get_source_info_by_name) context_get_source_info_by_name = nullptr;
    decltype(&::pa_operation_get_state) operation_get_state = nullptr;
    decltype(&::pa_operation_unref) operation_unref = nullptr;

    // Opens the library once, on the first call (thread-safe); nullptr when it or one of its
    // functions is missing.
    static const SoundServerLibrary* get();
};
