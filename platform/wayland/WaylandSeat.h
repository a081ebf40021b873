// The seat's keyboard, pointer and touch screen, their events handed to
// whoever shows the surfaces they happen on. The pointer is hidden over
// the saver's surfaces.
#pragma once

#include <cstdint>

struct wl_keyboard;
struct wl_pointer;
struct wl_seat;
struct wl_surface;
struct wl_touch;
struct wl_array;

class SeatInput {
public:
    // Where the pointer is on `surface`, in logical pixels: `entered` for
    // the position it has as it comes onto the surface.
    virtual void OnPointer(wl_surface* surface, double x, double y, bool entered) = 0;
    // Linux input button codes.
    virtual void OnButton(wl_surface* surface, std::uint32_t button, bool pressed) = 0;
    // Wheel steps, positive away from the user.
    virtual void OnWheel(wl_surface* surface, int steps) = 0;
    virtual void OnTouch(wl_surface* surface, double x, double y) = 0;
    // Linux input key codes.
    virtual void OnKey(std::uint32_t key, bool pressed) = 0;
    virtual void OnKeyboardFocus(wl_surface* surface, bool entered) = 0;

protected:
    ~SeatInput() = default;
};

class WaylandSeat {
public:
    explicit WaylandSeat(wl_seat* seat);
    ~WaylandSeat();
    WaylandSeat(const WaylandSeat&) = delete;
    WaylandSeat& operator=(const WaylandSeat&) = delete;

    // Null: events are dropped.
    void SetInput(SeatInput* input) { m_pInput = input; }

private:
    static void OnCapabilities(void* data, wl_seat*, uint32_t capabilities);
    static void OnName(void*, wl_seat*, const char*);
    static void OnPointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface, int32_t x,
                               int32_t y);
    static void OnPointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*);
    static void OnPointerMotion(void* data, wl_pointer*, uint32_t, int32_t x, int32_t y);
    static void OnPointerButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state);
    static void OnPointerAxis(void* data, wl_pointer*, uint32_t, uint32_t axis, int32_t value);
    static void OnPointerFrame(void*, wl_pointer*);
    static void OnPointerAxisSource(void*, wl_pointer*, uint32_t);
    static void OnPointerAxisStop(void*, wl_pointer*, uint32_t, uint32_t);
    static void OnPointerAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t);
    static void OnKeymap(void*, wl_keyboard*, uint32_t, int32_t descriptor, uint32_t);
    static void OnKeyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*);
    static void OnKeyboardLeave(void* data, wl_keyboard*, uint32_t, wl_surface* surface);
    static void OnKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state);
    static void OnModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
    static void OnRepeatInfo(void*, wl_keyboard*, int32_t, int32_t);
    static void OnTouchDown(void* data, wl_touch*, uint32_t, uint32_t, wl_surface* surface, int32_t, int32_t x,
                            int32_t y);
    static void OnTouchUp(void*, wl_touch*, uint32_t, uint32_t, int32_t);
    static void OnTouchMotion(void*, wl_touch*, uint32_t, int32_t, int32_t, int32_t);
    static void OnTouchFrame(void*, wl_touch*);
    static void OnTouchCancel(void*, wl_touch*);

    wl_seat* m_pSeat;
    wl_pointer* m_pPointer = nullptr;
    wl_keyboard* m_pKeyboard = nullptr;
    wl_touch* m_pTouch = nullptr;
    wl_surface* m_pPointerSurface = nullptr;
    SeatInput* m_pInput = nullptr;
};
