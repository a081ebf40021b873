// How long a program takes to change what one pixel of the screen shows:
// reads the pixel, starts the program, reads the pixel again and again
// (on Wayland through screencopy, which answers at the output's next
// frame; on X11 every millisecond) until it differs, prints the
// milliseconds since the start and ends the program.
//   first_frame_probe wayland|x11 X Y PROGRAM [ARGUMENT...]
#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>

namespace {

constexpr double PATIENCE_MS = 20000;

double NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// One pixel of the first output, read through screencopy.
class WaylandPixel {
public:
    bool Open()
    {
        m_pDisplay = wl_display_connect(nullptr);
        if (m_pDisplay == nullptr)
            return false;
        static const wl_registry_listener listener = {OnGlobal, [](void*, wl_registry*, uint32_t) {}};
        wl_registry_add_listener(wl_display_get_registry(m_pDisplay), &listener, this);
        wl_display_roundtrip(m_pDisplay);
        return m_pShm != nullptr && m_pOutput != nullptr && m_pManager != nullptr;
    }

    std::optional<std::uint32_t> Read(int x, int y)
    {
        m_state = State{};
        zwlr_screencopy_frame_v1* frame =
            zwlr_screencopy_manager_v1_capture_output_region(m_pManager, 0, m_pOutput, x, y, 1, 1);
        static const zwlr_screencopy_frame_v1_listener listener = {
            OnBuffer, OnFlags, OnReady, OnFailed, OnDamage, OnDmabuf, OnBufferDone};
        zwlr_screencopy_frame_v1_add_listener(frame, &listener, this);
        while (!m_state.described && !m_state.failed)
            if (wl_display_dispatch(m_pDisplay) < 0)
                return std::nullopt;
        std::optional<std::uint32_t> pixel;
        if (!m_state.failed && Copy(frame))
            pixel = m_state.pixel;
        zwlr_screencopy_frame_v1_destroy(frame);
        return pixel;
    }

private:
    struct State {
        std::uint32_t format = 0;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::uint32_t stride = 0;
        bool described = false;
        bool ready = false;
        bool failed = false;
        std::uint32_t pixel = 0;
    };

    bool Copy(zwlr_screencopy_frame_v1* frame)
    {
        const std::size_t size = static_cast<std::size_t>(m_state.stride) * m_state.height;
        const int fd = memfd_create("first-frame-probe", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, static_cast<off_t>(size)) != 0)
            return false;
        void* pixels = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        wl_shm_pool* pool = wl_shm_create_pool(m_pShm, fd, static_cast<int32_t>(size));
        wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, static_cast<int32_t>(m_state.width),
                                                      static_cast<int32_t>(m_state.height),
                                                      static_cast<int32_t>(m_state.stride), m_state.format);
        wl_shm_pool_destroy(pool);
        close(fd);
        zwlr_screencopy_frame_v1_copy(frame, buffer);
        while (!m_state.ready && !m_state.failed)
            if (wl_display_dispatch(m_pDisplay) < 0)
                break;
        if (m_state.ready && pixels != MAP_FAILED)
            std::memcpy(&m_state.pixel, pixels, sizeof m_state.pixel);
        wl_buffer_destroy(buffer);
        if (pixels != MAP_FAILED)
            munmap(pixels, size);
        return m_state.ready;
    }

    static void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
    {
        auto& self = *static_cast<WaylandPixel*>(data);
        if (std::strcmp(interface, wl_shm_interface.name) == 0)
            self.m_pShm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
        else if (std::strcmp(interface, wl_output_interface.name) == 0 && self.m_pOutput == nullptr)
            self.m_pOutput = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 1));
        else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0)
            self.m_pManager = static_cast<zwlr_screencopy_manager_v1*>(wl_registry_bind(
                registry, name, &zwlr_screencopy_manager_v1_interface, version < 3 ? version : 3));
    }
    static void OnBuffer(void* data, zwlr_screencopy_frame_v1* frame, uint32_t format, uint32_t width,
                         uint32_t height, uint32_t stride)
    {
        auto& state = static_cast<WaylandPixel*>(data)->m_state;
        state.format = format;
        state.width = width;
        state.height = height;
        state.stride = stride;
        // Before version 3 the buffer event is the whole description.
        if (zwlr_screencopy_frame_v1_get_version(frame) < 3)
            state.described = true;
    }
    static void OnBufferDone(void* data, zwlr_screencopy_frame_v1*)
    {
        static_cast<WaylandPixel*>(data)->m_state.described = true;
    }
    static void OnFlags(void*, zwlr_screencopy_frame_v1*, uint32_t) {}
    static void OnReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t)
    {
        static_cast<WaylandPixel*>(data)->m_state.ready = true;
    }
    static void OnFailed(void* data, zwlr_screencopy_frame_v1*)
    {
        static_cast<WaylandPixel*>(data)->m_state.failed = true;
    }
    static void OnDamage(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) {}
    static void OnDmabuf(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {}

    wl_display* m_pDisplay = nullptr;
    wl_shm* m_pShm = nullptr;
    wl_output* m_pOutput = nullptr;
    zwlr_screencopy_manager_v1* m_pManager = nullptr;
    State m_state;
};

