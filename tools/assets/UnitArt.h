// The seven units' walk cycles, drawn frame by frame, and what the module
// needs to know about each strip.
#pragma once

#include "tools/assets/IndexedImage.h"

#include <string>
#include <vector>

struct UnitArt {
    int resourceId;
    const char* fileName;
    int frameWidth;
    int frameHeight;
    int frames;
    IndexedImage (*drawFrame)(int frame);
};

// The units in lane order.
const std::vector<UnitArt>& UnitArtTable();
std::vector<IndexedImage> DrawFrames(const UnitArt& unit);

IndexedImage DrawVozuzuvirFrame(int frame);
IndexedImage DrawLegionFrame(int frame);
IndexedImage DrawCataphractFrame(int frame);
IndexedImage DrawVillagerFrame(int frame);
IndexedImage DrawChariotFrame(int frame);
IndexedImage DrawPriestFrame(int frame);
IndexedImage DrawScoutFrame(int frame);
