// The application object: decides the start mode from the command line and
// creates the saver window or shows the configuration sheet.
#pragma once

#include "app/ParadeSettings.h"
#include "platform/Platform.h"

#include <memory>
#include <string>
#include <vector>

class FrameworkWindow;

class ParadeApp {
public:
    explicit ParadeApp(Platform& platform);
    ~ParadeApp();

    // `arguments` holds the program name first. Nonzero: run the message loop.
    int Initialize(const std::vector<std::string>& arguments);
    // The saver with its music inside a window of a screen-saver daemon,
    // which owns the input; nonzero: run the message loop.
    int InitializeHosted(HWND host);
    static int MatchesSwitch(const std::string& word, const std::string& switchLetter);
    void ShowConfigSheet(HWND owner);
    // Readies the settings (Initialize does it first); for a platform that
    // shows the sheet on its own.
    void StartUp();

    ParadeSettings& Settings() { return *m_pSettings; }

private:
    bool StartPreview(const std::vector<std::string>& arguments);
    bool StartFullScreen();

    Platform& m_platform;
    std::unique_ptr<ParadeSettings> m_pSettings;
};

// The preview handle word read as a signed decimal number: leading white
// space, an optional sign, digits up to the first non-digit; 0 without digits.
HWND ParseWindowHandle(const std::string& word);
