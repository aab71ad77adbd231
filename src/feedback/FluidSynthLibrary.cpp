#include "feedback/FluidSynthLibrary.h"

#include "feedback/SoundLog.h"
#include "platform/RuntimeLibrary.h"

namespace {

bool resolveAll(void* handle, FluidSynthLibrary& f) {
    return resolveFunction(handle, "fluid_set_log_function", f.set_log_function) &&
           resolveFunction(handle, "new_fluid_settings", f.new_settings) &&
           resolveFunction(handle, "delete_fluid_settings", f.delete_settings) &&
           resolveFunction(handle, "fluid_settings_copystr", f.settings_copystr) &&
           resolveFunction(handle, "fluid_settings_setnum", f.settings_setnum) &&
           resolveFunction(handle, "fluid_settings_setint", f.settings_setint) &&
           resolveFunction(handle, "fluid_settings_setstr", f.settings_setstr) &&
           resolveFunction(handle, "new_fluid_synth", f.new_synth) &&
           resolveFunction(handle, "delete_fluid_synth", f.delete_synth) &&
           resolveFunction(handle, "fluid_synth_sfload", f.synth_sfload) &&
           resolveFunction(handle, "fluid_synth_set_channel_type", f.synth_set_channel_type) &&
           resolveFunction(handle, "fluid_synth_bank_select", f.synth_bank_select) &&
           resolveFunction(handle, "new_fluid_defsfloader", f.new_defsfloader) &&
           resolveFunction(handle, "fluid_sfloader_set_callbacks", f.sfloader_set_callbacks) &&
           resolveFunction(handle, "fluid_synth_add_sfloader", f.synth_add_sfloader) &&
           resolveFunction(handle, "fluid_is_midifile", f.is_midifile) &&
           resolveFunction(handle, "fluid_is_soundfont", f.is_soundfont) &&
           resolveFunction(handle, "new_fluid_player", f.new_player) &&
           resolveFunction(handle, "delete_fluid_player", f.delete_player) &&
           resolveFunction(handle, "fluid_player_add", f.player_add) &&
           resolveFunction(handle, "fluid_player_add_mem", f.player_add_mem) &&
           resolveFunction(handle, "fluid_synth_all_sounds_off", f.synth_all_sounds_off) &&
           resolveFunction(handle, "fluid_player_play", f.player_play) &&
           resolveFunction(handle, "fluid_player_get_status", f.player_get_status) &&
           resolveFunction(handle, "fluid_player_get_current_tick", f.player_get_current_tick) &&
           resolveFunction(handle, "fluid_player_get_total_ticks", f.player_get_total_ticks) &&
           resolveFunction(handle, "fluid_player_get_midi_tempo", f.player_get_midi_tempo) &&
           resolveFunction(handle, "fluid_player_set_playback_callback",
                           f.player_set_playback_callback) &&
           resolveFunction(handle, "fluid_midi_event_get_type", f.midi_event_get_type) &&
           resolveFunction(handle, "fluid_midi_event_get_key", f.midi_event_get_key) &&
           resolveFunction(handle, "fluid_midi_event_set_key", f.midi_event_set_key) &&
           resolveFunction(handle, "fluid_synth_handle_midi_event", f.synth_handle_midi_event) &&
           resolveFunction(handle, "new_fluid_audio_driver", f.new_audio_driver) &&
           resolveFunction(handle, "delete_fluid_audio_driver", f.delete_audio_driver) &&
           resolveFunction(handle, "snd_lib_error_set_handler", f.alsa_set_error_handler);
}

} // namespace

const FluidSynthLibrary* FluidSynthLibrary::get() {
    // The run-time name first; the development link as a fallback for other versions.
    static const FluidSynthLibrary* const library = openRuntimeLibrary<FluidSynthLibrary>(
        {"libfluidsynth.so.3", "libfluidsynth.so"}, resolveAll, soundLog());
    return library;
}
