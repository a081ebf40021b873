// A buffer of pixels in memory shared with the compositor (wl_shm), with
// the compositor's hold on it: busy from the commit that shows it until the
// compositor releases it.
#pragma once

#include "platform/present/PixelTarget.h"

#include <cstdint>
#include <memory>

struct wl_shm;
struct wl_buffer;

class ShmBuffer {
public:
    // `format` is a wl_shm format of 2 (RGB565) or 4 bytes a pixel. Null
    // when the memory cannot be had.
    static std::unique_ptr<ShmBuffer> Create(wl_shm* shm, int width, int height, int stride, std::uint32_t format);
    // The bytes of one pixel of a format that Create takes.
    static int BytesPerPixel(std::uint32_t format);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* Get() const { return m_pBuffer; }
    PixelTarget Pixels() const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::uint32_t Format() const { return m_format; }
    bool IsBusy() const { return m_bBusy; }
    // Marks the buffer as held by the compositor until it releases it.
    void Hold() { m_bBusy = true; }
    // Called whenever the compositor releases the buffer.
    void SetReleaseWatch(void (*watch)(void*), void* context);

private:
    ShmBuffer() = default;
    static void OnRelease(void* data, wl_buffer*);

    wl_buffer* m_pBuffer = nullptr;
    BYTE* m_pPixels = nullptr;
    std::size_t m_size = 0;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    int m_bytesPerPixel = 4;
    std::uint32_t m_format = 0;
    bool m_bBusy = false;
    void (*m_releaseWatch)(void*) = nullptr;
    void* m_pReleaseContext = nullptr;
};
