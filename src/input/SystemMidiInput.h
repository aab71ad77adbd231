#pragma once

#include "input/MidiInput.h"

#include <memory>

// The program's MIDI input port on the ALSA sequencer where it exists, else on a JACK server
// that already runs, else none, silently. Opening, connecting and closing may wait on the MIDI
// system, so they run on a thread of their own, never on the caller's; the input's end waits
// for the port to close for a second at most, and leaves a hung one to the program's exit.
class SystemMidiInput final : public MidiInput {
public:
    SystemMidiInput();
    ~SystemMidiInput() override;

    SystemMidiInput(const SystemMidiInput&) = delete;
    SystemMidiInput& operator=(const SystemMidiInput&) = delete;

    void open(const Received& received) override;
    void connectHardware() override;

private:
    struct Shared;
    static void run(const std::shared_ptr<Shared>& shared);
    static void serve(Shared& shared);

    std::shared_ptr<Shared> shared_;
    bool opened_ = false;
};
