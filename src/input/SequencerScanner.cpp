#include "input/SequencerScanner.h"

#include <alsa/asoundlib.h>

namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

SequencerPort portOf(snd_seq_client_info_t* client, snd_seq_port_info_t* port) {
    const unsigned int caps = snd_seq_port_info_get_capability(port);
    const auto both = [caps](unsigned int a, unsigned int b) {
        return (caps & (a | b)) == (a | b);
    };
    const bool exported = (caps & SND_SEQ_PORT_CAP_NO_EXPORT) == 0;
    SequencerPort found;
    found.address = {snd_seq_port_info_get_client(port), snd_seq_port_info_get_port(port)};
    found.clientName = snd_seq_client_info_get_name(client);
    found.portName = snd_seq_port_info_get_name(port);
    found.kernelClient = snd_seq_client_info_get_type(client) == SND_SEQ_KERNEL_CLIENT;
    found.pid = snd_seq_client_info_get_pid(client);
    found.readable = exported && both(SND_SEQ_PORT_CAP_READ, SND_SEQ_PORT_CAP_SUBS_READ);
    found.writable = exported && both(SND_SEQ_PORT_CAP_WRITE, SND_SEQ_PORT_CAP_SUBS_WRITE);
    return found;
}

} // namespace

std::unique_ptr<SequencerScanner> SequencerScanner::open() {
    // Where there is no sequencer the library would say so on the terminal.
    snd_lib_error_set_handler(ignoreAlsaError);
    snd_seq_t* sequencer = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, 0) < 0)
        return nullptr;
    snd_seq_set_client_name(sequencer, "Virelo-Suche");
    return std::unique_ptr<SequencerScanner>(new SequencerScanner(sequencer));
}

SequencerScanner::~SequencerScanner() {
    snd_seq_close(sequencer_);
}

std::vector<SequencerPort> SequencerScanner::ports() const {
    std::vector<SequencerPort> found;
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(sequencer_, client) >= 0) {
        snd_seq_port_info_set_client(port, snd_seq_client_info_get_client(client));
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(sequencer_, port) >= 0)
            found.push_back(portOf(client, port));
    }
    return found;
}

void SequencerScanner::connect(SequencerAddress from, SequencerAddress to) const {
    snd_seq_port_subscribe_t* subscription = nullptr;
    snd_seq_port_subscribe_alloca(&subscription);
    const snd_seq_addr_t sender{static_cast<unsigned char>(from.client),
                                static_cast<unsigned char>(from.port)};
    const snd_seq_addr_t dest{static_cast<unsigned char>(to.client),
                              static_cast<unsigned char>(to.port)};
    snd_seq_port_subscribe_set_sender(subscription, &sender);
    snd_seq_port_subscribe_set_dest(subscription, &dest);
    // Fails harmlessly when the two are connected already.
    snd_seq_subscribe_port(sequencer_, subscription);
}
