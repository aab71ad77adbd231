#include "input/SequencerPorts.h"

#include <algorithm>

namespace {
// The client the kernel's sequencer speaks through: its timer and its announcements.
constexpr int systemClient = 0;
} // namespace

std::vector<SequencerAddress> hardwareSources(const std::vector<SequencerPort>& ports) {
    std::vector<SequencerAddress> sources;
    for (const SequencerPort& port : ports) {
        if (port.kernelClient && port.readable && port.address.client != systemClient &&
            port.clientName != "Midi Through")
            sources.push_back(port.address);
    }
    return sources;
}

std::optional<SequencerAddress> ownInput(const std::vector<SequencerPort>& ports, int pid,
                                         const std::string& portName) {
    const auto own = std::find_if(ports.begin(), ports.end(), [&](const SequencerPort& port) {
        return !port.kernelClient && port.pid == pid && port.writable && port.portName == portName;
    });
    if (own == ports.end())
        return std::nullopt;
    return own->address;
}
