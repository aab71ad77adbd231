#include "input/MidiLibrary.h"

#include "input/MidiLog.h"
#include "platform/RuntimeLibrary.h"

namespace {

// JACK's and ALSA's functions are found through RtMidi, which depends on both.
bool resolveAll(void* handle, MidiLibrary& m) {
    return resolveFunction(handle, "rtmidi_in_create", m.in_create) &&
           resolveFunction(handle, "rtmidi_in_free", m.in_free) &&
           resolveFunction(handle, "rtmidi_in_set_callback", m.in_set_callback) &&
           resolveFunction(handle, "rtmidi_open_virtual_port", m.open_virtual_port) &&
           resolveFunction(handle, "rtmidi_open_port", m.open_port) &&
           resolveFunction(handle, "rtmidi_get_port_count", m.get_port_count) &&
           resolveFunction(handle, "rtmidi_get_port_name", m.get_port_name) &&
           resolveFunction(handle, "jack_set_error_function", m.jack_set_error_function) &&
           resolveFunction(handle, "jack_set_info_function", m.jack_set_info_function) &&
           resolveFunction(handle, "jack_client_open", m.jack_client_open) &&
           resolveFunction(handle, "jack_client_close", m.jack_client_close) &&
           resolveFunction(handle, "jack_get_ports", m.jack_get_ports) &&
           resolveFunction(handle, "jack_free", m.jack_free) &&
           resolveFunction(handle, "snd_lib_error_set_handler", m.lib_error_set_handler) &&
           resolveFunction(handle, "snd_seq_open", m.seq_open) &&
           resolveFunction(handle, "snd_seq_close", m.seq_close) &&
           resolveFunction(handle, "snd_seq_set_client_name", m.seq_set_client_name) &&
           resolveFunction(handle, "snd_seq_client_info_malloc", m.client_info_malloc) &&
           resolveFunction(handle, "snd_seq_client_info_free", m.client_info_free) &&
           resolveFunction(handle, "snd_seq_client_info_set_client", m.client_info_set_client) &&
           resolveFunction(handle, "snd_seq_client_info_get_client", m.client_info_get_client) &&
           resolveFunction(handle, "snd_seq_client_info_get_name", m.client_info_get_name) &&
           resolveFunction(handle, "snd_seq_client_info_get_type", m.client_info_get_type) &&
           resolveFunction(handle, "snd_seq_client_info_get_pid", m.client_info_get_pid) &&
           resolveFunction(handle, "snd_seq_query_next_client", m.query_next_client) &&
           resolveFunction(handle, "snd_seq_port_info_malloc", m.port_info_malloc) &&
           resolveFunction(handle, "snd_seq_port_info_free", m.port_info_free) &&
           resolveFunction(handle, "snd_seq_port_info_set_client", m.port_info_set_client) &&
           resolveFunction(handle, "snd_seq_port_info_set_port", m.port_info_set_port) &&
           resolveFunction(handle, "snd_seq_port_info_get_client", m.port_info_get_client) &&
           resolveFunction(handle, "snd_seq_port_info_get_port", m.port_info_get_port) &&
           resolveFunction(handle, "snd_seq_port_info_get_name", m.port_info_get_name) &&
           resolveFunction(handle, "snd_seq_port_info_get_capability",
                           m.port_info_get_capability) &&
           resolveFunction(handle, "snd_seq_query_next_port", m.query_next_port) &&
           resolveFunction(handle, "snd_seq_port_subscribe_malloc", m.port_subscribe_malloc) &&
           resolveFunction(handle, "snd_seq_port_subscribe_free", m.port_subscribe_free) &&
           resolveFunction(handle, "snd_seq_port_subscribe_set_sender",
                           m.port_subscribe_set_sender) &&
           resolveFunction(handle, "snd_seq_port_subscribe_set_dest", m.port_subscribe_set_dest) &&
           resolveFunction(handle, "snd_seq_subscribe_port", m.subscribe_port);
}

} // namespace

const MidiLibrary* MidiLibrary::get() {
    // The run-time name first; the development link as a fallback for other versions.
    static const MidiLibrary* const library =
        openRuntimeLibrary<MidiLibrary>({"librtmidi.so.6", "librtmidi.so"}, resolveAll, midiLog());
    return library;
}
