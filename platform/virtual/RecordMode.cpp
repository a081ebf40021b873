#include "platform/virtual/RecordMode.h"

#include "app/ParadeApp.h"
#include "app/SettingsKeys.h"
#include "platform/virtual/FillScreen.h"
#include "platform/virtual/GeneratedDesktop.h"
#include "platform/virtual/GifWriter.h"
#include "platform/virtual/VirtualDisplay.h"
#include "platform/virtual/VirtualMidiOut.h"
#include "platform/virtual/VirtualPlatform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include <unistd.h>

namespace {

constexpr std::int64_t MICROSECONDS_PER_SECOND = 1000000;
constexpr int ANIMATION_SECONDS = 3;
constexpr int MIN_ANIMATION_STEP_MS = 20;

// Tells, on a terminal, how far the recording has come.
class Progress {
public:
    explicit Progress(int seconds) : m_nSeconds(seconds), m_bShown(isatty(STDERR_FILENO) == 1) {}
    void At(std::int64_t microseconds)
    {
        const auto now = std::chrono::steady_clock::now();
        if (!m_bShown || now < m_next)
            return;
        m_next = now + std::chrono::milliseconds(250);
        std::fprintf(stderr, "\rDovezi --record: %lld of %d s", static_cast<long long>(microseconds / MICROSECONDS_PER_SECOND),
                     m_nSeconds);
        m_bWritten = true;
    }
    ~Progress()
    {
        if (m_bWritten)
            std::fprintf(stderr, "\n");
    }

private:
    int m_nSeconds;
    bool m_bShown;
    bool m_bWritten = false;
    std::chrono::steady_clock::time_point m_next{};
};

std::string FramePath(const std::string& folder, int second)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04d.png", second);
    return (std::filesystem::path(folder) / name).string();
}

bool WriteFrame(const std::string& path, const VirtualDisplay& display, SIZE size)
{
    return WritePngFile(path, RgbPicture{size.cx, size.cy, display.RgbRows()});
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "Dovezi --record: %s\n", message.c_str());
    return 1;
}

}

int RunRecordMode(const RecordOptions& options, Registry& registry, const std::string& modulePath,
                  const std::function<bool()>& stopRequested)
{
    RgbPicture desktop;
    if (!options.desktop.empty() && !ReadPngFile(options.desktop, desktop))
        return Fail("cannot read the picture " + options.desktop + " (a PNG file of at most " +
                    std::to_string(MAX_PNG_FILE_BYTES >> 20) + " MiB)");
    const SIZE size = options.size.value_or(options.desktop.empty() ? SIZE{1920, 1080}
                                                                    : SIZE{desktop.width, desktop.height});
    if (size.cx > MAX_RECORD_SIDE || size.cy > MAX_RECORD_SIDE)
        return Fail("the picture is " + std::to_string(size.cx) + "x" + std::to_string(size.cy) +
                    ", larger than a screen of " + std::to_string(MAX_RECORD_SIDE) + " pixels a side: give --size");
    if (options.desktop.empty())
        desktop = GenerateDesktop(size.cx, size.cy);

    std::error_code error;
    std::filesystem::create_directories(options.folder, error);
    if (error)
        return Fail("cannot make the folder " + options.folder + ": " + error.message());

    VirtualDisplay display(size, options.depth);
    display.ShowDesktop(FillScreen(desktop, size));
    // The music is rendered on the platform's clock, so music.wav lasts as
    // long as the recording, repeats of the song included.
    VirtualMidiOut music((std::filesystem::path(options.folder) / "music.wav").string());
    VirtualPlatform platform(registry, display, modulePath, size);
    platform.UseMidiOut(music, [&music](std::int64_t now) { music.AdvanceTo(now); },
                        [&music] { return music.NextDue(); });
    platform.ShowOn(display);
    ParadeApp app(platform);
    if (!app.Initialize({modulePath, "-s"}))
        return Fail("the saver did not start");

    const int speed = app.Settings().ReadInt(KEY_SPEED, DEFAULT_SPEED);
    const std::int64_t stepMs = std::clamp(speed, MIN_ANIMATION_STEP_MS, 1000);
    GifWriter animation;
    const std::string animationPath = (std::filesystem::path(options.folder) / "parade.gif").string();
    if (!animation.Open(animationPath, size.cx, size.cy))
        return Fail("cannot write " + animationPath);

    // Frames fall on whole seconds, animation steps every stepMs up to
    // animationEnd; the clock visits both in time order.
    const std::int64_t step = stepMs * 1000;
    const std::int64_t animationEnd = std::min(options.seconds, ANIMATION_SECONDS) * MICROSECONDS_PER_SECOND;
    const std::int64_t recordingEnd = options.seconds * MICROSECONDS_PER_SECOND;
    std::int64_t nextStep = step;
    std::int64_t nextFrame = 0;
    Progress progress(options.seconds);
    // An end signal ends the recording early, with every file whole.
    while (nextFrame <= recordingEnd && !stopRequested()) {
        progress.At(nextFrame);
        const std::int64_t at = nextStep <= animationEnd ? std::min(nextStep, nextFrame) : nextFrame;
        platform.RunUntil(at);
        if (at == nextStep) {
            animation.AddFrame(display.RgbRows(), static_cast<int>(stepMs / 10));
            nextStep += step;
        }
        if (at == nextFrame) {
            if (!WriteFrame(FramePath(options.folder, static_cast<int>(at / MICROSECONDS_PER_SECOND)), display, size))
                return Fail("cannot write the frames in " + options.folder);
            nextFrame += MICROSECONDS_PER_SECOND;
        }
    }
    // The saver ends the normal way: the music stops, the temporary copy of
    // the song goes.
    if (VirtualWindow* window = platform.LastWindow()) {
        window->Post(WM_CLOSE, 0, 0);
        platform.RunMessageLoop();
    }
    if (!animation.Close())
        return Fail("cannot write " + animationPath);
    if (!music.FinishRecording())
        return Fail("cannot write " + (std::filesystem::path(options.folder) / "music.wav").string());
    return 0;
}
