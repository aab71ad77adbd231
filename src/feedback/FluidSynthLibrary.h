#pragma once

#include <alsa/asoundlib.h>
#include <fluidsynth.h>

// FluidSynth, opened at run time rather than linked: its forty-odd dependent libraries would
// otherwise be loaded and relocated before the first window can be painted.
struct FluidSynthLibrary {
    decltype(&::fluid_set_log_function) set_log_function = nullptr;
    decltype(&::new_fluid_settings) new_settings = nullptr;
    decltype(&::delete_fluid_settings) delete_settings = nullptr;
    decltype(&::fluid_settings_copystr) settings_copystr = nullptr;
    decltype(&::fluid_settings_setnum) settings_setnum = nullptr;
    decltype(&::fluid_settings_setint) settings_setint = nullptr;
    decltype(&::fluid_settings_setstr) settings_setstr = nullptr;
    decltype(&::new_fluid_synth) new_synth = nullptr;
    decltype(&::delete_fluid_synth) delete_synth = nullptr;
    decltype(&::fluid_synth_sfload) synth_sfload = nullptr;
    decltype(&::fluid_synth_set_channel_type) synth_set_channel_type = nullptr;
    decltype(&::fluid_synth_bank_select) synth_bank_select = nullptr;
    decltype(&::new_fluid_defsfloader) new_defsfloader = nullptr;
    decltype(&::fluid_sfloader_set_callbacks) sfloader_set_callbacks = nullptr;
    decltype(&::fluid_synth_add_sfloader) synth_add_sfloader = nullptr;
    decltype(&::fluid_is_midifile) is_midifile = nullptr;
    decltype(&::fluid_is_soundfont) is_soundfont = nullptr;
    decltype(&::new_fluid_player) new_player = nullptr;
    decltype(&::delete_fluid_player) delete_player = nullptr;
    decltype(&::fluid_player_add) player_add = nullptr;
    decltype(&::fluid_player_add_mem) player_add_mem = nullptr;
    decltype(&::fluid_synth_all_sounds_off) synth_all_sounds_off = nullptr;
    decltype(&::fluid_player_play) player_play = nullptr;
    decltype(&::fluid_player_get_status) player_get_status = nullptr;
    decltype(&::fluid_player_get_current_tick) player_get_current_tick = nullptr;
    decltype(&::fluid_player_get_total_ticks) player_get_total_ticks = nullptr;
    decltype(&::fluid_player_get_midi_tempo) player_get_midi_tempo = nullptr;
    decltype(&::fluid_player_set_playback_callback) player_set_playback_callback = nullptr;
    decltype(&::fluid_midi_event_get_type) midi_event_get_type = nullptr;
    decltype(&::fluid_midi_event_get_key) midi_event_get_key = nullptr;
    decltype(&::fluid_midi_event_set_key) midi_event_set_key = nullptr;
    decltype(&::fluid_synth_handle_midi_event) synth_handle_midi_event = nullptr;
    decltype(&::new_fluid_audio_driver) new_audio_driver = nullptr;
    decltype(&::delete_fluid_audio_driver) delete_audio_driver = nullptr;
    // ALSA comes with FluidSynth; only its error printing is of interest.
    decltype(&::snd_lib_error_set_handler) alsa_set_error_handler = nullptr;

    // Opens the library once, on the first call (thread-safe); nullptr when it or one of its
    // functions is missing.
    static const FluidSynthLibrary* get();
};
