#include "platform/sound/AlsaSeqPorts.h"

#include <memory>

namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

constexpr unsigned int ACCEPTS_OUTPUT = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

} // namespace

void SilenceAlsaErrors()
{
    snd_lib_error_set_handler(&IgnoreAlsaError);
}

snd_seq_t* OpenAlsaSeq()
{
    SilenceAlsaErrors();
    snd_seq_t* sequencer = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0)
        return nullptr;
    return sequencer;
}

std::vector<AlsaSeqPort> ListAlsaSeqPorts()
{
    std::vector<AlsaSeqPort> ports;
    const std::unique_ptr<snd_seq_t, decltype(&snd_seq_close)> sequencer(OpenAlsaSeq(), &snd_seq_close);
    if (!sequencer)
        return ports;
    snd_seq_client_info_t* rawClient = nullptr;
    snd_seq_port_info_t* rawPort = nullptr;
    if (snd_seq_client_info_malloc(&rawClient) < 0)
        return ports;
    const std::unique_ptr<snd_seq_client_info_t, decltype(&snd_seq_client_info_free)> client(
        rawClient, &snd_seq_client_info_free);
    if (snd_seq_port_info_malloc(&rawPort) < 0)
        return ports;
    const std::unique_ptr<snd_seq_port_info_t, decltype(&snd_seq_port_info_free)> port(rawPort,
                                                                                      &snd_seq_port_info_free);

    const int self = snd_seq_client_id(sequencer.get());
    snd_seq_client_info_set_client(client.get(), -1);
    while (snd_seq_query_next_client(sequencer.get(), client.get()) >= 0) {
        const int clientId = snd_seq_client_info_get_client(client.get());
        if (clientId == SND_SEQ_CLIENT_SYSTEM || clientId == self)
            continue;
        snd_seq_port_info_set_client(port.get(), clientId);
        snd_seq_port_info_set_port(port.get(), -1);
        while (snd_seq_query_next_port(sequencer.get(), port.get()) >= 0) {
            const unsigned int capabilities = snd_seq_port_info_get_capability(port.get());
            if ((capabilities & ACCEPTS_OUTPUT) != ACCEPTS_OUTPUT || (capabilities & SND_SEQ_PORT_CAP_NO_EXPORT))
                continue;
            ports.push_back(AlsaSeqPort{clientId, snd_seq_port_info_get_port(port.get()),
                                        std::string(snd_seq_client_info_get_name(client.get())) + ": " +
                                            snd_seq_port_info_get_name(port.get())});
        }
    }
    return ports;
}
