#include "platform/wayland/OutputLayout.h"

#include <gtest/gtest.h>

namespace {
bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}

// A scale-1 output left of a scale-2 one, the layout starting left of 0:
// the canvas has the sharper output's pixels, each output its own.
TEST(OutputLayout, MixedScalesShareOneCanvasAtTheLargestScale)
{
    const OutputLayout layout({OutputPlace{RECT{-1280, 0, 0, 720}, 1.0}, OutputPlace{RECT{0, 0, 640, 360}, 2.0}});
    EXPECT_EQ(layout.CanvasScale(), 2.0);
    EXPECT_EQ(layout.CanvasSize().cx, 3840);
    EXPECT_EQ(layout.CanvasSize().cy, 1440);
    const OutputPart& left = layout.Parts()[0];
    const OutputPart& right = layout.Parts()[1];
    EXPECT_TRUE(Same(left.canvas, RECT{0, 0, 2560, 1440}));
    EXPECT_EQ(left.device.cx, 1280);
    EXPECT_TRUE(Same(right.canvas, RECT{2560, 0, 3840, 720}));
    EXPECT_EQ(right.device.cx, 1280);

    // The sharper output shows its part pixel for pixel; the other shrinks it.
    EXPECT_TRUE(Same(CanvasToDevice(right, RECT{2600, 10, 2700, 20}), RECT{40, 10, 140, 20}));
    EXPECT_TRUE(Same(CanvasToDevice(left, RECT{100, 10, 201, 20}), RECT{50, 5, 101, 10}));
    const POINT point = SurfaceToCanvas(right, SIZE{640, 360}, 10.5, 20.0);
    EXPECT_EQ(point.x, 2581);
    EXPECT_EQ(point.y, 40);

    // An output that comes later lies where the layout puts it.
    const OutputPart later = layout.PartOf(OutputPlace{RECT{640, 0, 1920, 720}, 1.5});
    EXPECT_TRUE(Same(later.canvas, RECT{3840, 0, 6400, 1440}));
    EXPECT_EQ(later.device.cx, 1920);
    EXPECT_EQ(later.device.cy, 1080);
}
