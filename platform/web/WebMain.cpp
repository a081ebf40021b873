// The program in a page: the saver on the page's canvas and the settings
// sheet in its document, started and fed by the page's script through the
// functions below.
#include "app/ParadeApp.h"
#include "app/SettingsKeys.h"
#include "config/SheetVelmar.h"
#include "music/SmfSong.h"
#include "platform/web/WebBridge.h"
#include "platform/web/WebPlatform.h"
#include "platform/web/WebSheet.h"
#include "res/resource.h"

#include <emscripten/emscripten.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr const char* PROGRAM_NAME = "/Dovezi";

struct PageState {
    WebPlatform platform;
    // The saver while it runs, full screen or in the preview.
    std::unique_ptr<ParadeApp> saver;
    bool previewing = false;
    // The settings and the sheet while it is open.
    std::unique_ptr<ParadeApp> settings;
    std::unique_ptr<CSheetVelmar> sheetLogic;
    std::unique_ptr<WebSheet> sheet;
    RgbPicture desktop;
};

PageState& Page()
{
    static PageState page;
    return page;
}

void ScheduleNextPump()
{
    const double delay = Page().platform.NextDelayMs();
    if (delay >= 0)
        web_schedule_pump(delay);
}

WebSheet* OpenSheet()
{
    WebSheet* sheet = Page().sheet.get();
    return sheet != nullptr && sheet->IsOpen() ? sheet : nullptr;
}

bool StartRun(SIZE size, const RgbPicture& desktop, SIZE hostClient, const std::vector<std::string>& arguments)
{
    PageState& page = Page();
    page.platform.BeginRun(size, desktop, hostClient);
    page.saver = std::make_unique<ParadeApp>(page.platform);
    if (!page.saver->Initialize(arguments)) {
        page.saver.reset();
        return false;
    }
    ScheduleNextPump();
    return true;
}

void EndPreview()
{
    PageState& page = Page();
    if (!page.previewing)
        return;
    page.platform.DestroyHost();
    page.saver.reset();
    page.previewing = false;
}

}

