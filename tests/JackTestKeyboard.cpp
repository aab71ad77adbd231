#include "JackTestKeyboard.h"

#include <jack/midiport.h>

#include <algorithm>

JackTestKeyboard::JackTestKeyboard() {
    client_ = jack_client_open("Tastatur", JackNoStartServer, nullptr);
    if (!client_)
        return;
    output_ = jack_port_register(client_, "Ausgang", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (!output_ || jack_set_process_callback(client_, process, this) != 0 ||
        jack_activate(client_) != 0) {
        jack_client_close(client_);
        client_ = nullptr;
    }
}

JackTestKeyboard::~JackTestKeyboard() {
    if (client_)
        jack_client_close(client_);
}

bool JackTestKeyboard::plugInHardware() {
    jack_port_t* port =
        jack_port_register(client_, "Hardware", JACK_DEFAULT_MIDI_TYPE,
                           JackPortIsOutput | JackPortIsPhysical | JackPortIsTerminal, 0);
    hardware_ = port;
    return port != nullptr;
}

std::string JackTestKeyboard::outputName() const {
    return jack_port_name(output_);
}

std::string JackTestKeyboard::hardwareName() const {
    return hardware_ ? jack_port_name(hardware_) : std::string();
}

bool JackTestKeyboard::connect(const std::string& output, const std::string& input) const {
    return jack_connect(client_, output.c_str(), input.c_str()) == 0;
}

bool JackTestKeyboard::connected(const std::string& output, const std::string& input) const {
    const jack_port_t* port = jack_port_by_name(client_, output.c_str());
    return port && jack_port_connected_to(port, input.c_str()) != 0;
}

bool JackTestKeyboard::portExists(const std::string& name) const {
    return jack_port_by_name(client_, name.c_str()) != nullptr;
}

void JackTestKeyboard::press(int pitch, bool onHardware) {
    send({0x90, static_cast<unsigned char>(pitch), 100}, onHardware);
    send({0x80, static_cast<unsigned char>(pitch), 64}, onHardware);
}

void JackTestKeyboard::send(std::vector<unsigned char> message, bool onHardware) {
    const std::lock_guard lock(mutex_);
    pending_.push_back({std::move(message), onHardware});
}

int JackTestKeyboard::process(jack_nframes_t frames, void* self) {
    auto& keyboard = *static_cast<JackTestKeyboard*>(self);
    jack_port_t* const hardware = keyboard.hardware_;
    void* plain = jack_port_get_buffer(keyboard.output_, frames);
    void* physical = hardware ? jack_port_get_buffer(hardware, frames) : nullptr;
    jack_midi_clear_buffer(plain);
    if (physical)
        jack_midi_clear_buffer(physical);
    // A test's client: a short wait for the lock does no harm here.
    const std::lock_guard lock(keyboard.mutex_);
    if (keyboard.pending_.empty())
        return 0;
    for (const Pending& pending : keyboard.pending_) {
        void* buffer = pending.onHardware ? physical : plain;
        if (buffer)
            jack_midi_event_write(buffer, 0, pending.message.data(), pending.message.size());
    }
    keyboard.pending_.clear();
    keyboard.sent_ = Clock::now().time_since_epoch().count();
    return 0;
}
