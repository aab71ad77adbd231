#pragma once

#include "input/SequencerPorts.h"

#include <memory>
#include <vector>

struct _snd_seq;

// A client of the ALSA sequencer without ports of its own, that lists the ports there are and
// connects them, as aconnect does.
class SequencerScanner {
public:
    // Nothing where no sequencer exists; says nothing about it either way.
    static std::unique_ptr<SequencerScanner> open();
    ~SequencerScanner();

    SequencerScanner(const SequencerScanner&) = delete;
    SequencerScanner& operator=(const SequencerScanner&) = delete;

    std::vector<SequencerPort> ports() const;
    // A connection that exists already is left as it is.
    void connect(SequencerAddress from, SequencerAddress to) const;

private:
    explicit SequencerScanner(_snd_seq* sequencer) : sequencer_(sequencer) {}
    _snd_seq* sequencer_;
};
