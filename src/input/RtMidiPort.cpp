#include "input/RtMidiPort.h"

#include "input/InputPort.h"

namespace {

void forward(double, std::vector<unsigned char>* message, void* received) {
    if (message && !message->empty())
        (*static_cast<const MidiInput::Received*>(received))(message->data(), message->size());
}

void ignore(RtMidiError::Type, const std::string&, void*) {}

} // namespace

std::unique_ptr<RtMidiIn> openRtMidiPort(RtMidi::Api api, const MidiInput::Received& received) {
    try {
        auto in = std::make_unique<RtMidiIn>(api, inputClientName);
        in->setErrorCallback(ignore);
        in->setCallback(forward, const_cast<MidiInput::Received*>(&received));
        in->openVirtualPort(inputPortName);
        return in;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}
