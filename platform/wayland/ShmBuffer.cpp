#include "platform/wayland/ShmBuffer.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

int ShmBuffer::BytesPerPixel(std::uint32_t format) { return format == WL_SHM_FORMAT_RGB565 ? 2 : 4; }

std::unique_ptr<ShmBuffer> ShmBuffer::Create(wl_shm* shm, int width, int height, int stride, std::uint32_t format)
{
    const int bytesPerPixel = BytesPerPixel(format);
    if (shm == nullptr || width <= 0 || height <= 0 || stride < width * bytesPerPixel)
        return nullptr;
    const std::size_t size = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    if (size > 0x7FFFFFFF)
        return nullptr;
    const int descriptor = memfd_create("dovezi-pixels", MFD_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    std::unique_ptr<ShmBuffer> buffer(new ShmBuffer);
    void* memory = MAP_FAILED;
    if (ftruncate(descriptor, static_cast<off_t>(size)) == 0)
        memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0);
    if (memory == MAP_FAILED) {
        close(descriptor);
        return nullptr;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm, descriptor, static_cast<int32_t>(size));
    buffer->m_pBuffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, format);
    wl_shm_pool_destroy(pool);
    close(descriptor);
    buffer->m_pPixels = static_cast<BYTE*>(memory);
    buffer->m_size = size;
    buffer->m_width = width;
    buffer->m_height = height;
    buffer->m_stride = stride;
    buffer->m_bytesPerPixel = bytesPerPixel;
    buffer->m_format = format;
    static const wl_buffer_listener listener = {OnRelease};
    wl_buffer_add_listener(buffer->m_pBuffer, &listener, buffer.get());
    return buffer;
}

ShmBuffer::~ShmBuffer()
{
    if (m_pBuffer != nullptr)
        wl_buffer_destroy(m_pBuffer);
    if (m_pPixels != nullptr)
        munmap(m_pPixels, m_size);
}

PixelTarget ShmBuffer::Pixels() const { return PixelTarget{m_pPixels, m_width, m_height, m_stride, m_bytesPerPixel}; }

void ShmBuffer::SetReleaseWatch(void (*watch)(void*), void* context)
{
    m_releaseWatch = watch;
    m_pReleaseContext = context;
}

void ShmBuffer::OnRelease(void* data, wl_buffer*)
{
    auto& buffer = *static_cast<ShmBuffer*>(data);
    buffer.m_bBusy = false;
    if (buffer.m_releaseWatch != nullptr)
        buffer.m_releaseWatch(buffer.m_pReleaseContext);
}
