// The configuration sheet: the MIDI, Background, Animation and About pages
// in a tabbed sheet, the window icon, and a Preview button that starts the
// full-screen saver as a second process. What goes wrong in storing the
// settings or starting the preview is shown in the sheet.
#pragma once

#include "app/ParadeSettings.h"
#include "config/AboutPage.h"
#include "config/AniPage.h"
#include "config/BGndPage.h"
#include "config/MidiPage.h"
#include "platform/DialogHost.h"
#include "platform/MidiOut.h"
#include "platform/Platform.h"

#include <array>

class CSheetVelmar : public SheetHandler {
public:
    static constexpr int PAGE_COUNT = 4;

    CSheetVelmar(Platform& platform, ParadeSettings& settings, MidiOut& midiOut, UINT captionId, HWND owner,
                 int startPage);

    // Runs the sheet modally; returns when it is closed.
    SheetResult DoModal();
    // What a host that cannot run the sheet modally shows.
    const SheetDefinition& Definition() const { return m_definition; }
    void OnPreview();

    int OnPageInit(int page, PageControls& controls) override;
    void OnSheetInit(SheetFrame& frame) override;
    void OnPageCommand(int page, int controlId, ControlNotice notice) override;
    void OnPageScroll(int page, int controlId) override;
    void OnPageApply(int page) override;
    void OnPageReset(int page) override;
    void OnSheetCommand(int controlId) override;

private:
    // The page of a created page's index, or null.
    ConfigPage* CreatedPage(int page);
    // Shows what the settings store has to tell since the last look.
    void TellStoreNotice();

    Platform& m_platform;
    SheetDefinition m_definition;
    CMidiPage m_midiPage;
    CBGndPage m_bgndPage;
    CAniPage m_aniPage;
    CAboutPage m_aboutPage;
    std::array<ConfigPage*, PAGE_COUNT> m_pages;
    std::array<bool, PAGE_COUNT> m_created{};
};
