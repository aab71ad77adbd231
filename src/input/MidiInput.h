#pragma once

#include <functional>

// Where keys pressed on a MIDI keyboard come from.
class MidiInput {
public:
    // Called with a message as it arrives, on whatever thread the input runs.
    using Received = std::function<void(const unsigned char* bytes, std::size_t size)>;

    virtual ~MidiInput() = default;
    // Opens the input in the background; what arrives from then on goes to `received`, which
    // must outlive the input.
    virtual void open(const Received& received) = 0;
    // Connects every hardware source present now; returns at once.
    virtual void connectHardware() = 0;
};
