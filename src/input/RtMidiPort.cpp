#include "input/RtMidiPort.h"

#include "input/InputPort.h"
#include "input/MidiLog.h"

#include <array>

namespace {

// RtMidi's own default; with a callback set, its queue is never used.
constexpr unsigned int queueSize = 100;

void forward(double, const unsigned char* message, size_t size, void* received) {
    if (message && size > 0)
        (*static_cast<const MidiInput::Received*>(received))(message, size);
}

} // namespace

std::unique_ptr<RtMidiPort> RtMidiPort::open(const MidiLibrary& library, RtMidiApi api,
                                             const MidiInput::Received& received) {
    RtMidiInPtr in = library.in_create(api, inputClientName, queueSize);
    if (!in)
        return nullptr;
    std::unique_ptr<RtMidiPort> port(new RtMidiPort(library, in));
    if (in->ok) {
        library.in_set_callback(in, forward, const_cast<MidiInput::Received*>(&received));
        library.open_virtual_port(in, inputPortName);
    }
    if (!in->ok) {
        qCInfo(midiLog) << "RtMidi could not open the input port:" << in->msg;
        return nullptr;
    }
    qCInfo(midiLog) << "input port open:" << inputClientName << inputPortName;
    return port;
}

RtMidiPort::~RtMidiPort() {
    library_.in_free(in_);
}

void RtMidiPort::connectSource(const std::string& name) const {
    // RtMidi connects each source it opens to the one port already there.
    const unsigned int count = library_.get_port_count(in_);
    for (unsigned int i = 0; i < count; ++i) {
        std::array<char, 1024> buffer{};
        int length = int(buffer.size());
        if (library_.get_port_name(in_, i, buffer.data(), &length) >= 0 && buffer.data() == name) {
            qCInfo(midiLog) << "connecting" << name.c_str();
            library_.open_port(in_, i, inputPortName);
            return;
        }
    }
}
