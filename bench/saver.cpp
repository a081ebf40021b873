// The whole saver as a person meets it, run as `Dovezi` on a private Xvfb
// at 24 bits, with the music off and every other setting at its default:
//
// FirstFrame: the time from starting `Dovezi -s` to its first parade frame
// on the screen (the X server has drawn every pixel of it), over the floor:
// a bare program that captures the whole screen into shared memory and
// puts it back into a full-screen window, timed the same way; medians of
// five rounds each.
// Memory: the saver's peak resident set after its first seconds, and its
// bytes per screen pixel above the same program on a 320x240 screen.
// Cpu: the share of one core that the saver takes (all its threads, from
// the scheduler's own account), the median of eight 1 s windows after a 2 s
// warm-up, at the default speed, at speed 1, and in a 152x112 preview window;
// at the default speed also over a bare program that restores, converts and
// puts about as many pixels every 100 ms (see BareTicks).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xdamage.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int FIRST_FRAME_ROUNDS = 5;
constexpr const char* BARE_FLOOR_ARGUMENT = "--bare-capture-and-put";
constexpr const char* BARE_TICKS_ARGUMENT = "--bare-ticks";
std::string g_selfPath;
constexpr double CPU_WARMUP_SECONDS = 2;
constexpr double CPU_SECONDS = 8;
// The CPU share is the median of this many equal windows, so that a burst
// of other work on the machine moves it little.
constexpr int CPU_WINDOWS = 8;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A child process, ended with SIGTERM and reaped when this goes.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::vector<std::string>& environment)
    {
        m_pid = fork();
        if (m_pid == 0) {
            for (const std::string& setting : environment)
                putenv(const_cast<char*>(setting.c_str()));
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            std::vector<char*> args;
            for (const std::string& arg : argv)
                args.push_back(const_cast<char*>(arg.c_str()));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
        if (m_pid < 0)
            throw std::runtime_error("fork failed");
    }
    ~Child()
    {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
};

// A private folder for the saver's settings, removed when this goes.
class SettingsHome {
public:
    SettingsHome()
    {
        std::string pattern = (fs::temp_directory_path() / "dovezi-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("no temporary folder");
        m_folder = pattern;
        fs::create_directories(m_folder / "config/Tevrin");
        fs::create_directories(m_folder / "home");
    }
    ~SettingsHome() { fs::remove_all(m_folder); }
    SettingsHome(const SettingsHome&) = delete;
    SettingsHome& operator=(const SettingsHome&) = delete;

    void WriteSpeed(int speed) const
    {
        std::ofstream(m_folder / "config/Tevrin/Dovezi.reg")
            << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\n"
            << "\"PLAYMIDI\"=dword:00000000\n\"SPEED\"=dword:" << std::hex << speed << "\n";
    }
    std::vector<std::string> Environment(int display) const
    {
        return {"DISPLAY=:" + std::to_string(display), "HOME=" + (m_folder / "home").string(),
                "XDG_CONFIG_HOME=" + (m_folder / "config").string()};
    }

private:
    fs::path m_folder;
};

// A private Xvfb of the given size at 24 bits, and a connection to it.
class PrivateServer {
public:
    PrivateServer(int width, int height) : m_width(width), m_height(height)
    {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            throw std::runtime_error("no pipe");
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        m_pServer = std::make_unique<Child>(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(pipeFds[1]),
                                                                     "-screen", "0", screen, "-nolisten", "tcp"},
                                            std::vector<std::string>{});
        close(pipeFds[1]);
        char number[16] = {};
        const ssize_t got = read(pipeFds[0], number, sizeof number - 1);
        close(pipeFds[0]);
        if (got <= 0)
            throw std::runtime_error("Xvfb did not start");
        m_number = std::atoi(number);
        m_pDisplay = XOpenDisplay((":" + std::to_string(m_number)).c_str());
        if (m_pDisplay == nullptr)
            throw std::runtime_error("no connection to Xvfb");
    }
    ~PrivateServer() { XCloseDisplay(m_pDisplay); }
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    Display* Get() const { return m_pDisplay; }
    int Number() const { return m_number; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Window Root() const { return DefaultRootWindow(m_pDisplay); }

private:
    int m_width;
    int m_height;
    std::unique_ptr<Child> m_pServer;
    int m_number = 0;
    Display* m_pDisplay = nullptr;
};

// A bare program's full-screen window and shared-memory image of the
// screen's size, on the display that DISPLAY names.
struct BareScreen {
    BareScreen() : display(XOpenDisplay(nullptr))
    {
        if (display == nullptr)
            return;
        const int screen = DefaultScreen(display);
        width = static_cast<unsigned>(DisplayWidth(display, screen));
        height = static_cast<unsigned>(DisplayHeight(display, screen));
        image = XShmCreateImage(display, DefaultVisual(display, screen), static_cast<unsigned>(DefaultDepth(display, screen)),
                                ZPixmap, nullptr, &segment, width, height);
        segment.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
        segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
        XShmAttach(display, &segment);
        shmctl(segment.shmid, IPC_RMID, nullptr);
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.background_pixmap = None;
        window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, CopyFromParent, InputOutput,
                               CopyFromParent, CWOverrideRedirect | CWBackPixmap, &attributes);
        gc = XCreateGC(display, window, 0, nullptr);
    }

    Display* display;
    unsigned width = 0;
    unsigned height = 0;
    XShmSegmentInfo segment{};
    XImage* image = nullptr;
    Window window = 0;
    GC gc = nullptr;
};

// The first frame's floor, run as a program of its own: reads the whole
// screen into a new shared-memory image, puts it back into a new
// full-screen window, and waits to be ended.
int BareCaptureAndPut()
{
    BareScreen screen;
    if (screen.display == nullptr)
        return 1;
    XShmGetImage(screen.display, DefaultRootWindow(screen.display), screen.image, 0, 0, AllPlanes);
    XMapWindow(screen.display, screen.window);
    XShmPutImage(screen.display, screen.window, screen.gc, screen.image, 0, 0, 0, 0, screen.width, screen.height, False);
    XSync(screen.display, False);
    pause();
    return 0;
}

// The idle saver's floor, run as a program of its own: every 100 ms it
// restores seven lanes of 300x48 pixels (times `scale` each way) of a
// 5-6-5 canvas from a clean copy, converts them into the image and puts
// them, about the area the saver's units change in a tick; it draws no units.
int BareTicks(int scale)
{
    BareScreen screen;
    if (screen.display == nullptr)
        return 1;
    XMapWindow(screen.display, screen.window);
    const std::size_t width = screen.width;
    const std::vector<std::uint16_t> clean(width * screen.height, 0x5AEB);
    std::vector<std::uint16_t> canvas(clean.size());
    const int laneWidth = 300 * scale;
    const int laneHeight = 48 * scale;
    timespec due{};
    clock_gettime(CLOCK_MONOTONIC, &due);
    for (int step = 0;; ++step) {
        for (int lane = 0; lane < 7; ++lane) {
            const int left = (step * 4 + lane * 97) % static_cast<int>(screen.width - static_cast<unsigned>(laneWidth));
            const int top = lane * static_cast<int>(screen.height) / 7;
            for (int y = top; y < top + laneHeight; ++y) {
                const std::size_t at = static_cast<std::size_t>(y) * width + static_cast<std::size_t>(left);
                std::memcpy(canvas.data() + at, clean.data() + at, static_cast<std::size_t>(laneWidth) * 2);
                auto* out = reinterpret_cast<std::uint32_t*>(screen.image->data + static_cast<std::ptrdiff_t>(y) * screen.image->bytes_per_line) + left;
                for (int x = 0; x < laneWidth; ++x) {
                    const std::uint32_t p = canvas[at + static_cast<std::size_t>(x)];
                    out[x] = (p >> 8 & 0xF8) << 16 | (p >> 3 & 0xFC) << 8 | (p << 3 & 0xF8);
                }
            }
            XShmPutImage(screen.display, screen.window, screen.gc, screen.image, left, top, left, top,
                         static_cast<unsigned>(laneWidth), static_cast<unsigned>(laneHeight), False);
        }
        XFlush(screen.display);
        due.tv_nsec += 100'000'000;
        if (due.tv_nsec >= 1'000'000'000) {
            due.tv_nsec -= 1'000'000'000;
            ++due.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
    }
}

// Notes which pixels of the screen the server has drawn since it started.
class DrawnPixels {
public:
    DrawnPixels(int width, int height)
        : m_width(width), m_height(height), m_drawn(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    {
    }
    void Add(const XRectangle& area)
    {
        const int right = std::min<int>(m_width, area.x + area.width);
        const int bottom = std::min<int>(m_height, area.y + area.height);
        for (int y = std::max<int>(0, area.y); y < bottom; ++y)
            for (int x = std::max<int>(0, area.x); x < right; ++x) {
                auto& drawn = m_drawn[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
                m_count += drawn ? 0 : 1;
                drawn = 1;
            }
    }
    bool All() const { return m_count == m_drawn.size(); }

private:
    int m_width;
    int m_height;
    std::vector<unsigned char> m_drawn;
    std::size_t m_count = 0;
};

// Starts `argv` and waits until the server has drawn every pixel of the
// screen; returns the seconds that took, or a negative number after 10 s.
double FirstFrameSeconds(PrivateServer& server, const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment)
{
    Display* display = server.Get();
    int eventBase = 0;
    int errorBase = 0;
    if (!XDamageQueryExtension(display, &eventBase, &errorBase))
        throw std::runtime_error("no damage extension");
    const Damage damage = XDamageCreate(display, server.Root(), XDamageReportRawRectangles);
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent ignored;
        XNextEvent(display, &ignored);
    }
    DrawnPixels drawn(server.Width(), server.Height());
    const auto start = Clock::now();
    const Child program(argv, environment);
    double seconds = -1;
    while (SecondsSince(start) < 10) {
        if (XPending(display) == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != eventBase + XDamageNotify)
            continue;
        drawn.Add(reinterpret_cast<XDamageNotifyEvent&>(event).area);
        if (drawn.All()) {
            seconds = SecondsSince(start);
            break;
        }
    }
    XDamageDestroy(display, damage);
    XSync(display, False);
    return seconds;
}

// Nanoseconds that every thread of `pid` has run, from the scheduler.
double RunSeconds(pid_t pid)
{
    double total = 0;
    std::error_code error;
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream stats(task.path() / "schedstat");
        double nanoseconds = 0;
        if (stats >> nanoseconds)
            total += nanoseconds * 1e-9;
    }
    return total;
}

// The peak resident set of `pid` in bytes.
double PeakResidentBytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) * 1024;
    return 0;
}

