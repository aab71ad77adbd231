// The input port on the ALSA sequencer, fed by every sound card's MIDI ports.
#include "input/InputPort.h"
#include "input/MidiLog.h"
#include "input/RtMidiPort.h"
#include "input/SequencerScanner.h"

#include <unistd.h>

namespace {

class AlsaInputPort final : public InputPort {
public:
    AlsaInputPort(std::unique_ptr<SequencerScanner> scanner, std::unique_ptr<RtMidiPort> in)
        : scanner_(std::move(scanner)), in_(std::move(in)) {}

    void connectHardware() override {
        const std::vector<SequencerPort> ports = scanner_->ports();
        const std::optional<SequencerAddress> own = ownInput(ports, getpid(), inputPortName);
        if (!own)
            return;
        for (const SequencerAddress& source : hardwareSources(ports)) {
            qCInfo(midiLog) << "connecting sequencer port" << source.client << ":" << source.port;
            scanner_->connect(source, *own);
        }
    }

private:
    std::unique_ptr<SequencerScanner> scanner_;
    std::unique_ptr<RtMidiPort> in_;
};

} // namespace

std::unique_ptr<InputPort> openAlsaInput(const MidiLibrary& library,
                                         const MidiInput::Received& received) {
    std::unique_ptr<SequencerScanner> scanner = SequencerScanner::open(library);
    if (!scanner)
        return nullptr;
    std::unique_ptr<RtMidiPort> in = RtMidiPort::open(library, RTMIDI_API_LINUX_ALSA, received);
    if (!in)
        return nullptr;
    return std::make_unique<AlsaInputPort>(std::move(scanner), std::move(in));
}
