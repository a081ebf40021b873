#include "platform/virtual/FillScreen.h"

#include <algorithm>

std::vector<BYTE> FillScreen(const RgbPicture& picture, SIZE size)
{
    const double scale = std::max(static_cast<double>(size.cx) / picture.width,
                                  static_cast<double>(size.cy) / picture.height);
    const double left = (picture.width - size.cx / scale) / 2;
    const double top = (picture.height - size.cy / scale) / 2;
    auto at = [&picture](int x, int y, int channel) {
        return static_cast<double>(
            picture.rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(x)) * 3 +
                        static_cast<std::size_t>(channel)]);
    };
    std::vector<BYTE> rows(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy) * 3);
    auto out = rows.begin();
    for (int y = 0; y < size.cy; ++y) {
        const double sourceY = std::clamp(top + (y + 0.5) / scale - 0.5, 0.0, picture.height - 1.0);
        const int y0 = static_cast<int>(sourceY);
        const int y1 = std::min(y0 + 1, picture.height - 1);
        const double fy = sourceY - y0;
        for (int x = 0; x < size.cx; ++x) {
            const double sourceX = std::clamp(left + (x + 0.5) / scale - 0.5, 0.0, picture.width - 1.0);
            const int x0 = static_cast<int>(sourceX);
            const int x1 = std::min(x0 + 1, picture.width - 1);
            const double fx = sourceX - x0;
            for (int channel = 0; channel < 3; ++channel) {
                const double upper = at(x0, y0, channel) * (1 - fx) + at(x1, y0, channel) * fx;
                const double lower = at(x0, y1, channel) * (1 - fx) + at(x1, y1, channel) * fx;
                *out++ = static_cast<BYTE>(upper * (1 - fy) + lower * fy + 0.5);
            }
        }
    }
    return rows;
}
