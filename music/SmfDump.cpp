#include "music/SmfDump.h"
#include "music/StreamBuffer.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr char HEX_DIGITS[] = "0123456789ABCDEF";

void AppendHex(std::string& text, DWORD value, int digits)
{
    for (int digit = digits - 1; digit >= 0; --digit)
        text += HEX_DIGITS[(value >> (4 * digit)) & 0xF];
}

void AppendByte(std::string& text, BYTE value)
{
    text += ' ';
    AppendHex(text, value, 2);
}

DWORD ReadDword(const BYTE* at)
{
    DWORD value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

} // namespace

std::string FormatSongInfo(const SmfSongInfo& info)
{
    return "format " + std::to_string(info.dwFormat) + " tracks " + std::to_string(info.dwTrackCount) +
           " division " + std::to_string(info.dwDivision) + " length " + std::to_string(info.dwLengthTicks);
}

std::string FormatEvent(DWORD tick, const SmfEvent& event)
{
    std::string text = std::to_string(tick);
    AppendByte(text, event.m_byStatus);
    if (event.m_byStatus == 0xFF) {
        AppendByte(text, event.m_byData1);
        text += ' ' + std::to_string(event.m_dwLength);
    } else if (event.m_byStatus >= 0xF0) {
        text += ' ' + std::to_string(event.m_dwLength);
    } else {
        AppendByte(text, event.m_byData1);
        if (SmfChannelMessageSize(event.m_byStatus) == 3)
            AppendByte(text, event.m_byData2);
    }
    return text;
}

std::string FormatStreamEvents(const BYTE* data, DWORD bytesRecorded)
{
    std::string text;
    DWORD offset = 0;
    while (bytesRecorded - offset >= STREAM_EVENT_HEAD_BYTES) {
        const DWORD delta = ReadDword(data + offset);
        const DWORD word = ReadDword(data + offset + 8);
        offset += STREAM_EVENT_HEAD_BYTES;
        text += std::to_string(delta) + ' ';
        AppendHex(text, word, 8);
        if (word & MEVT_F_LONG) {
            const DWORD length = std::min<DWORD>(MEVT_EVENTPARM(word), bytesRecorded - offset);
            for (DWORD index = 0; index < length; ++index)
                AppendByte(text, data[offset + index]);
            offset += std::min<DWORD>((length + 3) & ~DWORD{3}, bytesRecorded - offset);
        }
        text += '\n';
    }
    return text;
}

SmfResult DumpSong(SmfSong& song, std::ostream& out)
{
    out << FormatSongInfo(GetSongInfo(song)) << '\n';
    RewindSong(song);
    SmfEvent event;
    SmfResult result;
    while ((result = ReadEvent(song, 0xFFFFFFFF, event)) == SMF_SUCCESS)
        out << FormatEvent(song.m_dwCurrentTick, event) << '\n';
    return result;
}

SmfResult DumpStream(SmfSong& song, DWORD bufferBytes, std::ostream& out)
{
    std::vector<BYTE> data(bufferBytes);
    MIDIHDR header{};
    header.lpData = reinterpret_cast<decltype(header.lpData)>(data.data());
    header.dwBufferLength = bufferBytes;
    RewindSong(song);
    SmfResult result = SMF_SUCCESS;
    for (DWORD index = 0; result == SMF_SUCCESS; ++index) {
        result = FillBuffer(song, header, song.m_dwLengthTicks + 1);
        out << "buffer " << index << " bytes " << header.dwBytesRecorded << " result " << SmfResultName(result)
            << '\n'
            << FormatStreamEvents(data.data(), header.dwBytesRecorded);
    }
    return result;
}
