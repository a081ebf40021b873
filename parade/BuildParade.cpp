#include "parade/BuildParade.h"

#include "app/ParadeSettings.h"
#include "app/SettingsKeys.h"

#include <algorithm>

void BuildParade(MarcherList& marchers, const std::array<DibSurface, UNIT_KIND_COUNT>& strips,
                 const std::array<std::string, UNIT_KIND_COUNT>& unitNames, const ParadeSettings& settings,
                 int screenWidth, int laneGap, int unitScale, bool enlargeAsDrawn)
{
    int laneY = 0;
    for (std::size_t lane = 0; lane < UNIT_TABLE.size(); ++lane) {
        const UnitKind& kind = UNIT_TABLE[lane];
        MarcherSpec marcherSpec;
        const int cxFrame = kind.cxFrame * unitScale;
        const int cyFrame = kind.cyFrame * unitScale;
        marcherSpec.m_cxFrame = cxFrame;
        marcherSpec.m_cyFrame = cyFrame;
        marcherSpec.m_nFirstFrame = 0;
        marcherSpec.m_nLastFrame = static_cast<UINT>(kind.nFrames - 1);
        marcherSpec.m_bVertical = 1;
        marcherSpec.m_ptStart = POINT{kind.bWalksLeft ? screenWidth : -cxFrame, laneY};
        marcherSpec.m_ptEnd = POINT{kind.bWalksLeft ? -cxFrame : screenWidth, laneY};
        marcherSpec.m_ptStep = POINT{kind.nStepX * unitScale, 0};
        marcherSpec.m_nDelay = 0;
        marcherSpec.m_nEnlarge = enlargeAsDrawn ? unitScale : 1;

        const int count = settings.ReadInt(unitNames[lane], DEFAULT_UNIT_COUNT);
        marcherSpec.m_bMarch = settings.ReadInt(unitNames[lane] + MARCH_KEY_SUFFIX, DEFAULT_UNIT_MARCH);
        const POINT keyPoint{0, 0};
        const DibSurface& strip = strips[static_cast<std::size_t>(StripSlot(kind))];
        for (int i = 0; i < std::min(count, MAX_MARCHERS_PER_KIND); ++i) {
            if (marchers.AddMarcher(&strip, &keyPoint, &marcherSpec) == LIST_ERR_NOMEMORY)
                break;
            marcherSpec.m_nDelay += kind.nDelayStep;
        }
        laneY += cyFrame + laneGap;
    }
}
