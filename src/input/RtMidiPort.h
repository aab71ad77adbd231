#pragma once

#include "input/MidiInput.h"
#include "input/MidiLibrary.h"

#include <memory>
#include <string>

// RtMidi's input on one MIDI system with the program's port, passing every message to
// `received` on RtMidi's thread.
class RtMidiPort {
public:
    // Nothing if the system cannot be opened.
    static std::unique_ptr<RtMidiPort> open(const MidiLibrary& library, RtMidiApi api,
                                            const MidiInput::Received& received);
    ~RtMidiPort();

    RtMidiPort(const RtMidiPort&) = delete;
    RtMidiPort& operator=(const RtMidiPort&) = delete;

    // Connects the source of that name to the port, if RtMidi offers it.
    void connectSource(const std::string& name) const;

private:
    RtMidiPort(const MidiLibrary& library, RtMidiInPtr in) : library_(library), in_(in) {}

    const MidiLibrary& library_;
    RtMidiInPtr in_;
};
