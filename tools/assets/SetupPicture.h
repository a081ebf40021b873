// The picture beside the first and last pages of the Windows setup: the
// seven units marching down a blue field, at the size those pages show.
#pragma once

#include "tools/assets/IndexedImage.h"

IndexedImage DrawSetupPicture();
