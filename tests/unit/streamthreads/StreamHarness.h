// A stream host on a virtual clock with recording devices, a client that
// takes down its callbacks, and a watchdog that turns a hang into a failure.
#pragma once

#include "platform/stream/MidiStreamClock.h"
#include "platform/stream/MidiStreamDevices.h"
#include "platform/stream/MidiStreamHost.h"
#include "tests/unit/stream/StreamTestKit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class RecordingDevices : public MidiStreamDevices {
public:
    explicit RecordingDevices(UINT count) : m_outputs(count) {}

    UINT Count() override { return static_cast<UINT>(m_outputs.size()); }
    std::string Name(UINT id) override { return "Recorder " + std::to_string(id); }
    MidiStreamOutput* Open(UINT id) override { return &m_outputs[id]; }
    RecordingOutput& Output(UINT id) { return m_outputs[id]; }

private:
    std::vector<RecordingOutput> m_outputs;
};

struct Callback {
    UINT message;
    MIDIHDR* header;
    std::thread::id thread;
    // Events the device had received when the callback came.
    std::size_t eventsBefore;
};

// Receives a stream's callbacks; `onCallback` runs inside each one.
class StreamClient {
public:
    explicit StreamClient(RecordingOutput& output) : m_output(output) {}

    static void CALLBACK Receive(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR)
    {
        auto* client = reinterpret_cast<StreamClient*>(instance);
        {
            const std::lock_guard<std::mutex> lock(client->m_mutex);
            client->m_callbacks.push_back(Callback{message, reinterpret_cast<MIDIHDR*>(param1),
                                                   std::this_thread::get_id(), client->m_output.Events().size()});
        }
        client->m_changed.notify_all();
        if (client->onCallback)
            client->onCallback(message, reinterpret_cast<MIDIHDR*>(param1));
    }

    std::vector<Callback> Callbacks() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_callbacks;
    }
    std::vector<MIDIHDR*> Done() const
    {
        std::vector<MIDIHDR*> done;
        for (const Callback& callback : Callbacks())
            if (callback.message == MOM_DONE)
                done.push_back(callback.header);
        return done;
    }
    // Waits (at most 10 s) until `count` buffers have come back.
    bool WaitForDone(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] {
            std::size_t done = 0;
            for (const Callback& callback : m_callbacks)
                done += callback.message == MOM_DONE;
            return done >= count;
        });
    }

    std::function<void(UINT, MIDIHDR*)> onCallback;

private:
    RecordingOutput& m_output;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Callback> m_callbacks;
};

// Aborts the test program when it is still alive after `seconds`.
class Watchdog {
public:
    explicit Watchdog(int seconds = 20)
        : m_thread([this, seconds] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (!m_done.wait_for(lock, std::chrono::seconds(seconds), [&] { return m_bDismissed; })) {
                  std::fprintf(stderr, "watchdog: the test hangs\n");
                  std::abort();
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_bDismissed = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_bDismissed = false;
    std::thread m_thread;
};

class StreamHarness : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_host.StreamOpen(&m_stream, 0, &StreamClient::Receive, reinterpret_cast<DWORD_PTR>(&m_client)),
                  0u);
        MIDIPROPTIMEDIV division{sizeof(division), 1000}; // 500 us per tick
        ASSERT_EQ(m_host.StreamProperty(m_stream, reinterpret_cast<BYTE*>(&division),
                                        MIDIPROP_SET | MIDIPROP_TIMEDIV),
                  0u);
    }
    void AdvanceTo(std::int64_t microseconds)
    {
        m_clock.AdvanceTo(microseconds);
        m_host.WaitUntilIdle();
    }
    // Prepares and queues the buffer; its header.
    MIDIHDR* Queue(EventBuffer& buffer)
    {
        MIDIHDR* header = buffer.Header();
        header->dwFlags = 0;
        EXPECT_EQ(m_host.PrepareHeader(m_stream, header, sizeof(MIDIHDR)), 0u);
        EXPECT_EQ(m_host.StreamOut(m_stream, header, sizeof(MIDIHDR)), 0u);
        return header;
    }
    RecordingOutput& Output() { return m_devices.Output(0); }

    Watchdog m_watchdog;
    VirtualMidiStreamClock m_clock;
    RecordingDevices m_devices{2};
    StreamClient m_client{m_devices.Output(0)};
    MidiStreamHost m_host{m_clock, m_devices};
    HMIDISTRM m_stream = nullptr;
};
