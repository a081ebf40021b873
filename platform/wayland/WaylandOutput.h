// One output of the compositor: its name, its place in the logical layout,
// its scale and, where the compositor tells it, whether its power is on.
#pragma once

#include "platform/wayland/OutputLayout.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct wl_output;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
struct zwlr_output_power_manager_v1;
struct zwlr_output_power_v1;

class WaylandOutput {
public:
    WaylandOutput(wl_output* output, std::uint32_t name, std::uint32_t version);
    ~WaylandOutput();
    WaylandOutput(const WaylandOutput&) = delete;
    WaylandOutput& operator=(const WaylandOutput&) = delete;

    // Asks for the logical place and the power, where offered.
    void Describe(zxdg_output_manager_v1* outputs, zwlr_output_power_manager_v1* power);
    // Called whenever the output's power changes.
    void SetPowerWatch(std::function<void()> watch) { m_powerWatch = std::move(watch); }

    wl_output* Get() const { return m_pOutput; }
    std::uint32_t GlobalName() const { return m_nGlobal; }
    const std::string& Name() const { return m_name; }
    // True once the compositor has described the output completely.
    bool IsDescribed() const;
    OutputPlace Place() const;
    int IntegerScale() const { return m_nScale; }
    // Nothing when the compositor does not tell the power.
    std::optional<bool> PowerOn() const { return m_powerOn; }

private:
    static void OnGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*,
                           const char*, int32_t);
    static void OnMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t);
    static void OnDone(void* data, wl_output*);
    static void OnScale(void* data, wl_output*, int32_t factor);
    static void OnName(void* data, wl_output*, const char* name);
    static void OnDescription(void*, wl_output*, const char*);
    static void OnLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y);
    static void OnLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height);
    static void OnXdgDone(void*, zxdg_output_v1*);
    static void OnXdgName(void* data, zxdg_output_v1*, const char* name);
    static void OnXdgDescription(void*, zxdg_output_v1*, const char*);
    static void OnPowerMode(void* data, zwlr_output_power_v1*, uint32_t mode);
    static void OnPowerFailed(void* data, zwlr_output_power_v1*);

    wl_output* m_pOutput;
    zxdg_output_v1* m_pXdgOutput = nullptr;
    zwlr_output_power_v1* m_pPower = nullptr;
    std::uint32_t m_nGlobal;
    std::uint32_t m_nVersion;
    std::string m_name;
    POINT m_position{0, 0};
    SIZE m_mode{0, 0};
    std::optional<POINT> m_logicalPosition;
    std::optional<SIZE> m_logicalSize;
    int m_nScale = 1;
    bool m_bDone = false;
    std::optional<bool> m_powerOn;
    std::function<void()> m_powerWatch;
};
