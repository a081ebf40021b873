// The per-row pixel loops, written plainly, one pixel at a time. They are
// the reference for the vector loops and serve where no vector loop exists.
// Counts are bytes for AddClamp and the pattern loops, pixels otherwise.
// 16- and 32-bit pixels are little-endian words at any address; the fourth
// byte of a 32-bit pixel holds no colour.
#pragma once

#include "imaging/PixelPattern.h"
#include "platform/WinApi.h"

#include <cstddef>

struct ScalarRows {
    // Each byte becomes byte + amount, limited to 0..255.
    static void AddClamp(BYTE* bytes, std::size_t count, int amount);
    // The same for the three colour bytes of each 32-bit pixel; the fourth stays.
    static void AddClampColor32(BYTE* pixels, std::size_t count, int amount);
    // dest = source where the pattern's mask is clear, the pattern's value where it is set.
    static void BlendPattern(const BYTE* source, BYTE* dest, std::size_t count, const PixelPattern& pattern);
    // dest = the pattern's value.
    static void FillPattern(BYTE* dest, std::size_t count, const PixelPattern& pattern);
    static void Widen555To565(BYTE* pixels, std::size_t count);
    static void Narrow565To555(BYTE* pixels, std::size_t count);
    static void Expand16To24(const BYTE* source, BYTE* dest, std::size_t count, bool layout565);
    static void Reduce24To16(const BYTE* source, BYTE* dest, std::size_t count, bool layout565);
    // Indices through a 256-entry table of 16-bit pixels, or of 24-bit
    // pixels held as blue | green << 8 | red << 16.
    static void Lookup8To16(const BYTE* source, BYTE* dest, std::size_t count, const WORD* table);
    static void Lookup8To24(const BYTE* source, BYTE* dest, std::size_t count, const DWORD* table);
    // Indices through a 256-entry table of 32-bit pixels.
    static void Lookup8To32(const BYTE* source, BYTE* dest, std::size_t count, const DWORD* table);
    // Copies every source pixel that differs from the key.
    static void KeyedCopy8(const BYTE* source, BYTE* dest, std::size_t count, BYTE key);
    static void KeyedCopy16(const BYTE* source, BYTE* dest, std::size_t count, WORD key);
    static void KeyedCopy24(const BYTE* source, BYTE* dest, std::size_t count, const BYTE* key);
    // A 32-bit pixel matches the key when its three colour bytes do.
    static void KeyedCopy32(const BYTE* source, BYTE* dest, std::size_t count, DWORD key);
    // The same from a row enlarged `factor` times, without enlarging it:
    // dest pixel i is source pixel (first + i) / factor.
    static void KeyedEnlarge32(const BYTE* source, std::size_t first, BYTE* dest, std::size_t count, DWORD key,
                               std::size_t factor);
};
