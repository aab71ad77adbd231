#pragma once

#include <alsa/asoundlib.h>
#include <rtaudio/rtaudio_c.h>

// RtAudio, opened at run time rather than linked, as RtMidi is: only learners who answer with a
// microphone need it, and never before the first window. Only what the microphone needs.
struct AudioInputLibrary {
    decltype(&::rtaudio_create) create = nullptr;
    decltype(&::rtaudio_destroy) destroy = nullptr;
    decltype(&::rtaudio_show_warnings) show_warnings = nullptr;
    decltype(&::rtaudio_device_count) device_count = nullptr;
    decltype(&::rtaudio_get_default_input_device) get_default_input_device = nullptr;
    decltype(&::rtaudio_open_stream) open_stream = nullptr;
    decltype(&::rtaudio_close_stream) close_stream = nullptr;
    decltype(&::rtaudio_start_stream) start_stream = nullptr;
    decltype(&::rtaudio_abort_stream) abort_stream = nullptr;
    decltype(&::rtaudio_is_stream_open) is_stream_open = nullptr;
    decltype(&::rtaudio_is_stream_running) is_stream_running = nullptr;
    // ALSA comes with RtAudio; only its error printing is of interest.
    decltype(&::snd_lib_error_set_handler) alsa_set_error_handler = nullptr;

    // Opens the library once, on the first call (thread-safe); nullptr when it or one of its
    // functions is missing.
    static const AudioInputLibrary* get();
};
