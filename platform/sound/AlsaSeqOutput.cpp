#include "platform/sound/AlsaSeqOutput.h"

#include <algorithm>

namespace {

// System-exclusive bytes go out in events of at most this many.
constexpr DWORD SYSEX_PIECE = 256;

} // namespace

AlsaSeqOutput::~AlsaSeqOutput()
{
    if (m_pEncoder)
        snd_midi_event_free(m_pEncoder);
    if (m_pSequencer)
        snd_seq_close(m_pSequencer);
}

bool AlsaSeqOutput::Open(const AlsaSeqPort& port)
{
    m_pSequencer = OpenAlsaSeq();
    if (!m_pSequencer)
        return false;
    snd_seq_set_client_name(m_pSequencer, "Dovezi");
    m_nPort = snd_seq_create_simple_port(m_pSequencer, "Dovezi", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                         SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    return m_nPort >= 0 && snd_seq_connect_to(m_pSequencer, m_nPort, port.client, port.port) >= 0 &&
           snd_midi_event_new(SYSEX_PIECE, &m_pEncoder) >= 0;
}

void AlsaSeqOutput::SendShort(DWORD message, std::int64_t)
{
    const unsigned char bytes[3] = {static_cast<unsigned char>(message), static_cast<unsigned char>(message >> 8),
                                    static_cast<unsigned char>(message >> 16)};
    const long length = static_cast<long>(ShortMessageLength(bytes[0]));
    if (length == 0)
        return;
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    snd_midi_event_reset_encode(m_pEncoder);
    if (snd_midi_event_encode(m_pEncoder, bytes, length, &event) == length && event.type != SND_SEQ_EVENT_NONE)
        Deliver(event);
}

void AlsaSeqOutput::SendLong(const BYTE* data, DWORD length, std::int64_t)
{
    for (DWORD sent = 0; sent < length;) {
        const DWORD piece = std::min(SYSEX_PIECE, length - sent);
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        snd_seq_ev_set_sysex(&event, piece, const_cast<BYTE*>(data + sent));
        Deliver(event);
        sent += piece;
    }
}

void AlsaSeqOutput::Deliver(snd_seq_event_t& event)
{
    snd_seq_ev_set_source(&event, static_cast<unsigned char>(m_nPort));
    snd_seq_ev_set_subs(&event);
    snd_seq_ev_set_direct(&event);
    snd_seq_event_output_direct(m_pSequencer, &event);
}
