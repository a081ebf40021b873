#include "parade/BackgroundStyle.h"

#include "imaging/DibSurface.h"

namespace {
constexpr COLORREF BLACK = 0;
constexpr COLORREF WHITE = 0xFFFFFF;
constexpr int FULL_AMOUNT = 255;
}

void ApplyBackgroundStyle(DibSurface& surface, int style, int gamma)
{
    // Brightness works on true colour: a picture below it becomes 24-bit first.
    if ((style == BACKGROUND_BLACK || style == BACKGROUND_WHITE || style == BACKGROUND_GAMMA) && surface.BitCount() < 24)
        surface.ConvertTo24Bit();
    switch (style) {
    case BACKGROUND_BLACK:
        surface.AdjustGamma(-FULL_AMOUNT);
        break;
    case BACKGROUND_WHITE:
        surface.AdjustGamma(FULL_AMOUNT);
        break;
    case BACKGROUND_SHADE:
        surface.ApplyShade(BLACK, 1);
        break;
    case BACKGROUND_VERTICAL_INTERLACE:
        surface.InterlaceColumns(surface, 0, BLACK);
        break;
    case BACKGROUND_HORIZONTAL_INTERLACE:
        surface.InterlaceRows(surface, 0, BLACK);
        break;
    case BACKGROUND_GAMMA:
        surface.AdjustGamma(gamma);
        break;
    default:
        break;
    }
}

bool IsExactAt16Bit(int style)
{
    return style != BACKGROUND_BLACK && style != BACKGROUND_WHITE && style != BACKGROUND_GAMMA;
}

std::optional<COLORREF> SolidColorOf(int style)
{
    if (style == BACKGROUND_BLACK)
        return BLACK;
    if (style == BACKGROUND_WHITE)
        return WHITE;
    return std::nullopt;
}