// One pixel of the X screen's root window.
class X11Pixel {
public:
    bool Open()
    {
        // A server that has just said it is ready may still refuse a moment.
        for (int attempt = 0; attempt < 100 && m_pDisplay == nullptr; ++attempt) {
            m_pDisplay = XOpenDisplay(nullptr);
            if (m_pDisplay == nullptr)
                usleep(20000);
        }
        return m_pDisplay != nullptr;
    }

    std::optional<std::uint32_t> Read(int x, int y)
    {
        XImage* image = XGetImage(m_pDisplay, DefaultRootWindow(m_pDisplay), x, y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return std::nullopt;
        const auto pixel = static_cast<std::uint32_t>(XGetPixel(image, 0, 0));
        XDestroyImage(image);
        usleep(1000);
        return pixel;
    }

private:
    Display* m_pDisplay = nullptr;
};

int Probe(const std::function<std::optional<std::uint32_t>()>& read, char** program)
{
    const std::optional<std::uint32_t> before = read();
    if (!before) {
        std::fprintf(stderr, "first_frame_probe: cannot read the screen\n");
        return 1;
    }
    const double started = NowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(program[0], program);
        _exit(127);
    }
    int result = 1;
    while (NowMs() - started < PATIENCE_MS) {
        const std::optional<std::uint32_t> now = read();
        if (now && *now != *before) {
            std::printf("%.1f\n", NowMs() - started);
            result = 0;
            break;
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "first_frame_probe: %s ended before it showed\n", program[0]);
            return 1;
        }
    }
    if (result != 0)
        std::fprintf(stderr, "first_frame_probe: the pixel never changed\n");
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return result;
}

}

int main(int argc, char** argv)
{
    if (argc < 5 || (std::strcmp(argv[1], "wayland") != 0 && std::strcmp(argv[1], "x11") != 0)) {
        std::fprintf(stderr, "usage: first_frame_probe wayland|x11 X Y PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const int x = std::atoi(argv[2]);
    const int y = std::atoi(argv[3]);
    if (std::strcmp(argv[1], "wayland") == 0) {
        WaylandPixel pixel;
        if (!pixel.Open()) {
            std::fprintf(stderr, "first_frame_probe: no compositor with screencopy\n");
            return 1;
        }
        return Probe([&] { return pixel.Read(x, y); }, argv + 4);
    }
    X11Pixel pixel;
    if (!pixel.Open()) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr, "first_frame_probe: cannot open the X display \"%s\"\n", name != nullptr ? name : "");
        return 1;
    }
    return Probe([&] { return pixel.Read(x, y); }, argv + 4);
}
