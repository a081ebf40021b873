#include "tools/assets/SpriteCanvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

Vec Lerp(Vec a, Vec b, double t) { return a + (b - a) * t; }
double Length(Vec v) { return std::hypot(v.x, v.y); }
Vec Polar(Vec origin, double angle, double length)
{
    return {origin.x + std::cos(angle) * length, origin.y + std::sin(angle) * length};
}

std::uint8_t ShadeFor(const Ramp& ramp, double nx, double ny, Finish finish)
{
    const double flat = std::max(0.0, 1.0 - nx * nx - ny * ny);
    const double nz = std::sqrt(flat);
    // Light from the upper left and somewhat in front.
    const double light = -0.48 * nx - 0.62 * ny + 0.62 * nz;
    if (finish == Finish::Shiny && light > 0.9)
        return ramp.highlight;
    if (light > 0.62)
        return ramp.light;
    if (light > 0.2)
        return ramp.base;
    return ramp.shadow;
}

SpriteCanvas::SpriteCanvas(int width, int height)
    : m_width(width), m_height(height), m_cells(static_cast<std::size_t>(width * height))
{
}

void SpriteCanvas::Put(int x, int y, std::uint8_t index, const Ramp& ramp)
{
    if (!Inside(x, y))
        return;
    Cell& cell = At(x, y);
    cell.part = m_part;
    cell.index = index;
    cell.rampBase = ramp.base;
    cell.rampShadow = ramp.shadow;
}

void SpriteCanvas::Ellipse(Vec centre, double rx, double ry, const Ramp& ramp, Finish finish)
{
    ++m_part;
    centre = Place(centre);
    const int left = static_cast<int>(std::floor(centre.x - rx));
    const int right = static_cast<int>(std::ceil(centre.x + rx));
    const int top = static_cast<int>(std::floor(centre.y - ry));
    const int bottom = static_cast<int>(std::ceil(centre.y + ry));
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const double nx = (x + 0.5 - centre.x) / rx;
            const double ny = (y + 0.5 - centre.y) / ry;
            if (nx * nx + ny * ny <= 1.0)
                Put(x, y, ShadeFor(ramp, nx, ny, finish), ramp);
        }
}

void SpriteCanvas::Limb(Vec a, Vec b, double ra, double rb, const Ramp& ramp, Finish finish)
{
    ++m_part;
    a = Place(a);
    b = Place(b);
    const double reach = std::max(ra, rb) + 1;
    const int left = static_cast<int>(std::floor(std::min(a.x, b.x) - reach));
    const int right = static_cast<int>(std::ceil(std::max(a.x, b.x) + reach));
    const int top = static_cast<int>(std::floor(std::min(a.y, b.y) - reach));
    const int bottom = static_cast<int>(std::ceil(std::max(a.y, b.y) + reach));
    const Vec axis = b - a;
    const double axisLength2 = std::max(1e-9, axis.x * axis.x + axis.y * axis.y);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const Vec p{x + 0.5, y + 0.5};
            const double t = std::clamp(((p.x - a.x) * axis.x + (p.y - a.y) * axis.y) / axisLength2, 0.0, 1.0);
            const Vec offset = p - Lerp(a, b, t);
            const double radius = ra + (rb - ra) * t;
            const double distance = Length(offset);
            if (distance <= radius)
                Put(x, y, ShadeFor(ramp, offset.x / radius, offset.y / radius, finish), ramp);
        }
}

