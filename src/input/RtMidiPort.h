#pragma once

#include "input/MidiInput.h"

#include <rtmidi/RtMidi.h>

#include <memory>

// RtMidi's input on `api` with the program's port, passing every message to `received`; nothing
// if the system cannot be opened. Errors after opening are ignored: a lost keyboard only means
// no more keys.
std::unique_ptr<RtMidiIn> openRtMidiPort(RtMidi::Api api, const MidiInput::Received& received);
