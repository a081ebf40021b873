#include "platform/wayland/WaylandOutput.h"

#include "wlr-output-power-management-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <wayland-client.h>

namespace {
WaylandOutput& Of(void* data) { return *static_cast<WaylandOutput*>(data); }
}

WaylandOutput::WaylandOutput(wl_output* output, std::uint32_t name, std::uint32_t version)
    : m_pOutput(output), m_nGlobal(name), m_nVersion(version)
{
    static const wl_output_listener listener = {OnGeometry, OnMode, OnDone, OnScale, OnName, OnDescription};
    wl_output_add_listener(m_pOutput, &listener, this);
}

WaylandOutput::~WaylandOutput()
{
    if (m_pPower != nullptr)
        zwlr_output_power_v1_destroy(m_pPower);
    if (m_pXdgOutput != nullptr)
        zxdg_output_v1_destroy(m_pXdgOutput);
    if (m_nVersion >= WL_OUTPUT_RELEASE_SINCE_VERSION)
        wl_output_release(m_pOutput);
    else
        wl_output_destroy(m_pOutput);
}

void WaylandOutput::Describe(zxdg_output_manager_v1* outputs, zwlr_output_power_manager_v1* power)
{
    if (outputs != nullptr && m_pXdgOutput == nullptr) {
        static const zxdg_output_v1_listener listener = {OnLogicalPosition, OnLogicalSize, OnXdgDone, OnXdgName,
                                                         OnXdgDescription};
        m_pXdgOutput = zxdg_output_manager_v1_get_xdg_output(outputs, m_pOutput);
        zxdg_output_v1_add_listener(m_pXdgOutput, &listener, this);
    }
    if (power != nullptr && m_pPower == nullptr) {
        static const zwlr_output_power_v1_listener listener = {OnPowerMode, OnPowerFailed};
        m_pPower = zwlr_output_power_manager_v1_get_output_power(power, m_pOutput);
        zwlr_output_power_v1_add_listener(m_pPower, &listener, this);
    }
}

bool WaylandOutput::IsDescribed() const
{
    return m_bDone && (m_pXdgOutput == nullptr || (m_logicalPosition && m_logicalSize));
}

OutputPlace WaylandOutput::Place() const
{
    OutputPlace place;
    place.scale = m_nScale;
    if (m_logicalPosition && m_logicalSize) {
        place.logical = RECT{m_logicalPosition->x, m_logicalPosition->y, m_logicalPosition->x + m_logicalSize->cx,
                             m_logicalPosition->y + m_logicalSize->cy};
        // A fractional scale shows as a logical size that is not the mode
        // divided by the integer scale.
        if (m_logicalSize->cx > 0 && m_mode.cx > 0)
            place.scale = static_cast<double>(m_mode.cx) / m_logicalSize->cx;
    } else {
        place.logical = RECT{m_position.x, m_position.y, m_position.x + m_mode.cx / m_nScale,
                             m_position.y + m_mode.cy / m_nScale};
    }
    return place;
}

void WaylandOutput::OnGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*,
                               const char*, int32_t)
{
    Of(data).m_position = POINT{x, y};
}

void WaylandOutput::OnMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    if (flags & WL_OUTPUT_MODE_CURRENT)
        Of(data).m_mode = SIZE{width, height};
}

void WaylandOutput::OnDone(void* data, wl_output*) { Of(data).m_bDone = true; }

void WaylandOutput::OnScale(void* data, wl_output*, int32_t factor) { Of(data).m_nScale = factor > 0 ? factor : 1; }

void WaylandOutput::OnName(void* data, wl_output*, const char* name) { Of(data).m_name = name; }

void WaylandOutput::OnDescription(void*, wl_output*, const char*) {}

void WaylandOutput::OnLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y)
{
    Of(data).m_logicalPosition = POINT{x, y};
}

void WaylandOutput::OnLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height)
{
    Of(data).m_logicalSize = SIZE{width, height};
}

void WaylandOutput::OnXdgDone(void*, zxdg_output_v1*) {}

void WaylandOutput::OnXdgName(void* data, zxdg_output_v1*, const char* name)
{
    if (Of(data).m_name.empty())
        Of(data).m_name = name;
}

void WaylandOutput::OnXdgDescription(void*, zxdg_output_v1*, const char*) {}

void WaylandOutput::OnPowerMode(void* data, zwlr_output_power_v1*, uint32_t mode)
{
    WaylandOutput& output = Of(data);
    const bool on = mode == ZWLR_OUTPUT_POWER_V1_MODE_ON;
    if (output.m_powerOn == on)
        return;
    output.m_powerOn = on;
    if (output.m_powerWatch)
        output.m_powerWatch();
}

void WaylandOutput::OnPowerFailed(void* data, zwlr_output_power_v1*) { Of(data).m_powerOn.reset(); }
