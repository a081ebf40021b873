#include "platform/web/WebPlatform.h"

#include "platform/web/WebBridge.h"
#include "platform/web/WebWindow.h"

#include <algorithm>

namespace {

// The module's path: its name gives the settings their key.
constexpr const char* MODULE_PATH = "/Dovezi";
constexpr const char* SETTINGS_FOLDER = "/settings";
constexpr const char* TEMP_FOLDER = "/tmp/";
// A screen shows no more frames than its refresh.
constexpr MessageLoop::Microseconds PAINT_INTERVAL = 1000000 / 60;
// How long one pump may deliver before it gives the page its turn.
constexpr MessageLoop::Microseconds PUMP_BUDGET = 8000;

}

WebPlatform::WebPlatform()
    : m_registry(SETTINGS_FOLDER), m_files(TEMP_FOLDER), m_midiOut(m_midiDevices, WebNow)
{
    m_loop.emplace();
}

std::unique_ptr<NativeWindow> WebPlatform::NewWindow(WindowProcedure& procedure)
{
    return std::make_unique<WebWindow>(*m_loop, procedure, m_screen, m_windows);
}

std::string WebPlatform::ModulePath() const { return MODULE_PATH; }

RECT WebPlatform::VirtualScreen() const
{
    return RECT{0, 0, m_size.cx, m_size.cy};
}

void WebPlatform::BeginRun(SIZE size, const RgbPicture& picture)
{
    m_size = size;
    m_screen.Reset(size, picture);
    m_loop.emplace();
    m_loop->SetPaintInterval(PAINT_INTERVAL);
    m_loop->SetWakeUp([] { web_schedule_pump(0); });
}

void WebPlatform::PostInput(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (WebWindow* window : m_windows)
        window->Post(message, wParam, lParam);
}

bool WebPlatform::Pump()
{
    MessageLoop::Microseconds now = WebNow();
    const MessageLoop::Microseconds end = now + PUMP_BUDGET;
    m_midiOut.Pump();
    while (!m_loop->QuitCode() && now < end) {
        const auto message = m_loop->Take(now);
        if (!message)
            break;
        m_loop->Dispatch(*message);
        const MessageLoop::Microseconds after = WebNow();
        if (message->message == WM_TIMER || message->message == WM_PAINT) {
            m_frameMicroseconds += after - now;
            m_ticks += message->message == WM_TIMER ? 1 : 0;
        }
        now = after;
        m_midiOut.Pump();
    }
    return m_loop->QuitCode().has_value();
}

double WebPlatform::NextDelayMs() const
{
    const MessageLoop::Microseconds now = WebNow();
    if (m_loop->HasWork(now))
        return 0;
    MessageLoop::Microseconds due = m_midiOut.NextDue();
    for (const auto& next : {m_loop->NextTimerDue(), m_loop->NextPaintDue()})
        if (next)
            due = std::min(due, *next);
    if (due == MidiStreamCore::NEVER)
        return -1;
    return static_cast<double>(std::max<MessageLoop::Microseconds>(due - now, 0)) / 1000.0;
}
