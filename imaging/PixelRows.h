// The row loops the surface operations use: the vector ones where the
// compiler targets SSE2, the plain ones elsewhere.
#pragma once

#include "imaging/ScalarRows.h"
#include "imaging/Sse2Rows.h"

#if defined(__SSE2__)
using PixelRows = Sse2Rows;
#else
using PixelRows = ScalarRows;
#endif
