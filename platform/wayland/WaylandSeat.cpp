#include "platform/wayland/WaylandSeat.h"

#include <unistd.h>
#include <wayland-client.h>

namespace {
WaylandSeat& Of(void* data) { return *static_cast<WaylandSeat*>(data); }
}

WaylandSeat::WaylandSeat(wl_seat* seat) : m_pSeat(seat)
{
    static const wl_seat_listener listener = {OnCapabilities, OnName};
    if (m_pSeat != nullptr)
        wl_seat_add_listener(m_pSeat, &listener, this);
}

WaylandSeat::~WaylandSeat()
{
    if (m_pPointer != nullptr)
        wl_pointer_release(m_pPointer);
    if (m_pKeyboard != nullptr)
        wl_keyboard_release(m_pKeyboard);
    if (m_pTouch != nullptr)
        wl_touch_release(m_pTouch);
    if (m_pSeat != nullptr)
        wl_seat_release(m_pSeat);
}

void WaylandSeat::OnCapabilities(void* data, wl_seat* seat, uint32_t capabilities)
{
    // The seat is bound at version 5: the events of later versions never come.
    static const wl_pointer_listener pointer = {OnPointerEnter,      OnPointerLeave,    OnPointerMotion,
                                                OnPointerButton,     OnPointerAxis,     OnPointerFrame,
                                                OnPointerAxisSource, OnPointerAxisStop, OnPointerAxisDiscrete,
                                                nullptr};
    static const wl_keyboard_listener keyboard = {OnKeymap, OnKeyboardEnter, OnKeyboardLeave,
                                                  OnKey,    OnModifiers,     OnRepeatInfo};
    static const wl_touch_listener touch = {OnTouchDown,  OnTouchUp,     OnTouchMotion, OnTouchFrame,
                                            OnTouchCancel, nullptr, nullptr};
    WaylandSeat& self = Of(data);
    if ((capabilities & WL_SEAT_CAPABILITY_POINTER) && self.m_pPointer == nullptr) {
        self.m_pPointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(self.m_pPointer, &pointer, &self);
    }
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && self.m_pKeyboard == nullptr) {
        self.m_pKeyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(self.m_pKeyboard, &keyboard, &self);
    }
    if ((capabilities & WL_SEAT_CAPABILITY_TOUCH) && self.m_pTouch == nullptr) {
        self.m_pTouch = wl_seat_get_touch(seat);
        wl_touch_add_listener(self.m_pTouch, &touch, &self);
    }
}

void WaylandSeat::OnName(void*, wl_seat*, const char*) {}

void WaylandSeat::OnPointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface, int32_t x,
                                 int32_t y)
{
    WaylandSeat& self = Of(data);
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    self.m_pPointerSurface = surface;
    if (self.m_pInput != nullptr)
        self.m_pInput->OnPointer(surface, wl_fixed_to_double(x), wl_fixed_to_double(y), true);
}

void WaylandSeat::OnPointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*) { Of(data).m_pPointerSurface = nullptr; }

void WaylandSeat::OnPointerMotion(void* data, wl_pointer*, uint32_t, int32_t x, int32_t y)
{
    WaylandSeat& self = Of(data);
    if (self.m_pInput != nullptr && self.m_pPointerSurface != nullptr)
        self.m_pInput->OnPointer(self.m_pPointerSurface, wl_fixed_to_double(x), wl_fixed_to_double(y), false);
}

void WaylandSeat::OnPointerButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state)
{
    WaylandSeat& self = Of(data);
    if (self.m_pInput != nullptr && self.m_pPointerSurface != nullptr)
        self.m_pInput->OnButton(self.m_pPointerSurface, button, state == WL_POINTER_BUTTON_STATE_PRESSED);
}

void WaylandSeat::OnPointerAxis(void* data, wl_pointer*, uint32_t, uint32_t axis, int32_t value)
{
    WaylandSeat& self = Of(data);
    if (self.m_pInput == nullptr || self.m_pPointerSurface == nullptr || axis != WL_POINTER_AXIS_VERTICAL_SCROLL ||
        value == 0)
        return;
    self.m_pInput->OnWheel(self.m_pPointerSurface, value < 0 ? 1 : -1);
}

void WaylandSeat::OnPointerFrame(void*, wl_pointer*) {}
void WaylandSeat::OnPointerAxisSource(void*, wl_pointer*, uint32_t) {}
void WaylandSeat::OnPointerAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void WaylandSeat::OnPointerAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

void WaylandSeat::OnKeymap(void*, wl_keyboard*, uint32_t, int32_t descriptor, uint32_t) { close(descriptor); }

void WaylandSeat::OnKeyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*)
{
    WaylandSeat& self = Of(data);
    if (self.m_pInput != nullptr)
        self.m_pInput->OnKeyboardFocus(surface, true);
}

void WaylandSeat::OnKeyboardLeave(void* data, wl_keyboard*, uint32_t, wl_surface* surface)
{
    WaylandSeat& self = Of(data);
    if (self.m_pInput != nullptr)
        self.m_pInput->OnKeyboardFocus(surface, false);
}

void WaylandSeat::OnKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state)
{
    WaylandSeat& self = Of(data);
    if (self.m_pInput != nullptr)
        self.m_pInput->OnKey(key, state == WL_KEYBOARD_KEY_STATE_PRESSED);
}

void WaylandSeat::OnModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void WaylandSeat::OnRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

void WaylandSeat::OnTouchDown(void* data, wl_touch*, uint32_t, uint32_t, wl_surface* surface, int32_t, int32_t x,
                              int32_t y)
{
    WaylandSeat& self = Of(data);
    if (self.m_pInput != nullptr)
        self.m_pInput->OnTouch(surface, wl_fixed_to_double(x), wl_fixed_to_double(y));
}

void WaylandSeat::OnTouchUp(void*, wl_touch*, uint32_t, uint32_t, int32_t) {}
void WaylandSeat::OnTouchMotion(void*, wl_touch*, uint32_t, int32_t, int32_t, int32_t) {}
void WaylandSeat::OnTouchFrame(void*, wl_touch*) {}
void WaylandSeat::OnTouchCancel(void*, wl_touch*) {}
