#include "platform/queue/Region.h"

#include <algorithm>

namespace {
constexpr std::size_t MAX_REGION_RECTS = 64;

bool Touches(const RECT& a, const RECT& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

RECT Union(const RECT& a, const RECT& b)
{
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}
}

void AddToRegion(std::vector<RECT>& region, const RECT& rect)
{
    RECT merged = rect;
    bool grew = true;
    while (grew) {
        grew = false;
        for (auto it = region.begin(); it != region.end(); ++it) {
            if (Touches(*it, merged)) {
                merged = Union(*it, merged);
                region.erase(it);
                grew = true;
                break;
            }
        }
    }
    region.push_back(merged);
    if (region.size() > MAX_REGION_RECTS)
        region = {BoundingRect(region)};
}

RECT BoundingRect(const std::vector<RECT>& region)
{
    if (region.empty())
        return RECT{0, 0, 0, 0};
    RECT bounds = region.front();
    for (const RECT& rect : region)
        bounds = Union(bounds, rect);
    return bounds;
}