struct Run {
    double cpuPercent;
    double peakBytes;
};

// Runs `argv`, and measures it for `seconds` after the warm-up.
Run RunProgram(const PrivateServer& server, const SettingsHome& home, const std::vector<std::string>& argv,
               double seconds)
{
    const Child saver(argv, home.Environment(server.Number()));
    std::this_thread::sleep_for(std::chrono::duration<double>(CPU_WARMUP_SECONDS));
    std::vector<double> shares;
    for (int window = 0; window < CPU_WINDOWS; ++window) {
        const double before = RunSeconds(saver.Pid());
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds / CPU_WINDOWS));
        shares.push_back(100.0 * (RunSeconds(saver.Pid()) - before) / SecondsSince(start));
    }
    std::sort(shares.begin(), shares.end());
    return Run{shares[shares.size() / 2], PeakResidentBytes(saver.Pid())};
}

// A window of the preview's size, as a host makes it.
Window MakePreviewHost(const PrivateServer& server)
{
    const Window window = XCreateSimpleWindow(server.Get(), server.Root(), 0, 0, 152, 112, 0, 0, 0x808080);
    XMapWindow(server.Get(), window);
    XSync(server.Get(), False);
    return window;
}

void FirstFrame(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    PrivateServer server(width, width * 9 / 16);
    SettingsHome home;
    home.WriteSpeed(100);
    const std::vector<std::string> environment = home.Environment(server.Number());
    std::vector<double> rounds;
    std::vector<double> floors;
    for (auto _ : state) {
        for (int round = 0; round < FIRST_FRAME_ROUNDS; ++round) {
            floors.push_back(FirstFrameSeconds(server, {g_selfPath, BARE_FLOOR_ARGUMENT}, environment));
            rounds.push_back(FirstFrameSeconds(server, {SAVER_PROGRAM, "-s"}, environment));
        }
    }
    std::sort(rounds.begin(), rounds.end());
    std::sort(floors.begin(), floors.end());
    const double median = rounds[rounds.size() / 2];
    const double floor = floors[floors.size() / 2];
    if (median < 0 || floor < 0) {
        state.SkipWithError("no first frame in 10 s");
        return;
    }
    state.counters["first_frame_ms"] = median * 1e3;
    state.counters["floor_ms"] = floor * 1e3;
    state.counters["x_floor"] = median / floor;
}

