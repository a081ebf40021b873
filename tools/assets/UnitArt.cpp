#include "tools/assets/UnitArt.h"

const std::vector<UnitArt>& UnitArtTable()
{
    static const std::vector<UnitArt> table = {
        {130, "vozuzuvir.bmp", 52, 52, 10, DrawVozuzuvirFrame},
        {133, "legion.bmp", 64, 44, 10, DrawLegionFrame},
        {131, "cataphract.bmp", 90, 63, 10, DrawCataphractFrame},
        {134, "villager.bmp", 28, 40, 15, DrawVillagerFrame},
        {132, "chariot.bmp", 116, 87, 10, DrawChariotFrame},
        {135, "priest.bmp", 48, 53, 15, DrawPriestFrame},
        {136, "scout.bmp", 74, 63, 10, DrawScoutFrame},
    };
    return table;
}

std::vector<IndexedImage> DrawFrames(const UnitArt& unit)
{
    std::vector<IndexedImage> frames;
    for (int frame = 0; frame < unit.frames; ++frame)
        frames.push_back(unit.drawFrame(frame));
    return frames;
}
