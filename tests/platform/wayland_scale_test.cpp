// A fractional-scale buffer's size: the output's own pixels, to the nearest.
#include <gtest/gtest.h>

#include "platform/wayland/platform_wayland_scale.h"

namespace {

TEST(WaylandScale, BufferLengthsRoundToTheNearestPixel) {
    struct Row {
        int logical;
        uint32_t scale120;
        int pixels;
    };
    const Row rows[] = {
        {1280, 150, 1600}, // 1.25: exact
        {1707, 180, 2561}, // 1.5 times 1707 = 2560.5: the half pixel rounds up
        {1097, 210, 1920}, // 1.75 times 1097 = 1919.75, cut short would be 1919
        {853, 270, 1919},  // 2.25 times 853 = 1919.25 rounds down
        {1920, 120, 1920}, // scale 1
    };
    for (const Row& row : rows) {
        EXPECT_EQ(waylandScaledLength(row.logical, row.scale120), row.pixels)
            << row.logical << " at " << row.scale120 << "/120";
    }
}

} // namespace
