#include "platform/wayland/WaylandConnection.h"

#include "ext-image-capture-source-v1-client-protocol.h"
#include "ext-image-copy-capture-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "platform/wayland/LayerShellProtocol.h"
#include "wlr-output-power-management-unstable-v1-client-protocol.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <poll.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
template <typename Proxy>
Proxy* Bind(wl_registry* registry, uint32_t name, const wl_interface& interface, uint32_t offered, uint32_t wanted)
{
    return static_cast<Proxy*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

bool Is(const char* interface, const wl_interface& wanted) { return std::strcmp(interface, wanted.name) == 0; }

// A client that does not answer is taken for hung.
void OnPing(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
}

std::unique_ptr<WaylandConnection> WaylandConnection::Open(std::string& why)
{
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection);
    connection->m_pDisplay = wl_display_connect(nullptr);
    if (connection->m_pDisplay == nullptr) {
        why = std::strerror(errno);
        return nullptr;
    }
    static const wl_registry_listener listener = {OnGlobal, OnGlobalRemove};
    connection->m_pRegistry = wl_display_get_registry(connection->m_pDisplay);
    wl_registry_add_listener(connection->m_pRegistry, &listener, connection.get());
    // The globals, then the outputs' descriptions, then those of xdg-output.
    for (int round = 0; round < 3; ++round)
        if (!connection->Roundtrip()) {
            why = "the compositor closed the connection";
            return nullptr;
        }
    connection->m_announced = connection->Outputs();
    return connection;
}

WaylandConnection::~WaylandConnection()
{
    if (m_pDisplay == nullptr)
        return;
    m_outputs.clear();
    if (m_pViewporter != nullptr)
        wp_viewporter_destroy(m_pViewporter);
    if (m_pPower != nullptr)
        zwlr_output_power_manager_v1_destroy(m_pPower);
    if (m_pXdgOutputs != nullptr)
        zxdg_output_manager_v1_destroy(m_pXdgOutputs);
    if (m_pScreenCopy != nullptr)
        zwlr_screencopy_manager_v1_destroy(m_pScreenCopy);
    if (m_pImageCopy != nullptr)
        ext_image_copy_capture_manager_v1_destroy(m_pImageCopy);
    if (m_pImageSources != nullptr)
        ext_output_image_capture_source_manager_v1_destroy(m_pImageSources);
    if (m_pLayerShell != nullptr)
        zwlr_layer_shell_v1_destroy(m_pLayerShell);
    if (m_pWmBase != nullptr)
        xdg_wm_base_destroy(m_pWmBase);
    m_pSeat.reset();
    if (m_pShm != nullptr)
        wl_shm_destroy(m_pShm);
    if (m_pCompositor != nullptr)
        wl_compositor_destroy(m_pCompositor);
    wl_registry_destroy(m_pRegistry);
    wl_display_flush(m_pDisplay);
    wl_display_disconnect(m_pDisplay);
}

void WaylandConnection::OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                                 uint32_t version)
{
    auto& self = *static_cast<WaylandConnection*>(data);
    if (Is(interface, wl_compositor_interface))
        self.m_pCompositor = Bind<wl_compositor>(registry, name, wl_compositor_interface, version, 4);
    else if (Is(interface, wl_shm_interface))
        self.m_pShm = Bind<wl_shm>(registry, name, wl_shm_interface, version, 1);
    else if (Is(interface, wl_seat_interface) && self.m_pSeat == nullptr)
        self.m_pSeat = std::make_unique<WaylandSeat>(Bind<wl_seat>(registry, name, wl_seat_interface, version, 5));
    else if (Is(interface, wl_output_interface))
        self.AddOutput(name, version);
    else if (Is(interface, zwlr_layer_shell_v1_interface))
        self.m_pLayerShell = Bind<zwlr_layer_shell_v1>(registry, name, zwlr_layer_shell_v1_interface, version, 4);
    else if (Is(interface, xdg_wm_base_interface) && self.m_pWmBase == nullptr) {
        static const xdg_wm_base_listener listener = {OnPing};
        self.m_pWmBase = Bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, 5);
        xdg_wm_base_add_listener(self.m_pWmBase, &listener, nullptr);
    } else if (Is(interface, zwlr_screencopy_manager_v1_interface))
        self.m_pScreenCopy =
            Bind<zwlr_screencopy_manager_v1>(registry, name, zwlr_screencopy_manager_v1_interface, version, 3);
    else if (Is(interface, ext_image_copy_capture_manager_v1_interface))
        self.m_pImageCopy = Bind<ext_image_copy_capture_manager_v1>(registry, name,
                                                                    ext_image_copy_capture_manager_v1_interface, version, 1);
    else if (Is(interface, ext_output_image_capture_source_manager_v1_interface))
        self.m_pImageSources = Bind<ext_output_image_capture_source_manager_v1>(
            registry, name, ext_output_image_capture_source_manager_v1_interface, version, 1);
    else if (Is(interface, zxdg_output_manager_v1_interface))
        self.m_pXdgOutputs = Bind<zxdg_output_manager_v1>(registry, name, zxdg_output_manager_v1_interface, version, 3);
    else if (Is(interface, zwlr_output_power_manager_v1_interface))
        self.m_pPower =
            Bind<zwlr_output_power_manager_v1>(registry, name, zwlr_output_power_manager_v1_interface, version, 1);
    else if (Is(interface, wp_viewporter_interface))
        self.m_pViewporter = Bind<wp_viewporter>(registry, name, wp_viewporter_interface, version, 1);
    else
        return;
    // Outputs announced before the managers that describe them are
    // described once the managers are known.
    for (const auto& output : self.m_outputs)
        output->Describe(self.m_pXdgOutputs, self.m_pPower);
}