void Memory(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    SettingsHome home;
    home.WriteSpeed(100);
    double tiny = 0;
    double peak = 0;
    for (auto _ : state) {
        tiny = RunProgram(PrivateServer(320, 240), home, {SAVER_PROGRAM, "-s"}, 1).peakBytes;
        peak = RunProgram(PrivateServer(width, width * 9 / 16), home, {SAVER_PROGRAM, "-s"}, 1).peakBytes;
    }
    state.counters["peak_mb"] = peak / 1e6;
    state.counters["start_mb"] = tiny / 1e6;
    state.counters["bytes_per_pixel"] = (peak - tiny) / (static_cast<double>(width) * (width * 9 / 16) - 320 * 240);
}

// Arguments: width, speed, preview (1) or full screen (0).
void Cpu(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    PrivateServer server(width, width * 9 / 16);
    SettingsHome home;
    home.WriteSpeed(static_cast<int>(state.range(1)));
    const bool preview = state.range(2) != 0;
    const bool defaultSpeed = state.range(1) == 100;
    Run run{};
    Run floor{};
    for (auto _ : state) {
        if (preview)
            run = RunProgram(server, home, {SAVER_PROGRAM, "-p", std::to_string(MakePreviewHost(server))}, CPU_SECONDS);
        else
            run = RunProgram(server, home, {SAVER_PROGRAM, "-s"}, CPU_SECONDS);
        // The bare ticks stand for the full-screen saver at its default
        // speed, with units twice their size on the 4K screen.
        if (defaultSpeed && !preview)
            floor = RunProgram(server, home, {g_selfPath, BARE_TICKS_ARGUMENT, width > 2000 ? "2" : "1"}, CPU_SECONDS);
    }
    state.counters["core_pct"] = run.cpuPercent;
    if (defaultSpeed && !preview) {
        state.counters["floor_pct"] = floor.cpuPercent;
        state.counters["x_floor"] = run.cpuPercent / floor.cpuPercent;
    }
}

} // namespace

BENCHMARK(FirstFrame)->ArgName("width")->Arg(1920)->Arg(3840)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Memory)->ArgName("width")->Arg(1920)->Arg(3840)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Cpu)
    ->ArgNames({"width", "speed", "preview"})
    ->Args({1920, 100, 0})
    ->Args({1920, 1, 0})
    ->Args({1920, 100, 1})
    ->Args({3840, 100, 0})
    ->Args({3840, 1, 0})
    ->Args({3840, 100, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == BARE_FLOOR_ARGUMENT)
        return BareCaptureAndPut();
    if (argc == 3 && std::string(argv[1]) == BARE_TICKS_ARGUMENT)
        return BareTicks(std::atoi(argv[2]));
    g_selfPath = fs::canonical("/proc/self/exe").string();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
