#include "platform/wayland/ImageCopyGrab.h"

#include "ext-image-capture-source-v1-client-protocol.h"
#include "ext-image-copy-capture-v1-client-protocol.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandOutput.h"

ImageCopyGrab::ImageCopyGrab(WaylandConnection& connection, WaylandOutput& output, const OutputPart& part)
    : OutputGrab(connection, part)
{
    static const ext_image_copy_capture_session_v1_listener listener = {
        OnBufferSize, OnShmFormat, OnDmabufDevice, OnDmabufFormat, OnConstraintsDone, OnStopped};
    m_pSource = ext_output_image_capture_source_manager_v1_create_source(connection.ImageSources(), output.Get());
    // Without the pointer, which the saver hides.
    m_pSession = ext_image_copy_capture_manager_v1_create_session(connection.ImageCopy(), m_pSource, 0);
    ext_image_copy_capture_session_v1_add_listener(m_pSession, &listener, this);
}

ImageCopyGrab::~ImageCopyGrab()
{
    if (m_pFrame != nullptr)
        ext_image_copy_capture_frame_v1_destroy(m_pFrame);
    ext_image_copy_capture_session_v1_destroy(m_pSession);
    ext_image_capture_source_v1_destroy(m_pSource);
}

void ImageCopyGrab::OnBufferSize(void* data, ext_image_copy_capture_session_v1*, uint32_t width, uint32_t height)
{
    ImageCopyGrab& grab = Of(data);
    grab.m_width = static_cast<int>(width);
    grab.m_height = static_cast<int>(height);
    grab.m_stride = grab.m_width * 4;
}

void ImageCopyGrab::OnShmFormat(void* data, ext_image_copy_capture_session_v1*, uint32_t format)
{
    Of(data).OfferFormat(format);
}

void ImageCopyGrab::OnConstraintsDone(void* data, ext_image_copy_capture_session_v1*)
{
    // Constraints told again later change nothing: one frame is enough.
    ImageCopyGrab& grab = Of(data);
    if (grab.m_pFrame == nullptr && !grab.IsOver())
        grab.Capture();
}

void ImageCopyGrab::OnStopped(void* data, ext_image_copy_capture_session_v1*)
{
    ImageCopyGrab& grab = Of(data);
    if (!grab.m_bReady)
        grab.m_bFailed = true;
}

void ImageCopyGrab::OnReady(void* data, ext_image_copy_capture_frame_v1*) { Of(data).m_bReady = true; }

void ImageCopyGrab::OnFailed(void* data, ext_image_copy_capture_frame_v1*, uint32_t) { Of(data).m_bFailed = true; }

void ImageCopyGrab::Capture()
{
    ShmBuffer* buffer = MakeBuffer();
    if (buffer == nullptr)
        return;
    static const ext_image_copy_capture_frame_v1_listener listener = {OnTransform, OnDamage, OnPresentationTime,
                                                                      OnReady, OnFailed};
    m_pFrame = ext_image_copy_capture_session_v1_create_frame(m_pSession);
    ext_image_copy_capture_frame_v1_add_listener(m_pFrame, &listener, this);
    ext_image_copy_capture_frame_v1_attach_buffer(m_pFrame, buffer->Get());
    ext_image_copy_capture_frame_v1_damage_buffer(m_pFrame, 0, 0, m_width, m_height);
    ext_image_copy_capture_frame_v1_capture(m_pFrame);
}
