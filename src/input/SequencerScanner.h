#pragma once

#include "input/MidiLibrary.h"
#include "input/SequencerPorts.h"

#include <memory>
#include <vector>

// A client of the ALSA sequencer without ports of its own, that lists the ports there are and
// connects them, as aconnect does.
class SequencerScanner {
public:
    // Nothing where no sequencer exists; says nothing about it either way.
    static std::unique_ptr<SequencerScanner> open(const MidiLibrary& library);
    ~SequencerScanner();

    SequencerScanner(const SequencerScanner&) = delete;
    SequencerScanner& operator=(const SequencerScanner&) = delete;

    std::vector<SequencerPort> ports() const;
    // A connection that exists already is left as it is.
    void connect(SequencerAddress from, SequencerAddress to) const;

private:
    SequencerScanner(const MidiLibrary& library, snd_seq_t* sequencer)
        : alsa_(library), sequencer_(sequencer) {}

    SequencerPort portOf(snd_seq_client_info_t* client, snd_seq_port_info_t* port) const;

    const MidiLibrary& alsa_;
    snd_seq_t* sequencer_;
};
