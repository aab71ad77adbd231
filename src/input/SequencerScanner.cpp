#include "input/SequencerScanner.h"

#include "input/MidiLog.h"

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

} // namespace

std::unique_ptr<SequencerScanner> SequencerScanner::open(const MidiLibrary& library) {
    // Where there is no sequencer the library would say so on the terminal.
    library.lib_error_set_handler(ignoreAlsaError);
    snd_seq_t* sequencer = nullptr;
    if (const int error = library.seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, 0);
        error < 0) {
        qCInfo(midiLog) << "no ALSA sequencer: error" << error;
        return nullptr;
    }
    library.seq_set_client_name(sequencer, "Virelo-Suche");
    return std::unique_ptr<SequencerScanner>(new SequencerScanner(library, sequencer));
}

SequencerScanner::~SequencerScanner() {
    alsa_.seq_close(sequencer_);
}

SequencerPort SequencerScanner::portOf(snd_seq_client_info_t* client,
                                       snd_seq_port_info_t* port) const {
    const unsigned int caps = alsa_.port_info_get_capability(port);
    const auto both = [caps](unsigned int a, unsigned int b) {
        return (caps & (a | b)) == (a | b);
    };
    const bool exported = (caps & SND_SEQ_PORT_CAP_NO_EXPORT) == 0;
    SequencerPort found;
    found.address = {alsa_.port_info_get_client(port), alsa_.port_info_get_port(port)};
    found.clientName = alsa_.client_info_get_name(client);
    found.portName = alsa_.port_info_get_name(port);
    found.kernelClient = alsa_.client_info_get_type(client) == SND_SEQ_KERNEL_CLIENT;
    found.pid = alsa_.client_info_get_pid(client);
    found.readable = exported && both(SND_SEQ_PORT_CAP_READ, SND_SEQ_PORT_CAP_SUBS_READ);
    found.writable = exported && both(SND_SEQ_PORT_CAP_WRITE, SND_SEQ_PORT_CAP_SUBS_WRITE);
    return found;
}

std::vector<SequencerPort> SequencerScanner::ports() const {
    std::vector<SequencerPort> found;
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    if (alsa_.client_info_malloc(&client) < 0 || alsa_.port_info_malloc(&port) < 0) {
        alsa_.client_info_free(client);
        return found;
    }
    alsa_.client_info_set_client(client, -1);
    while (alsa_.query_next_client(sequencer_, client) >= 0) {
        alsa_.port_info_set_client(port, alsa_.client_info_get_client(client));
        alsa_.port_info_set_port(port, -1);
        while (alsa_.query_next_port(sequencer_, port) >= 0)
            found.push_back(portOf(client, port));
    }
    alsa_.port_info_free(port);
    alsa_.client_info_free(client);
    return found;
}

void SequencerScanner::connect(SequencerAddress from, SequencerAddress to) const {
    snd_seq_port_subscribe_t* subscription = nullptr;
    if (alsa_.port_subscribe_malloc(&subscription) < 0)
        return;
    const snd_seq_addr_t sender{static_cast<unsigned char>(from.client),
                                static_cast<unsigned char>(from.port)};
    const snd_seq_addr_t dest{static_cast<unsigned char>(to.client),
                              static_cast<unsigned char>(to.port)};
    alsa_.port_subscribe_set_sender(subscription, &sender);
    alsa_.port_subscribe_set_dest(subscription, &dest);
    // Fails harmlessly when the two are connected already.
    alsa_.subscribe_port(sequencer_, subscription);
    alsa_.port_subscribe_free(subscription);
}
