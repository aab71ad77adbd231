#pragma once

#include <alsa/asoundlib.h>

// ALSA, opened at run time, for asking whether the sound card has a recording device where no
// sound server runs. Only what that needs.
struct SoundCardLibrary {
    decltype(&::snd_pcm_open) pcm_open = nullptr;
    decltype(&::snd_pcm_close) pcm_close = nullptr;
    decltype(&::snd_lib_error_set_handler) set_error_handler = nullptr;

    // Opens the library once, on the first call (thread-safe); nullptr when it or one of its
    // functions is missing.
    static const SoundCardLibrary* get();
};