extern "C" {

// Starts the full-screen saver on a canvas of `width` × `height` pixels,
// in place of the preview; 0 when it runs already or cannot start.
EMSCRIPTEN_KEEPALIVE int dovezi_start_saver(int width, int height)
{
    PageState& page = Page();
    EndPreview();
    if (page.saver || width <= 0 || height <= 0)
        return 0;
    return StartRun(SIZE{width, height}, page.desktop, SIZE{0, 0}, {PROGRAM_NAME, "-s"}) ? 1 : 0;
}

// Starts the preview in the start screen's canvas of `width` × `height`
// pixels, for a screen of `screenWidth` × `screenHeight`; 0 when a saver
// runs already or it cannot start.
EMSCRIPTEN_KEEPALIVE int dovezi_start_preview(int width, int height, int screenWidth, int screenHeight)
{
    PageState& page = Page();
    if (page.saver || width <= 0 || height <= 0 || screenWidth <= 0 || screenHeight <= 0)
        return 0;
    const auto host = reinterpret_cast<std::uintptr_t>(WebPlatform::PreviewHost());
    page.previewing = StartRun(SIZE{screenWidth, screenHeight}, page.desktop, SIZE{width, height},
                               {PROGRAM_NAME, "-p", std::to_string(host)});
    return page.previewing ? 1 : 0;
}

// Ends the preview, as its host window goes.
EMSCRIPTEN_KEEPALIVE void dovezi_end_preview() { EndPreview(); }

// Delivers what is due; the page calls it when web_schedule_pump asked.
EMSCRIPTEN_KEEPALIVE void dovezi_pump()
{
    PageState& page = Page();
    if (!page.saver)
        return;
    if (page.platform.Pump()) {
        page.saver.reset();
        if (page.previewing)
            page.previewing = false;
        else
            web_saver_ended();
        return;
    }
    ScheduleNextPump();
}

// The page's frame measure: how many ticks the march has made, and the
// microseconds spent in them and their paints.
EMSCRIPTEN_KEEPALIVE double dovezi_ticks() { return static_cast<double>(Page().platform.Ticks()); }
EMSCRIPTEN_KEEPALIVE double dovezi_frame_microseconds()
{
    return static_cast<double>(Page().platform.FrameMicroseconds());
}

// The user's input as a window message (mouse positions in canvas pixels).
EMSCRIPTEN_KEEPALIVE void dovezi_input(int message, int wParam, int x, int y)
{
    if (!Page().saver || Page().previewing)
        return;
    Page().platform.PostInput(static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                              MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

// The desktop picture for the next runs: `width` × `height` pixels of red,
// green, blue and alpha bytes; no pixels bring back the generated desktop.
EMSCRIPTEN_KEEPALIVE void dovezi_set_desktop(const BYTE* rgba, int width, int height)
{
    RgbPicture picture;
    if (rgba != nullptr && width > 0 && height > 0) {
        picture.width = width;
        picture.height = height;
        const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        picture.rgb.resize(pixels * 3);
        for (std::size_t i = 0; i < pixels; ++i)
            for (std::size_t channel = 0; channel < 3; ++channel)
                picture.rgb[i * 3 + channel] = rgba[i * 4 + channel];
    }
    Page().desktop = std::move(picture);
}

// 1 when the saver would play music now: the page loads the synthesizer's
// soundfont only then.
EMSCRIPTEN_KEEPALIVE int dovezi_plays_music()
{
    ParadeApp settings(Page().platform);
    settings.StartUp();
    return settings.Settings().ReadInt(KEY_PLAYMIDI, DEFAULT_PLAYMIDI) != 0 ? 1 : 0;
}

// 1 when the `size` bytes at `bytes` are a MIDI song the saver can play:
// the sheet refuses any other file the user picks.
EMSCRIPTEN_KEEPALIVE int dovezi_midi_readable(const BYTE* bytes, int size)
{
    if (bytes == nullptr || size <= 0)
        return 0;
    SmfSong* song = nullptr;
    if (LoadSongFromMemory(std::vector<BYTE>(bytes, bytes + size), song) != SMF_SUCCESS)
        return 0;
    FreeSong(song);
    return 1;
}

// A chosen song file that the page no longer has (it was too large to
// keep for this visit) gives way to the built-in song.
EMSCRIPTEN_KEEPALIVE void dovezi_forget_missing_song()
{
    ParadeApp settings(Page().platform);
    settings.StartUp();
    const std::string path = settings.Settings().ReadString(KEY_MIDIFILEPATH, NO_FILE);
    std::error_code error;
    if (path == NO_FILE || std::filesystem::exists(path, error))
        return;
    settings.Settings().WriteInt(KEY_MIDIFILE, 0);
    settings.Settings().WriteString(KEY_MIDIFILEPATH, NO_FILE);
}

// Shows the settings sheet; 0 when it is open already or cannot be shown.
EMSCRIPTEN_KEEPALIVE int dovezi_open_settings()
{
    PageState& page = Page();
    if (OpenSheet() != nullptr)
        return 0;
    page.sheet.reset();
    page.sheetLogic.reset();
    page.settings = std::make_unique<ParadeApp>(page.platform);
    page.settings->StartUp();
    page.sheetLogic = std::make_unique<CSheetVelmar>(page.platform, page.settings->Settings(),
                                                     page.platform.GetMidiOut(), IDS_SHEET_CAPTION, nullptr, 0);
    page.sheet = WebSheet::Open(page.platform.GetResources(), page.sheetLogic->Definition(), *page.sheetLogic);
    return page.sheet ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void dovezi_sheet_show_page(int page)
{
    if (WebSheet* sheet = OpenSheet())
        sheet->ShowPage(page);
}

EMSCRIPTEN_KEEPALIVE void dovezi_sheet_click(int page, int id)
{
    if (WebSheet* sheet = OpenSheet())
        sheet->Click(page, id);
}

EMSCRIPTEN_KEEPALIVE void dovezi_sheet_pick(int page, int id, int index)
{
    if (WebSheet* sheet = OpenSheet())
        sheet->PickEntry(page, id, index);
}

EMSCRIPTEN_KEEPALIVE void dovezi_sheet_slide(int page, int id, int position)
{
    if (WebSheet* sheet = OpenSheet())
        sheet->Slide(page, id, position);
}

EMSCRIPTEN_KEEPALIVE void dovezi_sheet_file_chosen(int page, int id, const char* path)
{
    if (WebSheet* sheet = OpenSheet())
        sheet->ChooseFile(page, id, path != nullptr ? path : "");
}

EMSCRIPTEN_KEEPALIVE void dovezi_sheet_command(int controlId)
{
    if (WebSheet* sheet = OpenSheet())
        sheet->PressSheetCommand(controlId);
}

// OK (1) or Cancel (0).
EMSCRIPTEN_KEEPALIVE void dovezi_sheet_end(int ok)
{
    if (WebSheet* sheet = OpenSheet())
        sheet->End(ok != 0 ? SheetResult::Ok : SheetResult::Cancel);
}
}
