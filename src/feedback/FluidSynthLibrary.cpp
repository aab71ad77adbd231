#include "feedback/FluidSynthLibrary.h"

#include <dlfcn.h>

#include <array>

namespace {

// The run-time name first; the development link as a fallback for builds against other versions.
constexpr std::array<const char*, 2> LibraryNames = {"libfluidsynth.so.3", "libfluidsynth.so"};

template <class Function> bool resolve(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

bool resolveAll(void* handle, FluidSynthLibrary& f) {
    return resolve(handle, "fluid_set_log_function", f.set_log_function) &&
           resolve(handle, "new_fluid_settings", f.new_settings) &&
           resolve(handle, "delete_fluid_settings", f.delete_settings) &&
           resolve(handle, "fluid_settings_copystr", f.settings_copystr) &&
           resolve(handle, "fluid_settings_setnum", f.settings_setnum) &&
           resolve(handle, "fluid_settings_setint", f.settings_setint) &&
           resolve(handle, "fluid_settings_setstr", f.settings_setstr) &&
           resolve(handle, "new_fluid_synth", f.new_synth) &&
           resolve(handle, "delete_fluid_synth", f.delete_synth) &&
           resolve(handle, "fluid_synth_sfload", f.synth_sfload) &&
           resolve(handle, "fluid_synth_set_channel_type", f.synth_set_channel_type) &&
           resolve(handle, "fluid_synth_bank_select", f.synth_bank_select) &&
           resolve(handle, "new_fluid_defsfloader", f.new_defsfloader) &&
           resolve(handle, "fluid_sfloader_set_callbacks", f.sfloader_set_callbacks) &&
           resolve(handle, "fluid_synth_add_sfloader", f.synth_add_sfloader) &&
           resolve(handle, "fluid_is_midifile", f.is_midifile) &&
           resolve(handle, "fluid_is_soundfont", f.is_soundfont) &&
           resolve(handle, "new_fluid_player", f.new_player) &&
           resolve(handle, "delete_fluid_player", f.delete_player) &&
           resolve(handle, "fluid_player_add", f.player_add) &&
           resolve(handle, "fluid_player_play", f.player_play) &&
           resolve(handle, "fluid_player_get_status", f.player_get_status) &&
           resolve(handle, "fluid_player_get_current_tick", f.player_get_current_tick) &&
           resolve(handle, "fluid_player_get_total_ticks", f.player_get_total_ticks) &&
           resolve(handle, "fluid_player_get_midi_tempo", f.player_get_midi_tempo) &&
           resolve(handle, "new_fluid_audio_driver", f.new_audio_driver) &&
           resolve(handle, "delete_fluid_audio_driver", f.delete_audio_driver) &&
           resolve(handle, "snd_lib_error_set_handler", f.alsa_set_error_handler);
}

const FluidSynthLibrary* open() {
    static FluidSynthLibrary library;
    for (const char* name : LibraryNames) {
        // Kept open for the rest of the run: the player may need it at any time.
        void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            continue;
        if (resolveAll(handle, library))
            return &library;
        dlclose(handle);
    }
    return nullptr;
}

} // namespace

const FluidSynthLibrary* FluidSynthLibrary::get() {
    static const FluidSynthLibrary* const library = open();
    return library;
}
