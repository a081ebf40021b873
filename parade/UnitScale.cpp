#include "parade/UnitScale.h"

#include <algorithm>

namespace {
constexpr int BASE_DPI = 96;
constexpr int BASE_SCREEN_HEIGHT = 1080;

// a / b rounded half up, for a >= 0 and b > 0.
int RoundedQuotient(long long a, long long b) { return static_cast<int>(std::min<long long>((a + b / 2) / b, UNIT_SCALE_MAX)); }
}

int ChooseUnitScale(int setting, int statedDpi, int screenHeight)
{
    if (setting >= 1 && setting <= UNIT_SCALE_MAX)
        return setting;
    const int automatic = statedDpi > 0 ? RoundedQuotient(statedDpi, BASE_DPI)
                                        : RoundedQuotient(std::max(screenHeight, 0), BASE_SCREEN_HEIGHT);
    return std::max(automatic, 1);
}
