// The row loops the surface operations use: the vector ones where the
// compiler targets SSE2, the plain ones elsewhere.
#pragma once

#include "imaging/ScalarRows.h"
#include "imaging/Sse2Rows.h"

// A page's build has vector loops too; without them its rows run several
// times slower, so a core built without its flags is refused.
#if defined(__EMSCRIPTEN__) && !defined(__SSE2__)
#error "the page's core is built without -msimd128 -msse2"
#endif

#if defined(__SSE2__)
using PixelRows = Sse2Rows;
#else
using PixelRows = ScalarRows;
#endif