void WaylandConnection::OnGlobalRemove(void* data, wl_registry*, uint32_t name)
{
    auto& self = *static_cast<WaylandConnection*>(data);
    const auto gone = std::find_if(self.m_outputs.begin(), self.m_outputs.end(),
                                   [name](const auto& output) { return output->GlobalName() == name; });
    if (gone == self.m_outputs.end())
        return;
    const auto announced = std::find(self.m_announced.begin(), self.m_announced.end(), gone->get());
    if (announced != self.m_announced.end()) {
        self.m_announced.erase(announced);
        if (self.m_outputRemoved)
            self.m_outputRemoved(**gone);
    }
    self.m_outputs.erase(gone);
}

void WaylandConnection::AddOutput(uint32_t name, uint32_t version)
{
    auto* proxy = Bind<wl_output>(m_pRegistry, name, wl_output_interface, version, 4);
    m_outputs.push_back(std::make_unique<WaylandOutput>(proxy, name, std::min<uint32_t>(version, 4)));
    m_outputs.back()->Describe(m_pXdgOutputs, m_pPower);
    m_outputs.back()->SetPowerWatch([this] {
        if (m_powerWatch)
            m_powerWatch();
    });
}

std::vector<WaylandOutput*> WaylandConnection::Outputs() const
{
    std::vector<WaylandOutput*> described;
    for (const auto& output : m_outputs)
        if (output->IsDescribed())
            described.push_back(output.get());
    return described;
}

void WaylandConnection::SetOutputWatch(std::function<void(WaylandOutput&)> added,
                                       std::function<void(WaylandOutput&)> removed)
{
    m_outputAdded = std::move(added);
    m_outputRemoved = std::move(removed);
}

void WaylandConnection::SetPowerWatch(std::function<void()> watch) { m_powerWatch = std::move(watch); }

void WaylandConnection::AnnounceOutputs()
{
    for (WaylandOutput* output : Outputs()) {
        if (std::find(m_announced.begin(), m_announced.end(), output) != m_announced.end())
            continue;
        m_announced.push_back(output);
        if (m_outputAdded)
            m_outputAdded(*output);
    }
}

bool WaylandConnection::Roundtrip()
{
    const bool alive = wl_display_roundtrip(m_pDisplay) >= 0;
    AnnounceOutputs();
    return alive;
}

bool WaylandConnection::DispatchPending()
{
    if (wl_display_dispatch_pending(m_pDisplay) < 0)
        return false;
    AnnounceOutputs();
    return wl_display_flush(m_pDisplay) >= 0 || errno == EAGAIN;
}

bool WaylandConnection::WaitAndDispatch(int timeoutMs, pollfd* other, int otherCount)
{
    while (wl_display_prepare_read(m_pDisplay) != 0)
        if (wl_display_dispatch_pending(m_pDisplay) < 0)
            return false;
    if (wl_display_flush(m_pDisplay) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(m_pDisplay);
        return false;
    }
    pollfd watched[8] = {{wl_display_get_fd(m_pDisplay), POLLIN, 0}};
    const int count = 1 + std::min(otherCount, 7);
    for (int i = 1; i < count; ++i)
        watched[i] = other[i - 1];
    if (poll(watched, static_cast<nfds_t>(count), timeoutMs) < 0 && errno != EINTR) {
        wl_display_cancel_read(m_pDisplay);
        return false;
    }
    for (int i = 1; i < count; ++i)
        other[i - 1].revents = watched[i].revents;
    if (watched[0].revents & POLLIN) {
        if (wl_display_read_events(m_pDisplay) < 0)
            return false;
    } else {
        wl_display_cancel_read(m_pDisplay);
        if (watched[0].revents & (POLLHUP | POLLERR))
            return false;
    }
    return DispatchPending();
}

bool WaylandConnection::IsBroken() const { return wl_display_get_error(m_pDisplay) != 0; }
