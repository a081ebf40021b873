// A desktop picture made from nothing but its size: a gradient wallpaper
// with a few overlapping application windows full of text-like lines, so
// that the background styles have something to work on.
#pragma once

#include "platform/virtual/PngFile.h"

RgbPicture GenerateDesktop(int width, int height);
