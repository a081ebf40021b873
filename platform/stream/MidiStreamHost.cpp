#include "platform/stream/MidiStreamHost.h"

#include <exception>
#include <limits>

MidiStreamHost::MidiStreamHost(MidiStreamClock& clock, MidiStreamDevices& devices)
    : m_clock(clock), m_devices(devices)
{
}

MidiStreamHost::~MidiStreamHost()
{
    std::vector<std::shared_ptr<MidiStreamService>> ending;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (auto& [handle, open] : m_streams)
            ending.push_back(std::move(open.service));
        m_streams.clear();
        for (auto& service : m_closing)
            ending.push_back(std::move(service));
        m_closing.clear();
    }
    ending.clear();
    const std::lock_guard<std::mutex> lock(m_mutex);
    SilenceRingingBut(std::numeric_limits<UINT>::max());
}

UINT MidiStreamHost::GetNumDevs()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_devices.Count();
}

MMRESULT MidiStreamHost::GetDevName(UINT deviceId, std::string& productName)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (deviceId >= m_devices.Count())
        return MMSYSERR_BADDEVICEID;
    productName = m_devices.Name(deviceId);
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStreamHost::StreamOpen(HMIDISTRM* stream, UINT deviceId, MidiStreamCallback callback,
                                    DWORD_PTR instance)
{
    if (!stream)
        return MMSYSERR_INVALPARAM;
    MidiStreamClient client{callback, instance, nullptr};
    HMIDISTRM handle;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        ReleaseFinished();
        if (deviceId >= m_devices.Count())
            return MMSYSERR_BADDEVICEID;
        for (const auto& [other, open] : m_streams)
            if (open.deviceId == deviceId)
                return MMSYSERR_ALLOCATED;
        MidiStreamOutput* output = m_devices.Open(deviceId);
        if (!output)
            return MMSYSERR_NODRIVER;
        handle = reinterpret_cast<HMIDISTRM>(++m_lastHandle);
        client.handle = reinterpret_cast<HMIDIOUT>(handle);
        std::shared_ptr<MidiStreamService> service;
        try {
            service = std::make_shared<MidiStreamService>(m_clock, *output, client);
            m_streams.emplace(handle, OpenStream{service, deviceId});
        } catch (const std::exception&) {
            return MMSYSERR_NOMEM;
        }
        SilenceRingingBut(deviceId);
        const auto ringing = m_ringing.find(deviceId);
        if (ringing != m_ringing.end()) {
            service->ContinueFrom(ringing->second);
            m_ringing.erase(ringing);
        }
    }
    *stream = handle;
    client.Notify(MOM_OPEN, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStreamHost::StreamProperty(HMIDISTRM stream, BYTE* data, DWORD property)
{
    const auto service = Find(stream);
    return service ? service->Property(data, property) : MMSYSERR_INVALHANDLE;
}

MMRESULT MidiStreamHost::PrepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize)
{
    const auto service = Find(stream);
    if (!service)
        return MMSYSERR_INVALHANDLE;
    return MidiStreamCore::IsUsableHeader(header, headerSize) ? service->Prepare(header) : MMSYSERR_INVALPARAM;
}

MMRESULT MidiStreamHost::UnprepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize)
{
    const auto service = Find(stream);
    if (!service)
        return MMSYSERR_INVALHANDLE;
    return MidiStreamCore::IsUsableHeader(header, headerSize) ? service->Unprepare(header) : MMSYSERR_INVALPARAM;
}

MMRESULT MidiStreamHost::StreamOut(HMIDISTRM stream, MIDIHDR* header, UINT headerSize)
{
    const auto service = Find(stream);
    if (!service)
        return MMSYSERR_INVALHANDLE;
    return MidiStreamCore::IsUsableHeader(header, headerSize) ? service->Queue(header) : MMSYSERR_INVALPARAM;
}

MMRESULT MidiStreamHost::ShortMsg(HMIDISTRM stream, DWORD message)
{
    const auto service = Find(stream);
    return service ? service->SendShort(message) : MMSYSERR_INVALHANDLE;
}

MMRESULT MidiStreamHost::StreamRestart(HMIDISTRM stream)
{
    const auto service = Find(stream);
    return service ? service->Restart() : MMSYSERR_INVALHANDLE;
}

MMRESULT MidiStreamHost::StreamPause(HMIDISTRM stream)
{
    const auto service = Find(stream);
    return service ? service->Pause() : MMSYSERR_INVALHANDLE;
}

MMRESULT MidiStreamHost::StreamStop(HMIDISTRM stream)
{
    const auto service = Find(stream);
    return service ? service->Stop() : MMSYSERR_INVALHANDLE;
}

MMRESULT MidiStreamHost::Reset(HMIDISTRM stream)
{
    return StreamStop(stream);
}

MMRESULT MidiStreamHost::StreamClose(HMIDISTRM stream)
{
    const auto service = Find(stream);
    if (!service)
        return MMSYSERR_INVALHANDLE;
    const MMRESULT result = service->Close();
    if (result != MMSYSERR_NOERROR)
        return result;
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto open = m_streams.find(stream);
    if (open != m_streams.end()) {
        if (const auto end = service->EndOfRun())
            m_ringing[open->second.deviceId] = *end;
        m_streams.erase(open);
    }
    if (!service->HasFinished())
        m_closing.push_back(service);
    return MMSYSERR_NOERROR;
}

void MidiStreamHost::WaitUntilIdle()
{
    std::vector<std::shared_ptr<MidiStreamService>> services;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& [handle, open] : m_streams)
            services.push_back(open.service);
        services.insert(services.end(), m_closing.begin(), m_closing.end());
    }
    for (const auto& service : services)
        service->WaitUntilIdle();
}

std::shared_ptr<MidiStreamService> MidiStreamHost::Find(HMIDISTRM stream)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto open = m_streams.find(stream);
    return open == m_streams.end() ? nullptr : open->second.service;
}

void MidiStreamHost::SilenceRingingBut(UINT deviceId)
{
    for (auto ringing = m_ringing.begin(); ringing != m_ringing.end();) {
        if (ringing->first == deviceId) {
            ++ringing;
            continue;
        }
        if (MidiStreamOutput* output = m_devices.Open(ringing->first))
            output->Silence(m_clock.Now());
        ringing = m_ringing.erase(ringing);
    }
}

void MidiStreamHost::ReleaseFinished()
{
    std::erase_if(m_closing, [](const auto& service) { return service->HasFinished(); });
}
