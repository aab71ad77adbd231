#pragma once

#include <optional>
#include <string>
#include <vector>

// The ALSA sequencer's ports as a scan finds them, and which of them to connect: apart from the
// sequencer itself, so that the choice can be checked where no sequencer exists.
struct SequencerAddress {
    int client = 0;
    int port = 0;
    bool operator==(const SequencerAddress&) const = default;
};

struct SequencerPort {
    SequencerAddress address;
    std::string clientName;
    std::string portName;
    bool kernelClient = false; // a sound card's driver, not a program
    int pid = 0;               // of a program's client; 0 for the kernel's
    bool readable = false;     // others may subscribe to what it sends
    bool writable = false;     // others may subscribe it to what they send
};

// The sources to connect to the program's input: every port a sound card's driver offers to be
// read, but not the sequencer's own System ports nor the "Midi Through" loop.
std::vector<SequencerAddress> hardwareSources(const std::vector<SequencerPort>& ports);

// The program's own input port, named `portName`, of a client that process `pid` opened.
std::optional<SequencerAddress> ownInput(const std::vector<SequencerPort>& ports, int pid,
                                         const std::string& portName);
