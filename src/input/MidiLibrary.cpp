#include "input/MidiLibrary.h"

#include <dlfcn.h>

#include <array>

namespace {

// The run-time name first; the development link as a fallback for builds against other versions.
constexpr std::array<const char*, 2> LibraryNames = {"librtmidi.so.6", "librtmidi.so"};

template <class Function> bool resolve(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

// JACK's and ALSA's functions are found through RtMidi, which depends on both.
bool resolveAll(void* handle, MidiLibrary& m) {
    return resolve(handle, "rtmidi_in_create", m.in_create) &&
           resolve(handle, "rtmidi_in_free", m.in_free) &&
           resolve(handle, "rtmidi_in_set_callback", m.in_set_callback) &&
           resolve(handle, "rtmidi_open_virtual_port", m.open_virtual_port) &&
           resolve(handle, "rtmidi_open_port", m.open_port) &&
           resolve(handle, "rtmidi_get_port_count", m.get_port_count) &&
           resolve(handle, "rtmidi_get_port_name", m.get_port_name) &&
           resolve(handle, "jack_set_error_function", m.jack_set_error_function) &&
           resolve(handle, "jack_set_info_function", m.jack_set_info_function) &&
           resolve(handle, "jack_client_open", m.jack_client_open) &&
           resolve(handle, "jack_client_close", m.jack_client_close) &&
           resolve(handle, "jack_get_ports", m.jack_get_ports) &&
           resolve(handle, "jack_free", m.jack_free) &&
           resolve(handle, "snd_lib_error_set_handler", m.lib_error_set_handler) &&
           resolve(handle, "snd_seq_open", m.seq_open) &&
           resolve(handle, "snd_seq_close", m.seq_close) &&
           resolve(handle, "snd_seq_set_client_name", m.seq_set_client_name) &&
           resolve(handle, "snd_seq_client_info_malloc", m.client_info_malloc) &&
           resolve(handle, "snd_seq_client_info_free", m.client_info_free) &&
           resolve(handle, "snd_seq_client_info_set_client", m.client_info_set_client) &&
           resolve(handle, "snd_seq_client_info_get_client", m.client_info_get_client) &&
           resolve(handle, "snd_seq_client_info_get_name", m.client_info_get_name) &&
           resolve(handle, "snd_seq_client_info_get_type", m.client_info_get_type) &&
           resolve(handle, "snd_seq_client_info_get_pid", m.client_info_get_pid) &&
           resolve(handle, "snd_seq_query_next_client", m.query_next_client) &&
           resolve(handle, "snd_seq_port_info_malloc", m.port_info_malloc) &&
           resolve(handle, "snd_seq_port_info_free", m.port_info_free) &&
           resolve(handle, "snd_seq_port_info_set_client", m.port_info_set_client) &&
           resolve(handle, "snd_seq_port_info_set_port", m.port_info_set_port) &&
           resolve(handle, "snd_seq_port_info_get_client", m.port_info_get_client) &&
           resolve(handle, "snd_seq_port_info_get_port", m.port_info_get_port) &&
           resolve(handle, "snd_seq_port_info_get_name", m.port_info_get_name) &&
           resolve(handle, "snd_seq_port_info_get_capability", m.port_info_get_capability) &&
           resolve(handle, "snd_seq_query_next_port", m.query_next_port) &&
           resolve(handle, "snd_seq_port_subscribe_malloc", m.port_subscribe_malloc) &&
           resolve(handle, "snd_seq_port_subscribe_free", m.port_subscribe_free) &&
           resolve(handle, "snd_seq_port_subscribe_set_sender", m.port_subscribe_set_sender) &&
           resolve(handle, "snd_seq_port_subscribe_set_dest", m.port_subscribe_set_dest) &&
           resolve(handle, "snd_seq_subscribe_port", m.subscribe_port);
}

const MidiLibrary* open() {
    static MidiLibrary library;
    for (const char* name : LibraryNames) {
        // Kept open for the rest of the run: the input port lives as long.
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

const MidiLibrary* MidiLibrary::get() {
    static const MidiLibrary* const library = open();
    return library;
}
