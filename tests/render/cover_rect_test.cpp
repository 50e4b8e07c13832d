// coverRect: which part of the picture fills drawables of every shape.
#include <gtest/gtest.h>

#include "render/cover_rect.h"

namespace {

struct CoverCase {
    int drawableWidth;
    int drawableHeight;
    CoverRect expected; // of an 800 by 600 picture
};

// Worked by hand: the drawable's aspect cut from the middle of the picture, as large as fits.
constexpr CoverCase kCases[] = {
    {1920, 1080, {0.0, 75.0, 800.0, 450.0}}, // 16:9: 800 * 9 / 16 = 450 rows, 75 off each end
    {1280, 1024, {25.0, 0.0, 750.0, 600.0}}, // 5:4: 600 * 5 / 4 = 750 columns, 25 off each side
    {800, 600, {0.0, 0.0, 800.0, 600.0}},    // the picture's own size: all of it
    {600, 800, {175.0, 0.0, 450.0, 600.0}},  // portrait: 600 * 3 / 4 = 450 columns
    {1, 1, {100.0, 0.0, 600.0, 600.0}},      // a square from the middle
};

TEST(CoverRect, CutsTheDrawablesAspectFromThePicturesMiddle) {
    for (const CoverCase& c : kCases) {
        const CoverRect rect = coverRect(800, 600, c.drawableWidth, c.drawableHeight);
        EXPECT_DOUBLE_EQ(rect.x, c.expected.x) << c.drawableWidth << "x" << c.drawableHeight;
        EXPECT_DOUBLE_EQ(rect.y, c.expected.y) << c.drawableWidth << "x" << c.drawableHeight;
        EXPECT_DOUBLE_EQ(rect.width, c.expected.width) << c.drawableWidth;
        EXPECT_DOUBLE_EQ(rect.height, c.expected.height) << c.drawableHeight;
    }
}

} // namespace
