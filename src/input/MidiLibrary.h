#pragma once

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <rtmidi/rtmidi_c.h>

// RtMidi with the ALSA and JACK libraries it brings, opened at run time rather than linked:
// loading and relocating them before the first window is painted would slow every start, also
// of learners without a keyboard. Only what the input port needs.
struct MidiLibrary {
    decltype(&::rtmidi_in_create) in_create = nullptr;
    decltype(&::rtmidi_in_free) in_free = nullptr;
    decltype(&::rtmidi_in_set_callback) in_set_callback = nullptr;
    decltype(&::rtmidi_open_virtual_port) open_virtual_port = nullptr;
    decltype(&::rtmidi_open_port) open_port = nullptr;
    decltype(&::rtmidi_get_port_count) get_port_count = nullptr;
    decltype(&::rtmidi_get_port_name) get_port_name = nullptr;

    decltype(&::jack_set_error_function) jack_set_error_function = nullptr;
    decltype(&::jack_set_info_function) jack_set_info_function = nullptr;
    decltype(&::jack_client_open) jack_client_open = nullptr;
    decltype(&::jack_client_close) jack_client_close = nullptr;
    decltype(&::jack_get_ports) jack_get_ports = nullptr;
    decltype(&::jack_free) jack_free = nullptr;

    decltype(&::snd_lib_error_set_handler) lib_error_set_handler = nullptr;
    decltype(&::snd_seq_open) seq_open = nullptr;
    decltype(&::snd_seq_close) seq_close = nullptr;
    decltype(&::snd_seq_set_client_name) seq_set_client_name = nullptr;
    decltype(&::snd_seq_client_info_malloc) client_info_malloc = nullptr;
    decltype(&::snd_seq_client_info_free) client_info_free = nullptr;
    decltype(&::snd_seq_client_info_set_client) client_info_set_client = nullptr;
    decltype(&::snd_seq_client_info_get_client) client_info_get_client = nullptr;
    decltype(&::snd_seq_client_info_get_name) client_info_get_name = nullptr;
    decltype(&::snd_seq_client_info_get_type) client_info_get_type = nullptr;
    decltype(&::snd_seq_client_info_get_pid) client_info_get_pid = nullptr;
    decltype(&::snd_seq_query_next_client) query_next_client = nullptr;
    decltype(&::snd_seq_port_info_malloc) port_info_malloc = nullptr;
    decltype(&::snd_seq_port_info_free) port_info_free = nullptr;
    decltype(&::snd_seq_port_info_set_client) port_info_set_client = nullptr;
    decltype(&::snd_seq_port_info_set_port) port_info_set_port = nullptr;
    decltype(&::snd_seq_port_info_get_client) port_info_get_client = nullptr;
    decltype(&::snd_seq_port_info_get_port) port_info_get_port = nullptr;
    decltype(&::snd_seq_port_info_get_name) port_info_get_name = nullptr;
    decltype(&::snd_seq_port_info_get_capability) port_info_get_capability = nullptr;
    decltype(&::snd_seq_query_next_port) query_next_port = nullptr;
    decltype(&::snd_seq_port_subscribe_malloc) port_subscribe_malloc = nullptr;
    decltype(&::snd_seq_port_subscribe_free) port_subscribe_free = nullptr;
    decltype(&::snd_seq_port_subscribe_set_sender) port_subscribe_set_sender = nullptr;
    decltype(&::snd_seq_port_subscribe_set_dest) port_subscribe_set_dest = nullptr;
    decltype(&::snd_seq_subscribe_port) subscribe_port = nullptr;

    // Opens the library once, on the first call (thread-safe); nullptr when it or one of its
    // functions is missing.
    static const MidiLibrary* get();
};
