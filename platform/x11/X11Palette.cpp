#include "platform/x11/X11Palette.h"

#include <X11/Xutil.h>

namespace {
XColor ToXColor(unsigned long pixel, std::uint32_t rgb)
{
    XColor color{};
    color.pixel = pixel;
    color.red = static_cast<unsigned short>((rgb >> 16 & 0xFF) * 0x101);
    color.green = static_cast<unsigned short>((rgb >> 8 & 0xFF) * 0x101);
    color.blue = static_cast<unsigned short>((rgb & 0xFF) * 0x101);
    color.flags = DoRed | DoGreen | DoBlue;
    return color;
}
}

UINT X11Palette::Realize(Display* display, Window window, Visual* visual, bool install,
                         const std::vector<std::uint32_t>& colors, const std::vector<std::uint32_t>& initial)
{
    std::vector<XColor> changed;
    if (m_colormap == 0) {
        m_colormap = XCreateColormap(display, window, visual, AllocAll);
        m_colors = initial;
        m_colors.resize(static_cast<std::size_t>(visual->map_entries));
        for (std::size_t i = 0; i < m_colors.size(); ++i)
            changed.push_back(ToXColor(i, m_colors[i]));
        XStoreColors(display, m_colormap, changed.data(), static_cast<int>(changed.size()));
        XSetWindowColormap(display, window, m_colormap);
        changed.clear();
    }
    for (std::size_t i = 0; i < colors.size() && i < m_colors.size(); ++i) {
        if (m_colors[i] == (colors[i] & 0xFFFFFF))
            continue;
        m_colors[i] = colors[i] & 0xFFFFFF;
        changed.push_back(ToXColor(i, m_colors[i]));
    }
    if (!changed.empty())
        XStoreColors(display, m_colormap, changed.data(), static_cast<int>(changed.size()));
    if (install)
        XInstallColormap(display, m_colormap);
    return static_cast<UINT>(changed.size());
}

void X11Palette::Free(Display* display)
{
    if (m_colormap != 0)
        XFreeColormap(display, m_colormap);
    m_colormap = 0;
    m_colors.clear();
}
