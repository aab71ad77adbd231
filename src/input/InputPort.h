#pragma once

#include "input/MidiInput.h"
#include "input/MidiLibrary.h"

#include <memory>

// The program's one MIDI input port on one MIDI system.
inline constexpr const char* inputClientName = "Virelo";
inline constexpr const char* inputPortName = "Eingang";

class InputPort {
public:
    virtual ~InputPort() = default;
    virtual void connectHardware() = 0;
};

// Each opens the port where its system runs, quietly, and gives nothing where it does not.
std::unique_ptr<InputPort> openAlsaInput(const MidiLibrary& library,
                                         const MidiInput::Received& received);
// Never starts a JACK server, only joins one that runs.
std::unique_ptr<InputPort> openJackInput(const MidiLibrary& library,
                                         const MidiInput::Received& received);
