// The input port on a JACK server that already runs, fed by its physical MIDI outputs.
#include "input/InputPort.h"
#include "input/MidiLog.h"
#include "input/RtMidiPort.h"

#include <string>
#include <vector>

namespace {

void ignoreJackMessage(const char*) {}

class JackInputPort final : public InputPort {
public:
    JackInputPort(const MidiLibrary& library, jack_client_t* scanner,
                  std::unique_ptr<RtMidiPort> in)
        : library_(library), scanner_(scanner), in_(std::move(in)) {}
    ~JackInputPort() override { library_.jack_client_close(scanner_); }

    JackInputPort(const JackInputPort&) = delete;
    JackInputPort& operator=(const JackInputPort&) = delete;

    void connectHardware() override {
        for (const std::string& source : physicalMidiOutputs())
            in_->connectSource(source);
    }

private:
    // RtMidi does not tell which ports are physical; a client of our own without ports asks.
    std::vector<std::string> physicalMidiOutputs() const {
        std::vector<std::string> names;
        const char** ports = library_.jack_get_ports(scanner_, nullptr, JACK_DEFAULT_MIDI_TYPE,
                                                     JackPortIsOutput | JackPortIsPhysical);
        if (!ports)
            return names;
        for (const char** port = ports; *port; ++port)
            names.emplace_back(*port);
        library_.jack_free(static_cast<void*>(ports));
        return names;
    }

    const MidiLibrary& library_;
    jack_client_t* scanner_;
    std::unique_ptr<RtMidiPort> in_;
};

} // namespace

std::unique_ptr<InputPort> openJackInput(const MidiLibrary& library,
                                         const MidiInput::Received& received) {
    // Without a server the library would say so on the terminal.
    library.jack_set_error_function(ignoreJackMessage);
    library.jack_set_info_function(ignoreJackMessage);
    jack_client_t* scanner = library.jack_client_open("Virelo-Suche", JackNoStartServer, nullptr);
    if (!scanner) {
        qCInfo(midiLog) << "no JACK server runs";
        return nullptr;
    }
    std::unique_ptr<RtMidiPort> in = RtMidiPort::open(library, RTMIDI_API_UNIX_JACK, received);
    if (!in) {
        library.jack_client_close(scanner);
        return nullptr;
    }
    return std::make_unique<JackInputPort>(library, scanner, std::move(in));
}
