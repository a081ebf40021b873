// The per-row pixel loops that SSE2 speeds up, each bit for bit the same
// as its ScalarRows twin. Loops without a vector form are inherited. Every
// loop reads and writes only the bytes of its `count` pixels.
#pragma once

#include "imaging/ScalarRows.h"

#if defined(__SSE2__)

struct Sse2Rows : ScalarRows {
    static void AddClamp(BYTE* bytes, std::size_t count, int amount);
    static void AddClampColor32(BYTE* pixels, std::size_t count, int amount);
    static void BlendPattern(const BYTE* source, BYTE* dest, std::size_t count, const PixelPattern& pattern);
    static void FillPattern(BYTE* dest, std::size_t count, const PixelPattern& pattern);
    static void Widen555To565(BYTE* pixels, std::size_t count);
    static void Narrow565To555(BYTE* pixels, std::size_t count);
    static void Expand16To24(const BYTE* source, BYTE* dest, std::size_t count, bool layout565);
    static void Reduce24To16(const BYTE* source, BYTE* dest, std::size_t count, bool layout565);
    static void KeyedCopy8(const BYTE* source, BYTE* dest, std::size_t count, BYTE key);
    static void KeyedCopy16(const BYTE* source, BYTE* dest, std::size_t count, WORD key);
    static void KeyedCopy32(const BYTE* source, BYTE* dest, std::size_t count, DWORD key);
    // Vector loop for a factor of 2, the common one; others are scalar.
    static void KeyedEnlarge32(const BYTE* source, std::size_t first, BYTE* dest, std::size_t count, DWORD key,
                               std::size_t factor);
};

#endif
