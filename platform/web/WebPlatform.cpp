#include "platform/web/WebPlatform.h"

#include "platform/web/WebBridge.h"
#include "platform/web/WebWindow.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// The module's path: its name gives the settings their key.
constexpr const char* MODULE_PATH = "/Dovezi";
constexpr const char* SETTINGS_FOLDER = "/settings";
constexpr const char* TEMP_FOLDER = "/tmp/";
// A screen shows no more frames than its refresh.
constexpr MessageLoop::Microseconds PAINT_INTERVAL = 1000000 / 60;
// How long one pump may deliver before it gives the page its turn.
constexpr MessageLoop::Microseconds PUMP_BUDGET = 8000;
// Below the handles of the page's own windows.
constexpr std::uintptr_t PREVIEW_HOST = 0x100;

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

bool WebPlatform::IsWindow(HWND window) const
{
    RECT client;
    return m_loop->IsRegistered(window) || GetClientRect(window, client);
}

bool WebPlatform::GetClientRect(HWND window, RECT& client) const
{
    if (window != PreviewHost() || m_hostClient.cx <= 0 || m_hostClient.cy <= 0)
        return false;
    client = RECT{0, 0, m_hostClient.cx, m_hostClient.cy};
    return true;
}

HWND WebPlatform::PreviewHost() { return reinterpret_cast<HWND>(PREVIEW_HOST); }

void WebPlatform::BeginRun(SIZE size, const RgbPicture& picture, SIZE hostClient)
{
    m_size = size;
    m_hostClient = hostClient;
    m_screen.Reset(size, picture);
    m_loop.emplace();
    m_loop->SetPaintInterval(PAINT_INTERVAL);
    m_loop->SetWakeUp([] { web_schedule_pump(0); });
}

void WebPlatform::DestroyHost()
{
    m_hostClient = SIZE{0, 0};
    // A window may delete itself, and leave the set, while it is destroyed.
    const std::vector<WebWindow*> windows(m_windows.begin(), m_windows.end());
    for (WebWindow* window : windows)
        if (m_windows.count(window) != 0)
            window->Destroy();
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

// The browser's console shows the page's standard error.
void WebPlatform::ReportProblem(const std::string& text) { std::fprintf(stderr, "Dovezi: %s\n", text.c_str()); }
