// Pictures of the units for the documentation, as binary PPM files that a
// script turns into PNG and GIF: a contact sheet of every frame, enlarged
// on a checker background, and the frames of a short parade.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

RgbImage ContactSheet(int scale);
// Thirty frames, enough for every cycle to come round: each unit walks in
// place in its lane over a ground line that slides by the unit's step.
std::vector<RgbImage> ParadeFrames();
void WritePpm(const RgbImage& image, const std::filesystem::path& path);
