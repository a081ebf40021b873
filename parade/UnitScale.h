// How many times the units are enlarged on a screen.
#pragma once

constexpr int UNIT_SCALE_AUTOMATIC = 0;
constexpr int UNIT_SCALE_MAX = 4;

// `setting` is the stored unit size: 1 to UNIT_SCALE_MAX is that factor,
// anything else is automatic. Automatic takes the scale the system states
// (`statedDpi` / 96, rounded) and otherwise the screen's height in steps of
// 1080 lines, rounded; always 1 to UNIT_SCALE_MAX. `statedDpi` is 0 when
// the system states none.
int ChooseUnitScale(int setting, int statedDpi, int screenHeight);
