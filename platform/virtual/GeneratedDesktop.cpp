#include "platform/virtual/GeneratedDesktop.h"

#include <algorithm>
#include <cstdint>

namespace {

struct Colour {
    BYTE red;
    BYTE green;
    BYTE blue;
};

class Canvas {
public:
    explicit Canvas(RgbPicture& picture) : m_picture(picture) {}

    void Fill(int left, int top, int right, int bottom, Colour colour)
    {
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, m_picture.width);
        bottom = std::min(bottom, m_picture.height);
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                BYTE* pixel = &m_picture.rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(m_picture.width) +
                                              static_cast<std::size_t>(x)) * 3];
                pixel[0] = colour.red;
                pixel[1] = colour.green;
                pixel[2] = colour.blue;
            }
    }

private:
    RgbPicture& m_picture;
};

// A small deterministic generator, so that every run draws the same desktop.
class Sequence {
public:
    int Next(int below)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((m_state >> 33) % static_cast<std::uint64_t>(below));
    }

private:
    std::uint64_t m_state = 0x5EED;
};

void DrawWindow(Canvas& canvas, Sequence& sequence, int left, int top, int width, int height, Colour title)
{
    canvas.Fill(left + 6, top + 6, left + width + 6, top + height + 6, Colour{40, 40, 48});
    canvas.Fill(left, top, left + width, top + height, Colour{236, 236, 232});
    canvas.Fill(left, top, left + width, top + 24, title);
    canvas.Fill(left + width - 20, top + 6, left + width - 8, top + 18, Colour{220, 80, 70});
    canvas.Fill(left + 8, top + 8, left + 8 + width / 3, top + 16, Colour{250, 250, 250});
    for (int line = top + 40; line + 8 < top + height - 10; line += 16) {
        int x = left + 14;
        const int end = left + width - 14 - sequence.Next(width / 3 + 1);
        while (x < end) {
            const int word = 12 + sequence.Next(44);
            canvas.Fill(x, line, std::min(x + word, end), line + 7, Colour{70, 72, 80});
            x += word + 7;
        }
    }
}

}

RgbPicture GenerateDesktop(int width, int height)
{
    RgbPicture picture;
    picture.width = std::max(width, 1);
    picture.height = std::max(height, 1);
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 3);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            BYTE* pixel = &picture.rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                                        static_cast<std::size_t>(x)) * 3];
            pixel[0] = static_cast<BYTE>(30 + 60 * x / picture.width);
            pixel[1] = static_cast<BYTE>(70 + 90 * y / picture.height);
            pixel[2] = static_cast<BYTE>(120 + 100 * (picture.width - x) / picture.width);
        }

    Canvas canvas(picture);
    Sequence sequence;
    const Colour titles[] = {{52, 101, 164}, {115, 72, 140}, {78, 154, 6}, {196, 110, 30}};
    const int windows = 4;
    for (int i = 0; i < windows; ++i) {
        const int w = picture.width * (30 + sequence.Next(20)) / 100;
        const int h = picture.height * (30 + sequence.Next(25)) / 100;
        const int left = picture.width * (4 + i * 18 + sequence.Next(8)) / 100;
        const int top = picture.height * (6 + (i % 2) * 30 + sequence.Next(10)) / 100;
        DrawWindow(canvas, sequence, left, top, w, h, titles[i]);
    }
    canvas.Fill(0, picture.height - 32, picture.width, picture.height, Colour{28, 30, 36});
    for (int icon = 0; icon < 6; ++icon)
        canvas.Fill(12 + icon * 40, picture.height - 26, 32 + icon * 40, picture.height - 6,
                    titles[icon % 4]);
    return picture;
}
