// The pictures of an icon resource (the bytes of an .ico file) as pixbufs,
// one per image the file holds.
#pragma once

#include "platform/Resources.h"

#include <gtk/gtk.h>

#include <vector>

class GtkIconImages {
public:
    explicit GtkIconImages(const ResourceBlock& icon);
    ~GtkIconImages();
    GtkIconImages(const GtkIconImages&) = delete;
    GtkIconImages& operator=(const GtkIconImages&) = delete;

    bool Empty() const { return m_images.empty(); }
    // The image whose width is nearest to `size`; null when there is none.
    GdkPixbuf* Nearest(int size) const;
    // Every image, for a window's icon list (the list is the caller's to
    // free; the pixbufs stay this object's).
    GList* List() const;

private:
    std::vector<GdkPixbuf*> m_images;
};
