// The connection to the Wayland compositor: its globals, the outputs it
// has now and those that come and go, and reading its events.
#pragma once

#include "platform/wayland/WaylandOutput.h"
#include "platform/wayland/WaylandSeat.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct wp_viewporter;
struct xdg_wm_base;
struct zwlr_layer_shell_v1;
struct zwlr_screencopy_manager_v1;
struct ext_output_image_capture_source_manager_v1;
struct ext_image_copy_capture_manager_v1;

class WaylandConnection {
public:
    // Connects to the compositor that WAYLAND_DISPLAY names, or wayland-0 of
    // XDG_RUNTIME_DIR, and reads its globals and outputs. Null when none
    // answers; `why` then says why.
    static std::unique_ptr<WaylandConnection> Open(std::string& why);
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* Display() const { return m_pDisplay; }
    wl_compositor* Compositor() const { return m_pCompositor; }
    wl_shm* Shm() const { return m_pShm; }
    // Null when the compositor has no seat.
    WaylandSeat* Seat() const { return m_pSeat.get(); }
    zwlr_layer_shell_v1* LayerShell() const { return m_pLayerShell; }
    // xdg-shell, for toplevel windows; its pings are answered here.
    xdg_wm_base* WmBase() const { return m_pWmBase; }
    zwlr_screencopy_manager_v1* ScreenCopy() const { return m_pScreenCopy; }
    // The standard image copy capture and its outputs as sources: both, or
    // null.
    ext_image_copy_capture_manager_v1* ImageCopy() const { return m_pImageSources != nullptr ? m_pImageCopy : nullptr; }
    ext_output_image_capture_source_manager_v1* ImageSources() const { return m_pImageSources; }
    wp_viewporter* Viewporter() const { return m_pViewporter; }
    // The described outputs.
    std::vector<WaylandOutput*> Outputs() const;

    // Told of an output that became described after the start, and of one
    // that is about to go.
    void SetOutputWatch(std::function<void(WaylandOutput&)> added, std::function<void(WaylandOutput&)> removed);
    // Told when any output's power changes.
    void SetPowerWatch(std::function<void()> watch);

    // Sends what waits and handles the answers; false once the connection is broken.
    bool Roundtrip();
    // Handles the events read already, sends what waits; false once broken.
    bool DispatchPending();
    // Waits at most `timeoutMs` (-1: without limit) for events, reads and
    // handles them; also wakes for `other` descriptors (their revents filled).
    bool WaitAndDispatch(int timeoutMs, struct pollfd* other, int otherCount);
    bool IsBroken() const;

private:
    WaylandConnection() = default;

    static void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    static void OnGlobalRemove(void* data, wl_registry* registry, uint32_t name);
    void AddOutput(uint32_t name, uint32_t version);
    // Outputs described since the last call go to the watch.
    void AnnounceOutputs();

    wl_display* m_pDisplay = nullptr;
    wl_registry* m_pRegistry = nullptr;
    wl_compositor* m_pCompositor = nullptr;
    wl_shm* m_pShm = nullptr;
    std::unique_ptr<WaylandSeat> m_pSeat;
    zwlr_layer_shell_v1* m_pLayerShell = nullptr;
    xdg_wm_base* m_pWmBase = nullptr;
    zwlr_screencopy_manager_v1* m_pScreenCopy = nullptr;
    ext_image_copy_capture_manager_v1* m_pImageCopy = nullptr;
    ext_output_image_capture_source_manager_v1* m_pImageSources = nullptr;
    struct zxdg_output_manager_v1* m_pXdgOutputs = nullptr;
    struct zwlr_output_power_manager_v1* m_pPower = nullptr;
    wp_viewporter* m_pViewporter = nullptr;
    std::vector<std::unique_ptr<WaylandOutput>> m_outputs;
    std::vector<WaylandOutput*> m_announced;
    std::function<void(WaylandOutput&)> m_outputAdded;
    std::function<void(WaylandOutput&)> m_outputRemoved;
    std::function<void()> m_powerWatch;
};
