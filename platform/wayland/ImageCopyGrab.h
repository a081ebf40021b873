// An output's picture through the standard image copy capture: a session on
// the output as a capture source, whose constraints name the buffer, then
// one frame copied into it.
#pragma once

#include "platform/wayland/OutputGrab.h"

struct ext_image_capture_source_v1;
struct ext_image_copy_capture_session_v1;
struct ext_image_copy_capture_frame_v1;
struct wl_array;
class WaylandOutput;

class ImageCopyGrab : public OutputGrab {
public:
    ImageCopyGrab(WaylandConnection& connection, WaylandOutput& output, const OutputPart& part);
    ~ImageCopyGrab() override;

private:
    static ImageCopyGrab& Of(void* data) { return *static_cast<ImageCopyGrab*>(data); }
    static void OnBufferSize(void* data, ext_image_copy_capture_session_v1*, uint32_t width, uint32_t height);
    static void OnShmFormat(void* data, ext_image_copy_capture_session_v1*, uint32_t format);
    static void OnDmabufDevice(void*, ext_image_copy_capture_session_v1*, wl_array*) {}
    static void OnDmabufFormat(void*, ext_image_copy_capture_session_v1*, uint32_t, wl_array*) {}
    static void OnConstraintsDone(void* data, ext_image_copy_capture_session_v1*);
    static void OnStopped(void* data, ext_image_copy_capture_session_v1*);
    static void OnTransform(void*, ext_image_copy_capture_frame_v1*, uint32_t) {}
    static void OnDamage(void*, ext_image_copy_capture_frame_v1*, int32_t, int32_t, int32_t, int32_t) {}
    static void OnPresentationTime(void*, ext_image_copy_capture_frame_v1*, uint32_t, uint32_t, uint32_t) {}
    static void OnReady(void* data, ext_image_copy_capture_frame_v1*);
    static void OnFailed(void* data, ext_image_copy_capture_frame_v1*, uint32_t);

    // With the constraints known: one frame copied into a buffer made to them.
    void Capture();

    ext_image_capture_source_v1* m_pSource = nullptr;
    ext_image_copy_capture_session_v1* m_pSession = nullptr;
    ext_image_copy_capture_frame_v1* m_pFrame = nullptr;
};
