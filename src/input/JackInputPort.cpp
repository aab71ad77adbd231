// The input port on a JACK server that already runs, fed by its physical MIDI outputs.
#include "input/InputPort.h"
#include "input/RtMidiPort.h"

#include <jack/jack.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

void ignoreJackMessage(const char*) {}

struct ClientCloser {
    void operator()(jack_client_t* client) const { jack_client_close(client); }
};
using JackClient = std::unique_ptr<jack_client_t, ClientCloser>;

// RtMidi does not tell which ports are physical; a client of our own without ports asks.
std::vector<std::string> physicalMidiOutputs(jack_client_t* client) {
    std::vector<std::string> names;
    const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE,
                                        JackPortIsOutput | JackPortIsPhysical);
    if (!ports)
        return names;
    for (const char** port = ports; *port; ++port)
        names.emplace_back(*port);
    jack_free(static_cast<void*>(ports));
    return names;
}

class JackInputPort final : public InputPort {
public:
    JackInputPort(JackClient scanner, std::unique_ptr<RtMidiIn> in)
        : scanner_(std::move(scanner)), in_(std::move(in)) {}

    void connectHardware() override {
        const std::vector<std::string> physical = physicalMidiOutputs(scanner_.get());
        if (physical.empty())
            return;
        // RtMidi connects each source it opens to the one port already there.
        const unsigned int count = in_->getPortCount();
        for (unsigned int i = 0; i < count; ++i) {
            if (std::ranges::find(physical, in_->getPortName(i)) != physical.end())
                in_->openPort(i, inputPortName);
        }
    }

private:
    JackClient scanner_;
    std::unique_ptr<RtMidiIn> in_;
};

} // namespace

std::unique_ptr<InputPort> openJackInput(const MidiInput::Received& received) {
    // Without a server the library would say so on the terminal.
    jack_set_error_function(ignoreJackMessage);
    jack_set_info_function(ignoreJackMessage);
    JackClient scanner(jack_client_open("Virelo-Suche", JackNoStartServer, nullptr));
    if (!scanner)
        return nullptr;
    std::unique_ptr<RtMidiIn> in = openRtMidiPort(RtMidi::UNIX_JACK, received);
    if (!in)
        return nullptr;
    return std::make_unique<JackInputPort>(std::move(scanner), std::move(in));
}
