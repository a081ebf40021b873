#include "platform/win32/Win32MidiOut.h"

#include <cstring>

UINT Win32MidiOut::GetNumDevs()
{
    return ::midiOutGetNumDevs();
}

MMRESULT Win32MidiOut::GetDevName(UINT deviceId, std::string& productName)
{
    MIDIOUTCAPSA caps{};
    const MMRESULT result = ::midiOutGetDevCapsA(deviceId, &caps, sizeof(caps));
    if (result == MMSYSERR_NOERROR)
        productName.assign(caps.szPname, ::strnlen(caps.szPname, MAXPNAMELEN));
    return result;
}

MMRESULT Win32MidiOut::StreamOpen(HMIDISTRM* stream, UINT deviceId, MidiStreamCallback callback, DWORD_PTR instance)
{
    return ::midiStreamOpen(stream, &deviceId, 1, reinterpret_cast<DWORD_PTR>(callback), instance,
                            CALLBACK_FUNCTION);
}

MMRESULT Win32MidiOut::StreamProperty(HMIDISTRM stream, BYTE* data, DWORD property)
{
    return ::midiStreamProperty(stream, data, property);
}

MMRESULT Win32MidiOut::PrepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize)
{
    return ::midiOutPrepareHeader(reinterpret_cast<HMIDIOUT>(stream), header, headerSize);
}

MMRESULT Win32MidiOut::UnprepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize)
{
    return ::midiOutUnprepareHeader(reinterpret_cast<HMIDIOUT>(stream), header, headerSize);
}

MMRESULT Win32MidiOut::StreamOut(HMIDISTRM stream, MIDIHDR* header, UINT headerSize)
{
    return ::midiStreamOut(stream, header, headerSize);
}

MMRESULT Win32MidiOut::ShortMsg(HMIDISTRM stream, DWORD message)
{
    return ::midiOutShortMsg(reinterpret_cast<HMIDIOUT>(stream), message);
}

MMRESULT Win32MidiOut::StreamRestart(HMIDISTRM stream)
{
    return ::midiStreamRestart(stream);
}

MMRESULT Win32MidiOut::StreamPause(HMIDISTRM stream)
{
    return ::midiStreamPause(stream);
}

MMRESULT Win32MidiOut::StreamStop(HMIDISTRM stream)
{
    return ::midiStreamStop(stream);
}

MMRESULT Win32MidiOut::Reset(HMIDISTRM stream)
{
    return ::midiOutReset(reinterpret_cast<HMIDIOUT>(stream));
}

MMRESULT Win32MidiOut::StreamClose(HMIDISTRM stream)
{
    return ::midiStreamClose(stream);
}
