#pragma once

#include <aubio/aubio.h>

// aubio, opened at run time rather than linked: only learners who answer with a microphone need
// it, and never before the first window. Only what the note listener needs.
struct AubioLibrary {
    decltype(&::new_aubio_pitch) new_pitch = nullptr;
    decltype(&::del_aubio_pitch) del_pitch = nullptr;
    decltype(&::aubio_pitch_do) pitch_do = nullptr;
    decltype(&::aubio_pitch_set_unit) pitch_set_unit = nullptr;
    decltype(&::aubio_pitch_set_silence) pitch_set_silence = nullptr;
    decltype(&::aubio_pitch_get_confidence) pitch_get_confidence = nullptr;
    decltype(&::new_aubio_onset) new_onset = nullptr;
    decltype(&::del_aubio_onset) del_onset = nullptr;
    decltype(&::aubio_onset_do) onset_do = nullptr;
    decltype(&::aubio_onset_set_silence) onset_set_silence = nullptr;
    decltype(&::aubio_onset_set_threshold) onset_set_threshold = nullptr;
    decltype(&::new_fvec) new_fvec = nullptr;
    decltype(&::del_fvec) del_fvec = nullptr;

    // Opens the library once, on the first call (thread-safe); nullptr when it or one of its
    // functions is missing.
    static const AubioLibrary* get();
};
