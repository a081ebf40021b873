#include "platform/stream/MidiStreamService.h"

MidiStreamService::MidiStreamService(MidiStreamClock& clock, MidiStreamOutput& output,
                                     const MidiStreamClient& client)
    : m_clock(clock), m_output(output), m_client(client)
{
    m_clock.Watch(m_mutex, m_wake);
    try {
        m_thread = std::thread(&MidiStreamService::Run, this);
    } catch (...) {
        m_clock.Unwatch(m_wake);
        throw;
    }
}

MidiStreamService::~MidiStreamService()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_bClosed) {
            // The client may be gone: its buffers are dropped untouched.
            m_core = MidiStreamCore();
            m_bClosed = true;
            ++m_stopsAsked;
        }
        m_wake.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
    m_clock.Unwatch(m_wake);
}

MMRESULT MidiStreamService::Property(BYTE* data, DWORD property)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!Accept())
        return MMSYSERR_INVALHANDLE;
    return m_core.Property(data, property);
}

MMRESULT MidiStreamService::Prepare(MIDIHDR* header)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    header->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStreamService::Unprepare(MIDIHDR* header)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return MidiStreamCore::Unprepare(header);
}

MMRESULT MidiStreamService::Queue(MIDIHDR* header)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!Accept())
        return MMSYSERR_INVALHANDLE;
    return m_core.Queue(header, m_clock.Now());
}

MMRESULT MidiStreamService::SendShort(DWORD message)
{
    if (IsServiceThread()) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bClosed)
                return MMSYSERR_INVALHANDLE;
        }
        m_output.SendShort(message, m_clock.Now());
        return MMSYSERR_NOERROR;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!Accept())
        return MMSYSERR_INVALHANDLE;
    m_shorts.push_back(message);
    const std::uint64_t ticket = ++m_shortsAsked;
    m_settled.wait(lock, [&] { return m_shortsSent >= ticket || m_bFinished.load(); });
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStreamService::Restart()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!Accept())
        return MMSYSERR_INVALHANDLE;
    m_core.Restart(m_clock.Now());
    return MMSYSERR_NOERROR;
}

void MidiStreamService::ContinueFrom(MidiStreamClock::Microseconds end)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_core.ContinueFrom(end);
}

std::optional<MidiStreamClock::Microseconds> MidiStreamService::EndOfRun()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_endOfRun;
}

MMRESULT MidiStreamService::Pause()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!Accept())
        return MMSYSERR_INVALHANDLE;
    m_core.Pause(m_clock.Now());
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStreamService::Stop()
{
    if (IsServiceThread()) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bClosed)
                return MMSYSERR_INVALHANDLE;
        }
        StopHere();
        return MMSYSERR_NOERROR;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!Accept())
        return MMSYSERR_INVALHANDLE;
    const std::uint64_t ticket = ++m_stopsAsked;
    m_settled.wait(lock, [&] { return m_stopsDone >= ticket || m_bFinished.load(); });
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStreamService::Close()
{
    if (IsServiceThread()) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bClosed)
                return MMSYSERR_INVALHANDLE;
        }
        StopHere();
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_bClosed = true;
            m_bFinalStopDone = true;
            m_wake.notify_all();
        }
        m_client.Notify(MOM_CLOSE, 0);
        return MMSYSERR_NOERROR;
    }
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!Accept())
            return MMSYSERR_INVALHANDLE;
        m_bClosed = true;
        ++m_stopsAsked;
    }
    m_thread.join();
    m_client.Notify(MOM_CLOSE, 0);
    return MMSYSERR_NOERROR;
}

void MidiStreamService::WaitUntilIdle()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_settled.wait(lock, [&] {
        return m_bFinished.load() || (m_bSleeping && m_commandsSeen == m_commands && m_stopsDone == m_stopsAsked &&
                                      m_sleptAt >= m_clock.Now());
    });
}

bool MidiStreamService::Accept()
{
    if (m_bClosed)
        return false;
    ++m_commands;
    m_wake.notify_all();
    return true;
}

void MidiStreamService::StopHere()
{
    MidiStreamClock::Microseconds now;
    bool ranDry;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        ranDry = m_core.HasRunDry();
        m_endOfRun = ranDry ? std::optional(m_core.LastDue()) : std::nullopt;
        now = ranDry ? m_core.LastDue() : m_clock.Now();
        m_core.Stop();
    }
    if (ranDry)
        ReleaseNotes(m_output, now);
    else
        m_output.Silence(now);
    for (;;) {
        MIDIHDR* header;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            header = m_core.TakeReturned();
        }
        if (!header)
            break;
        m_client.Notify(MOM_DONE, reinterpret_cast<DWORD_PTR>(header));
    }
}

void MidiStreamService::SendAskedShorts(std::unique_lock<std::mutex>& lock)
{
    std::vector<DWORD> shorts;
    shorts.swap(m_shorts);
    const std::uint64_t asked = m_shortsAsked;
    const MidiStreamClock::Microseconds now = m_clock.Now();
    lock.unlock();
    for (const DWORD message : shorts)
        m_output.SendShort(message, now);
    lock.lock();
    m_shortsSent = asked;
    m_settled.notify_all();
}

void MidiStreamService::Run()
{
    m_serviceThread.store(std::this_thread::get_id());
    m_clock.PrepareThread();
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        if (m_stopsDone != m_stopsAsked) {
            const std::uint64_t asked = m_stopsAsked;
            if (!m_bFinalStopDone) {
                m_bFinalStopDone = m_bClosed;
                lock.unlock();
                StopHere();
                lock.lock();
            }
            m_stopsDone = asked;
            m_settled.notify_all();
            continue;
        }
        if (m_bClosed)
            break;
        if (m_shortsSent != m_shortsAsked) {
            SendAskedShorts(lock);
            continue;
        }

        const MidiStreamClock::Microseconds now = m_clock.Now();
        m_commandsSeen = m_commands;
        const MidiStreamNotices notices = m_core.RunUntil(now, m_batch);
        if (m_batch.IsEmpty() && notices.count == 0) {
            m_bSleeping = true;
            m_sleptAt = now;
            m_settled.notify_all();
            m_clock.WaitUntil(lock, m_wake, m_core.NextDue());
            m_bSleeping = false;
            continue;
        }
        lock.unlock();
        m_batch.SendTo(m_output);
        for (int i = 0; i < notices.count; ++i) {
            lock.lock();
            // A callback that closed the stream was the last one.
            const bool closedHere = m_bFinalStopDone;
            lock.unlock();
            if (closedHere)
                break;
            m_client.Notify(notices.items[i].message, reinterpret_cast<DWORD_PTR>(notices.items[i].header));
        }
        lock.lock();
    }
    m_bFinished.store(true);
    m_settled.notify_all();
}
