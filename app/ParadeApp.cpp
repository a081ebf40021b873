#include "app/ParadeApp.h"

#include "app/SettingsKeys.h"
#include "config/SheetVelmar.h"
#include "parade/FullScreenSaverWnd.h"
#include "parade/HostedSaverWnd.h"
#include "parade/SaverWnd.h"
#include "res/resource.h"

#include <cctype>
#include <cstdint>
#include <limits>

namespace {
const std::string SWITCH_SAVE = "s";
const std::string SWITCH_PREVIEW = "p";
const std::string SWITCH_CONFIGURE = "c";
}

ParadeApp::ParadeApp(Platform& platform) : m_platform(platform) {}

ParadeApp::~ParadeApp() = default;

void ParadeApp::StartUp()
{
    m_platform.EnableDialogControls3d();
    m_pSettings = std::make_unique<ParadeSettings>(m_platform.GetRegistry(), REGISTRY_KEY_NAME,
                                                   ApplicationNameFromPath(m_platform.GetSystem().ModulePath()));
}

int ParadeApp::Initialize(const std::vector<std::string>& arguments)
{
    StartUp();
    if (arguments.size() <= 1) {
        ShowConfigSheet(nullptr);
        return 0;
    }
    const std::string& word = arguments[1];
    if (MatchesSwitch(word, SWITCH_CONFIGURE)) {
        ShowConfigSheet(m_platform.GetSystem().ForegroundWindow());
        return 0;
    }
    if (MatchesSwitch(word, SWITCH_PREVIEW))
        return StartPreview(arguments) ? 1 : 0;
    if (MatchesSwitch(word, SWITCH_SAVE))
        return StartFullScreen() ? 1 : 0;
    return 0;
}

int ParadeApp::InitializeHosted(HWND host)
{
    StartUp();
    RECT client{0, 0, 0, 0};
    if (!m_platform.GetSystem().GetClientRect(host, client))
        return 0;
    auto* window = new HostedSaverWnd(m_platform, *m_pSettings);
    if (!window->CreateHosted(host, client)) {
        delete window;
        return 0;
    }
    window->SetMainWindow(true);
    return 1;
}

int ParadeApp::MatchesSwitch(const std::string& word, const std::string& switchLetter)
{
    std::string upper = switchLetter;
    for (char& letter : upper)
        letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));

    std::size_t cursor = 0;
    if (!word.empty() && (word[0] == '-' || word[0] == '/'))
        cursor = 1;
    const char current = cursor < word.size() ? word[cursor] : '\0';
    return (current == switchLetter[0] || current == upper[0]) ? 1 : 0;
}

bool ParadeApp::StartPreview(const std::vector<std::string>& arguments)
{
    const HWND host = ParseWindowHandle(arguments.size() > 2 ? arguments[2] : std::string());
    RECT client{0, 0, 0, 0};
    if (!m_platform.GetSystem().GetClientRect(host, client))
        return false;

    auto* window = new SaverWnd(m_platform, *m_pSettings, true);
    if (!window->CreateSaver(0, WS_CHILD | WS_VISIBLE, client, host, 0, nullptr)) {
        delete window;
        return false;
    }
    window->SetMainWindow(true);
    return true;
}

bool ParadeApp::StartFullScreen()
{
    auto* window = new FullScreenSaverWnd(m_platform, *m_pSettings);
    window->CreateFullScreen();
    if (window->Native() == nullptr) {
        delete window;
        return false;
    }
    window->SetMainWindow(true);
    return true;
}

void ParadeApp::ShowConfigSheet(HWND owner)
{
    CSheetVelmar sheet(m_platform, *m_pSettings, m_platform.GetMidiOut(), IDS_SHEET_CAPTION, owner, 0);
    sheet.DoModal();
}

HWND ParseWindowHandle(const std::string& word)
{
    std::size_t cursor = 0;
    while (cursor < word.size() && std::isspace(static_cast<unsigned char>(word[cursor])))
        ++cursor;
    bool negative = false;
    if (cursor < word.size() && (word[cursor] == '+' || word[cursor] == '-')) {
        negative = word[cursor] == '-';
        ++cursor;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
    while (cursor < word.size() && std::isdigit(static_cast<unsigned char>(word[cursor]))) {
        if (value < limit)
            value = value * 10 + (word[cursor] - '0');
        ++cursor;
    }
    if (negative)
        value = -value;
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(value));
}