namespace {
bool InsidePolygon(const std::vector<Vec>& points, double x, double y)
{
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Vec& a = points[i];
        const Vec& b = points[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}
}

void SpriteCanvas::Polygon(const std::vector<Vec>& shape, const Ramp& ramp)
{
    ++m_part;
    std::vector<Vec> points;
    for (const auto& p : shape)
        points.push_back(Place(p));
    double left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
    for (const auto& p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    auto inside = [&](int x, int y) { return InsidePolygon(points, x + 0.5, y + 0.5); };
    for (int y = static_cast<int>(std::floor(top)); y <= static_cast<int>(std::ceil(bottom)); ++y)
        for (int x = static_cast<int>(std::floor(left)); x <= static_cast<int>(std::ceil(right)); ++x) {
            if (!inside(x, y))
                continue;
            std::uint8_t index = ramp.base;
            if (!inside(x, y - 1) || !inside(x - 1, y))
                index = ramp.light;
            else if (!inside(x, y + 1) || !inside(x + 1, y))
                index = ramp.shadow;
            Put(x, y, index, ramp);
        }
}

void SpriteCanvas::Line(Vec a, Vec b, std::uint8_t index)
{
    ++m_part;
    a = Place(a);
    b = Place(b);
    const Ramp flat{index, index, index, index};
    int x0 = static_cast<int>(std::floor(a.x)), y0 = static_cast<int>(std::floor(a.y));
    const int x1 = static_cast<int>(std::floor(b.x)), y1 = static_cast<int>(std::floor(b.y));
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (true) {
        Put(x0, y0, index, flat);
        if (x0 == x1 && y0 == y1)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void SpriteCanvas::Dot(int x, int y, std::uint8_t index)
{
    if (m_mirrored)
        x = m_width - 1 - x;
    if (Inside(x, y) && At(x, y).part >= 0)
        At(x, y).index = index;
}

void SpriteCanvas::Band(int left, int top, int right, int bottom, std::uint8_t index)
{
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            Dot(x, y, index);
}

void SpriteCanvas::Scales(const Ramp& ramp, Vec anchor)
{
    anchor = Place(anchor);
    const int left = static_cast<int>(std::floor(anchor.x)) + 4 * m_width;
    const int top = static_cast<int>(std::floor(anchor.y)) + 4 * m_height;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            Cell& cell = At(x, y);
            const int row = y - top + 8 * m_height;
            if (cell.part < 0 || cell.rampBase != ramp.base || row % 2 != 0)
                continue;
            // Each row of scales is offset by half a scale from the one above.
            const int column = x - left + 8 * m_width + ((row / 2) % 2) * 2;
            if (column % 4 == 0)
                cell.index = ramp.shadow;
            else if (column % 4 == 1 && cell.index == ramp.base)
                cell.index = ramp.light;
        }
}

IndexedImage SpriteCanvas::Finished() const
{
    IndexedImage image(m_width, m_height, kKeyIndex);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            const Cell& cell = At(x, y);
            image.At(x, y) = cell.index;
            if (cell.part < 0)
                continue;
            // A part lying behind another of the same material gets a dark seam.
            constexpr int around[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& step : around) {
                const int nx = x + step[0], ny = y + step[1];
                if (Inside(nx, ny) && At(nx, ny).part > cell.part && At(nx, ny).rampBase == cell.rampBase &&
                    At(nx, ny).part >= 0)
                    image.At(x, y) = cell.rampShadow;
            }
        }
    IndexedImage outlined = image;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            if (image.At(x, y) != kKeyIndex)
                continue;
            const bool touches = (x > 0 && image.At(x - 1, y) != kKeyIndex) ||
                                 (x + 1 < m_width && image.At(x + 1, y) != kKeyIndex) ||
                                 (y > 0 && image.At(x, y - 1) != kKeyIndex) ||
                                 (y + 1 < m_height && image.At(x, y + 1) != kKeyIndex);
            if (touches)
                outlined.At(x, y) = Ramps::outline;
        }
    // Background enclosed by the figure stays only where it is a real gap;
    // specks are filled with the outline colour.
    std::vector<int> region(static_cast<std::size_t>(m_width * m_height), -1);
    std::vector<std::size_t> regionSize;
    std::vector<bool> regionOpen;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            if (outlined.At(x, y) != kKeyIndex || region[static_cast<std::size_t>(y * m_width + x)] >= 0)
                continue;
            const int id = static_cast<int>(regionSize.size());
            regionSize.push_back(0);
            regionOpen.push_back(false);
            std::vector<std::pair<int, int>> open{{x, y}};
            region[static_cast<std::size_t>(y * m_width + x)] = id;
            while (!open.empty()) {
                const auto [cx, cy] = open.back();
                open.pop_back();
                ++regionSize.back();
                if (cx == 0 || cy == 0 || cx == m_width - 1 || cy == m_height - 1)
                    regionOpen.back() = true;
                constexpr int around[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
                for (const auto& step : around) {
                    const int nx = cx + step[0], ny = cy + step[1];
                    if (Inside(nx, ny) && outlined.At(nx, ny) == kKeyIndex &&
                        region[static_cast<std::size_t>(ny * m_width + nx)] < 0) {
                        region[static_cast<std::size_t>(ny * m_width + nx)] = id;
                        open.emplace_back(nx, ny);
                    }
                }
            }
        }
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            const int id = region[static_cast<std::size_t>(y * m_width + x)];
            if (id >= 0 && !regionOpen[static_cast<std::size_t>(id)] &&
                regionSize[static_cast<std::size_t>(id)] < kSmallestGap)
                outlined.At(x, y) = Ramps::outline;
        }
    return outlined;
}
