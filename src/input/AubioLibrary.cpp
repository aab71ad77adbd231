#include "input/AubioLibrary.h"

#include "input/MicrophoneLog.h"
#include "platform/RuntimeLibrary.h"

namespace {

bool resolveAll(void* handle, AubioLibrary& a) {
    return resolveFunction(handle, "new_aubio_pitch", a.new_pitch) &&
           resolveFunction(handle, "del_aubio_pitch", a.del_pitch) &&
           resolveFunction(handle, "aubio_pitch_do", a.pitch_do) &&
           resolveFunction(handle, "aubio_pitch_set_unit", a.pitch_set_unit) &&
           resolveFunction(handle, "aubio_pitch_set_silence", a.pitch_set_silence) &&
           resolveFunction(handle, "aubio_pitch_get_confidence", a.pitch_get_confidence) &&
           resolveFunction(handle, "new_aubio_onset", a.new_onset) &&
           resolveFunction(handle, "del_aubio_onset", a.del_onset) &&
           resolveFunction(handle, "aubio_onset_do", a.onset_do) &&
           resolveFunction(handle, "aubio_onset_set_silence", a.onset_set_silence) &&
           resolveFunction(handle, "aubio_onset_set_threshold", a.onset_set_threshold) &&
           resolveFunction(handle, "new_fvec", a.new_fvec) &&
           resolveFunction(handle, "del_fvec", a.del_fvec);
}

} // namespace

const AubioLibrary* AubioLibrary::get() {
    // The run-time name first; the development link as a fallback for other versions.
    static const AubioLibrary* const library = openRuntimeLibrary<AubioLibrary>(
        {"libaubio.so.5", "libaubio.so"}, resolveAll, microphoneLog());
    return library;
}
