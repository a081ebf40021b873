// Draws one sprite frame from shaded shapes. Every shape is a part; later
// parts cover earlier ones. Finishing adds the dark outline around the
// figure and fills every gap that the background could not reach.
#pragma once

#include "tools/assets/IndexedImage.h"
#include "tools/assets/Palette.h"

#include <cstdint>
#include <vector>

// Background enclosed by a figure must be at least this many pixels to be
// kept as a see-through gap; smaller specks are filled.
constexpr std::size_t kSmallestGap = 6;

struct Vec {
    double x = 0;
    double y = 0;
};

inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
inline Vec operator*(Vec a, double s) { return {a.x * s, a.y * s}; }
Vec Lerp(Vec a, Vec b, double t);
double Length(Vec v);
// The point at the given length along the direction of the angle (radians,
// 0 pointing right, positive turning downwards on screen).
Vec Polar(Vec origin, double angle, double length);

enum class Finish { Matte, Shiny };

class SpriteCanvas {
public:
    SpriteCanvas(int width, int height);

    // Mirrored, every shape given facing right is drawn facing left; the
    // light still comes from the upper left of the picture.
    void SetMirrored(bool mirrored) { m_mirrored = mirrored; }

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // A lit ellipse, rounded like a ball.
    void Ellipse(Vec centre, double rx, double ry, const Ramp& ramp, Finish finish = Finish::Matte);
    // A rounded, tapering limb from a (radius ra) to b (radius rb).
    void Limb(Vec a, Vec b, double ra, double rb, const Ramp& ramp, Finish finish = Finish::Matte);
    // A flat shape: light along its upper and left edges, shadow along its
    // lower and right ones.
    void Polygon(const std::vector<Vec>& points, const Ramp& ramp);
    // A one-pixel line in a single colour, as a part of its own.
    void Line(Vec a, Vec b, std::uint8_t index);
    // A detail pixel on the part below it (no new part).
    void Dot(int x, int y, std::uint8_t index);
    // Recolours a rectangle of already drawn pixels (armour bands, belts).
    void Band(int left, int top, int right, int bottom, std::uint8_t index);

    // Overlapping scales over every pixel of the material drawn so far,
    // laid out from the anchor so that they move with what wears them.
    void Scales(const Ramp& ramp, Vec anchor);

    IndexedImage Finished() const;

private:
    struct Cell {
        int part = -1;
        std::uint8_t index = kKeyIndex;
        std::uint8_t rampBase = 0;
        std::uint8_t rampShadow = 0;
    };
    void Put(int x, int y, std::uint8_t index, const Ramp& ramp);
    Vec Place(Vec p) const { return m_mirrored ? Vec{m_width - p.x, p.y} : p; }
    Cell& At(int x, int y) { return m_cells[static_cast<std::size_t>(y * m_width + x)]; }
    const Cell& At(int x, int y) const { return m_cells[static_cast<std::size_t>(y * m_width + x)]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    int m_width;
    int m_height;
    int m_part = 0;
    bool m_mirrored = false;
    std::vector<Cell> m_cells;
};

// Picks the shade of a ramp for a surface normal (nx, ny pointing out of
// the picture plane's outline, each -1 to 1) under the light from the top left.
std::uint8_t ShadeFor(const Ramp& ramp, double nx, double ny, Finish finish);
