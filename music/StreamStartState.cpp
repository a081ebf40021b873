#include "music/StreamStartState.h"
#include "music/StreamBuffer.h"

#include <cstring>

namespace {

constexpr BYTE NOT_SET = 0xFF;
constexpr BYTE CONTROL_CHANGE = 0xB0;
constexpr BYTE PROGRAM_CHANGE = 0xC0;
constexpr DWORD TEMPO_EVENT = DWORD{MEVT_TEMPO} << 24;

SmfResult Record(StartStateTable& table, const SmfEvent& event)
{
    const BYTE kind = event.m_byStatus & 0xF0;
    const int channel = event.m_byStatus & 0x0F;
    if (kind == CONTROL_CHANGE && event.m_byData1 < StartStateTable::CONTROLLERS) {
        table.m_controllers[channel][event.m_byData1] = event.m_byData2;
    } else if (kind == PROGRAM_CHANGE) {
        table.m_programs[channel] = event.m_byData1;
    } else if (event.m_byStatus == 0xFF && event.m_byData1 == 0x51) {
        if (event.m_dwLength != 3)
            return SMF_INVALID;
        std::memcpy(table.m_tempo, event.m_pData, 3);
    }
    return SMF_SUCCESS;
}

bool PutStateEvent(MIDIHDR& header, DWORD eventWord)
{
    if (StreamBufferFree(header) < STREAM_EVENT_HEAD_BYTES)
        return false;
    PutStreamEvent(header, 0, eventWord);
    return true;
}

SmfResult PackTable(const StartStateTable& table, MIDIHDR& header)
{
    header.dwBytesRecorded = 0;
    const BYTE* tempo = table.m_tempo;
    if (!(tempo[0] == NOT_SET && tempo[1] == NOT_SET && tempo[2] == NOT_SET) &&
        !PutStateEvent(header, TEMPO_EVENT | (DWORD{tempo[0]} << 16) | (DWORD{tempo[1]} << 8) | tempo[2]))
        return SMF_NOMEMORY;
    for (DWORD channel = 0; channel < StartStateTable::CHANNELS; ++channel) {
        const BYTE program = table.m_programs[channel];
        if (program != NOT_SET && !PutStateEvent(header, PROGRAM_CHANGE | channel | (DWORD{program} << 8)))
            return SMF_NOMEMORY;
    }
    for (DWORD channel = 0; channel < StartStateTable::CHANNELS; ++channel) {
        for (DWORD controller = 0; controller < StartStateTable::CONTROLLERS; ++controller) {
            const BYTE value = table.m_controllers[channel][controller];
            if (value != NOT_SET &&
                !PutStateEvent(header, CONTROL_CHANGE | channel | (controller << 8) | (DWORD{value} << 16)))
                return SMF_NOMEMORY;
        }
    }
    return SMF_SUCCESS;
}

} // namespace

SmfResult BuildStartState(SmfSong& song, DWORD startTick, MIDIHDR& header, StartStateTable& table)
{
    std::memset(&table, NOT_SET, sizeof table);
    RewindSong(song);
    SmfEvent event;
    SmfResult result;
    while ((result = ReadEvent(song, startTick, event)) == SMF_SUCCESS) {
        if (Record(table, event) != SMF_SUCCESS)
            return SMF_INVALID;
    }
    if (result != SMF_LIMIT)
        return result;
    return PackTable(table, header);
}
