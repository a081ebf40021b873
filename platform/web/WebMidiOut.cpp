#include "platform/web/WebMidiOut.h"

#include <algorithm>

WebMidiOut::WebMidiOut(MidiStreamDevices& devices, std::function<Microseconds()> now)
    : m_devices(devices), m_now(std::move(now))
{
}

WebMidiOut::~WebMidiOut()
{
    for (auto& [handle, stream] : m_streams)
        stream->output->Silence(m_now());
}

MMRESULT WebMidiOut::GetDevName(UINT deviceId, std::string& productName)
{
    if (deviceId >= m_devices.Count())
        return MMSYSERR_BADDEVICEID;
    productName = m_devices.Name(deviceId);
    return MMSYSERR_NOERROR;
}

template <typename Work>
MMRESULT WebMidiOut::WithHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize, Work work)
{
    Stream* open = Find(stream);
    if (open == nullptr)
        return MMSYSERR_INVALHANDLE;
    return MidiStreamCore::IsUsableHeader(header, headerSize) ? work(*open) : MMSYSERR_INVALPARAM;
}

WebMidiOut::Stream* WebMidiOut::Find(HMIDISTRM stream)
{
    const auto found = m_streams.find(stream);
    return found == m_streams.end() ? nullptr : found->second.get();
}

MMRESULT WebMidiOut::StreamOpen(HMIDISTRM* stream, UINT deviceId, MidiStreamCallback callback, DWORD_PTR instance)
{
    if (stream == nullptr)
        return MMSYSERR_INVALPARAM;
    if (deviceId >= m_devices.Count())
        return MMSYSERR_BADDEVICEID;
    for (const auto& [handle, open] : m_streams)
        if (open->deviceId == deviceId)
            return MMSYSERR_ALLOCATED;
    MidiStreamOutput* output = m_devices.Open(deviceId);
    if (output == nullptr)
        return MMSYSERR_ERROR;
    const auto handle = reinterpret_cast<HMIDISTRM>(++m_lastHandle);
    const MidiStreamClient client{callback, instance, reinterpret_cast<HMIDIOUT>(handle)};
    m_streams[handle] = std::make_unique<Stream>(Stream{MidiStreamCore(), output, client, deviceId});
    *stream = handle;
    client.Notify(MOM_OPEN, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT WebMidiOut::StreamProperty(HMIDISTRM stream, BYTE* data, DWORD property)
{
    Stream* open = Find(stream);
    return open != nullptr ? open->core.Property(data, property) : MMSYSERR_INVALHANDLE;
}

MMRESULT WebMidiOut::PrepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize)
{
    return WithHeader(stream, header, headerSize, [header](Stream&) {
        header->dwFlags |= MHDR_PREPARED;
        return static_cast<MMRESULT>(MMSYSERR_NOERROR);
    });
}

MMRESULT WebMidiOut::UnprepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize)
{
    return WithHeader(stream, header, headerSize, [header](Stream&) { return MidiStreamCore::Unprepare(header); });
}

MMRESULT WebMidiOut::StreamOut(HMIDISTRM stream, MIDIHDR* header, UINT headerSize)
{
    return WithHeader(stream, header, headerSize,
                      [this, header](Stream& open) { return open.core.Queue(header, m_now()); });
}

MMRESULT WebMidiOut::ShortMsg(HMIDISTRM stream, DWORD message)
{
    Stream* open = Find(stream);
    if (open == nullptr)
        return MMSYSERR_INVALHANDLE;
    open->output->SendShort(message, m_now());
    return MMSYSERR_NOERROR;
}

MMRESULT WebMidiOut::StreamRestart(HMIDISTRM stream)
{
    Stream* open = Find(stream);
    if (open == nullptr)
        return MMSYSERR_INVALHANDLE;
    open->core.Restart(m_now());
    return MMSYSERR_NOERROR;
}

MMRESULT WebMidiOut::StreamPause(HMIDISTRM stream)
{
    Stream* open = Find(stream);
    if (open == nullptr)
        return MMSYSERR_INVALHANDLE;
    open->core.Pause(m_now());
    return MMSYSERR_NOERROR;
}

void WebMidiOut::StopHere(HMIDISTRM handle)
{
    Stream* open = Find(handle);
    open->core.Stop();
    open->output->Silence(m_now());
    // A callback may close the stream: it is looked up again each time.
    while ((open = Find(handle)) != nullptr) {
        MIDIHDR* header = open->core.TakeReturned();
        if (header == nullptr)
            break;
        const MidiStreamClient client = open->client;
        client.Notify(MOM_DONE, reinterpret_cast<DWORD_PTR>(header));
    }
}

MMRESULT WebMidiOut::StreamStop(HMIDISTRM stream)
{
    if (Find(stream) == nullptr)
        return MMSYSERR_INVALHANDLE;
    StopHere(stream);
    return MMSYSERR_NOERROR;
}

MMRESULT WebMidiOut::StreamClose(HMIDISTRM stream)
{
    if (Find(stream) == nullptr)
        return MMSYSERR_INVALHANDLE;
    StopHere(stream);
    const auto found = m_streams.find(stream);
    if (found == m_streams.end())
        return MMSYSERR_NOERROR;
    const MidiStreamClient client = found->second->client;
    m_streams.erase(found);
    client.Notify(MOM_CLOSE, 0);
    return MMSYSERR_NOERROR;
}

void WebMidiOut::PumpStream(HMIDISTRM handle)
{
    for (Stream* open = Find(handle); open != nullptr; open = Find(handle)) {
        const MidiStreamNotices notices = open->core.RunUntil(m_now(), *open->output);
        if (notices.count == 0)
            return;
        const MidiStreamClient client = open->client;
        for (int i = 0; i < notices.count && Find(handle) != nullptr; ++i)
            client.Notify(notices.items[i].message, reinterpret_cast<DWORD_PTR>(notices.items[i].header));
    }
}

void WebMidiOut::Pump()
{
    m_pumped.clear();
    for (const auto& [handle, stream] : m_streams)
        m_pumped.push_back(handle);
    for (const HMIDISTRM handle : m_pumped)
        PumpStream(handle);
}

WebMidiOut::Microseconds WebMidiOut::NextDue() const
{
    Microseconds due = MidiStreamCore::NEVER;
    for (const auto& [handle, stream] : m_streams)
        due = std::min(due, stream->core.NextDue());
    return due;
}
