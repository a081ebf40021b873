// An animated GIF written frame by frame: every frame is reduced to one
// fixed 256-colour table (a 6 x 7 x 6 colour cube and four greys) and
// compressed with LZW. The animation loops for ever.
#pragma once

#include "platform/WinApi.h"

#include <cstdio>
#include <string>
#include <vector>

class GifWriter {
public:
    GifWriter() = default;
    ~GifWriter();

    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    bool Open(const std::string& path, int width, int height);
    // `rgb`: width x height pixels of red, green, blue, rows from the top.
    // The delay is in hundredths of a second.
    bool AddFrame(const std::vector<BYTE>& rgb, int delayHundredths);
    bool Close();

    // The colour-table index the writer uses for a colour.
    static BYTE Quantize(BYTE red, BYTE green, BYTE blue);

private:
    void Put(const void* bytes, std::size_t count);
    void PutWord(int value);
    void WriteLzw(const std::vector<BYTE>& indices);

    std::FILE* m_pFile = nullptr;
    int m_cx = 0;
    int m_cy = 0;
    bool m_bFailed = false;
};
