// The application icon: transparent outside the sphere, smoothed rim, light from the upper left,
// the surface picture's north on top.
#include <cstddef>

#include <gtest/gtest.h>

#include "pictures/icon.h"

namespace {

constexpr int kIconSize = 64;

struct Rgba {
    int r = 0;
    int g = 0;
    int b = 0;
    int a = 0;
};

Rgba readIconPixel(const RgbaImage& icon, int x, int y) {
    const size_t at =
        (static_cast<size_t>(y) * static_cast<size_t>(icon.width) + static_cast<size_t>(x)) * 4;
    return {icon.bytes[at], icon.bytes[at + 1], icon.bytes[at + 2], icon.bytes[at + 3]};
}

// A sphere picture of one flat grey, so only the lighting varies.
Image makeGreySurface() {
    return paintImage(32, 16, [](int, int) { return Colour{0.5, 0.5, 0.5}; });
}

TEST(PictureIcon, SquareOfTheAskedSizeWithFourChannels) {
    const RgbaImage icon = paintSphereIcon(makeGreySurface(), kIconSize);
    EXPECT_EQ(icon.width, kIconSize);
    EXPECT_EQ(icon.height, kIconSize);
    EXPECT_EQ(icon.bytes.size(), static_cast<size_t>(kIconSize * kIconSize * 4));
}

TEST(PictureIcon, CornersTransparentCentreOpaqueRimBetween) {
    const RgbaImage icon = paintSphereIcon(makeGreySurface(), kIconSize);
    EXPECT_EQ(readIconPixel(icon, 0, 0).a, 0);
    EXPECT_EQ(readIconPixel(icon, kIconSize - 1, kIconSize - 1).a, 0);
    EXPECT_EQ(readIconPixel(icon, kIconSize / 2, kIconSize / 2).a, 255);
    // The rim, a circle of radius 0.94 x 32 = 30.08 pixels, crosses about 2 pi x 30 = 189
    // pixels; nearly all of them are covered only in part. A hard edge would leave none.
    int partial = 0;
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            const int a = readIconPixel(icon, x, y).a;
            if (a > 0 && a < 255) {
                partial++;
            }
        }
    }
    EXPECT_GT(partial, 150);
    EXPECT_LT(partial, 260);
    EXPECT_EQ(readIconPixel(icon, 0, kIconSize / 2).a, 0);
    EXPECT_EQ(readIconPixel(icon, 4, kIconSize / 2).a, 255);
}

TEST(PictureIcon, LitFromTheUpperLeft) {
    const RgbaImage icon = paintSphereIcon(makeGreySurface(), kIconSize);
    const int quarter = kIconSize / 4;
    const Rgba upperLeft = readIconPixel(icon, quarter, quarter);
    const Rgba lowerRight = readIconPixel(icon, kIconSize - 1 - quarter, kIconSize - 1 - quarter);
    EXPECT_GT(upperLeft.g, lowerRight.g + 40);
}

TEST(PictureIcon, SurfaceNorthOnTopSouthBelow) {
    // Red northern half, blue southern half.
    const Image surface = paintImage(32, 16, [](int, int y) {
        return y < 8 ? Colour{1.0, 0.0, 0.0} : Colour{0.0, 0.0, 1.0};
    });
    const RgbaImage icon = paintSphereIcon(surface, kIconSize);
    const Rgba top = readIconPixel(icon, kIconSize / 2, kIconSize / 8);
    const Rgba bottom = readIconPixel(icon, kIconSize / 2, kIconSize - 1 - kIconSize / 8);
    EXPECT_GT(top.r, top.b);
    EXPECT_GT(bottom.b, bottom.r);
}

} // namespace
