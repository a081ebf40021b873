// The MIDI output seam on Windows: each call is the multimedia system's own.
#pragma once

#include "platform/MidiOut.h"

class Win32MidiOut : public MidiOut {
public:
    UINT GetNumDevs() override;
    MMRESULT GetDevName(UINT deviceId, std::string& productName) override;

    MMRESULT StreamOpen(HMIDISTRM* stream, UINT deviceId, MidiStreamCallback callback, DWORD_PTR instance) override;
    MMRESULT StreamProperty(HMIDISTRM stream, BYTE* data, DWORD property) override;
    MMRESULT PrepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize) override;
    MMRESULT UnprepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize) override;
    MMRESULT StreamOut(HMIDISTRM stream, MIDIHDR* header, UINT headerSize) override;
    MMRESULT ShortMsg(HMIDISTRM stream, DWORD message) override;
    MMRESULT StreamRestart(HMIDISTRM stream) override;
    MMRESULT StreamPause(HMIDISTRM stream) override;
    MMRESULT StreamStop(HMIDISTRM stream) override;
    MMRESULT Reset(HMIDISTRM stream) override;
    MMRESULT StreamClose(HMIDISTRM stream) override;
};
