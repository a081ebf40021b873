#include "platform/gtk/GtkIconImages.h"

#include <cstdlib>

namespace {

constexpr std::size_t DIRECTORY_SIZE = 6;
constexpr std::size_t ENTRY_SIZE = 16;

DWORD ReadDword(const BYTE* bytes)
{
    return static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8) | (static_cast<DWORD>(bytes[2]) << 16) |
           (static_cast<DWORD>(bytes[3]) << 24);
}

// One image of the file, wrapped as an icon file of its own so that the
// pixbuf loader reads exactly that image.
GdkPixbuf* LoadImage(const BYTE* entry, const BYTE* image, std::size_t imageSize)
{
    std::vector<BYTE> single = {0, 0, 1, 0, 1, 0};
    single.insert(single.end(), entry, entry + 12);
    const DWORD offset = DIRECTORY_SIZE + ENTRY_SIZE;
    for (int shift = 0; shift < 32; shift += 8)
        single.push_back(static_cast<BYTE>(offset >> shift));
    single.insert(single.end(), image, image + imageSize);

    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("ico", nullptr);
    if (loader == nullptr)
        return nullptr;
    GdkPixbuf* pixbuf = nullptr;
    if (gdk_pixbuf_loader_write(loader, single.data(), single.size(), nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr)) {
        pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
        if (pixbuf != nullptr)
            g_object_ref(pixbuf);
    } else {
        gdk_pixbuf_loader_close(loader, nullptr);
    }
    g_object_unref(loader);
    return pixbuf;
}

}

GtkIconImages::GtkIconImages(const ResourceBlock& icon)
{
    if (icon.data == nullptr || icon.size < DIRECTORY_SIZE)
        return;
    const BYTE* bytes = icon.data;
    if (bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 1 || bytes[3] != 0)
        return;
    const std::size_t count = bytes[4] | (bytes[5] << 8);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = DIRECTORY_SIZE + i * ENTRY_SIZE;
        if (at + ENTRY_SIZE > icon.size)
            break;
        const std::size_t imageSize = ReadDword(bytes + at + 8);
        const std::size_t imageOffset = ReadDword(bytes + at + 12);
        if (imageOffset > icon.size || imageSize > icon.size - imageOffset)
            continue;
        if (GdkPixbuf* image = LoadImage(bytes + at, bytes + imageOffset, imageSize))
            m_images.push_back(image);
    }
}

GtkIconImages::~GtkIconImages()
{
    for (GdkPixbuf* image : m_images)
        g_object_unref(image);
}

GdkPixbuf* GtkIconImages::Nearest(int size) const
{
    GdkPixbuf* nearest = nullptr;
    for (GdkPixbuf* image : m_images)
        if (nearest == nullptr ||
            std::abs(gdk_pixbuf_get_width(image) - size) < std::abs(gdk_pixbuf_get_width(nearest) - size))
            nearest = image;
    return nearest;
}

GList* GtkIconImages::List() const
{
    GList* list = nullptr;
    for (GdkPixbuf* image : m_images)
        list = g_list_append(list, image);
    return list;
}
