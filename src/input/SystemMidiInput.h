#pragma once

#include "input/MidiInput.h"

#include <condition_variable>
#include <mutex>
#include <thread>

// The program's MIDI input port on the ALSA sequencer where it exists, else on a JACK server
// that already runs, else none, silently. Opening and connecting may wait on the MIDI system,
// so both run on a thread of their own, never on the caller's.
class SystemMidiInput final : public MidiInput {
public:
    SystemMidiInput() = default;
    ~SystemMidiInput() override;

    SystemMidiInput(const SystemMidiInput&) = delete;
    SystemMidiInput& operator=(const SystemMidiInput&) = delete;

    void open(const Received& received) override;
    void connectHardware() override;

private:
    void run(const Received& received);

    std::mutex mutex_;
    std::condition_variable changed_;
    bool connectWanted_ = false;
    bool quit_ = false;
    std::thread thread_;
};
