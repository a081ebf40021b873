// For tests of the device list: outputs that answer with their names and
// refuse every stream call.
#pragma once

#include "platform/MidiOut.h"

#include <set>
#include <string>
#include <vector>

// Output devices by product name; the ids in m_failing answer no query.
class NamedMidiDevices : public MidiOut {
public:
    UINT GetNumDevs() override { return static_cast<UINT>(m_names.size()); }
    MMRESULT GetDevName(UINT id, std::string& name) override
    {
        if (id >= m_names.size() || m_failing.count(id))
            return MMSYSERR_BADDEVICEID;
        name = m_names[id];
        return MMSYSERR_NOERROR;
    }
    MMRESULT StreamOpen(HMIDISTRM*, UINT, MidiStreamCallback, DWORD_PTR) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamProperty(HMIDISTRM, BYTE*, DWORD) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT PrepareHeader(HMIDISTRM, MIDIHDR*, UINT) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT UnprepareHeader(HMIDISTRM, MIDIHDR*, UINT) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamOut(HMIDISTRM, MIDIHDR*, UINT) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT ShortMsg(HMIDISTRM, DWORD) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamRestart(HMIDISTRM) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamPause(HMIDISTRM) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamStop(HMIDISTRM) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT Reset(HMIDISTRM) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamClose(HMIDISTRM) override { return MMSYSERR_NOTSUPPORTED; }

    std::vector<std::string> m_names{"Software Synthesizer", "Midi Through Port-0"};
    std::set<UINT> m_failing;
};
