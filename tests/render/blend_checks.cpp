// Round points against a disc, translucent pictures and shades against the blend they stand for.
#include "blend_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "gl_test_support.h"
#include "render/damage.h"
#include "render/renderer.h"

namespace {

constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr int kBlockX = 395; // the 11 by 11 pixels from (395, 295) around the point
constexpr int kBlockY = 295;
constexpr int kBlock = 11;
constexpr int kPictureSide = 64;

int redAt(int x, int y) {
    uint8_t rgb[3] = {0, 0, 0};
    rendererReadPixels(x, y, 1, 1, rgb);
    return rgb[0];
}

struct PointCase {
    double pixels;
    double shift; // the centre lies at window (400.5 + shift, 300.5)
};

// What the pixel (x, y) takes of a white point: a disc full inside its circle and fading over
// the pixel across its edge; a point of a pixel or less is its one pixel, as ever.
int pointLevel(const PointCase& c, int x, int y) {
    if (c.pixels <= 1.0) {
        return x == 400 && y == 300 ? 255 : 0;
    }
    const double fromCentre = std::hypot(x + 0.5 - (400.5 + c.shift), y + 0.5 - 300.5);
    return static_cast<int>(
        std::lround(std::clamp(c.pixels / 2.0 + 0.5 - fromCentre, 0.0, 1.0) * 255.0));
}

} // namespace

void expectRoundPointsLikeAnAntiAliasedDisc() {
    for (const PointCase c : {PointCase{4.0, 0.25}, {4.0, 0.0}, {1.0, 0.25}, {0.5, 0.0}}) {
        rendererClear();
        rendererLoadIdentity();
        rendererTranslate(0.0f, 0.0f, -9.0f);
        rendererSetPointSize(static_cast<float>(c.pixels));
        // Twelve units before the eye a pixel is 0.03 units wide.
        const float point[3] = {static_cast<float>(0.015 + 0.03 * c.shift), 0.015f, -3.0f};
        rendererDrawPoints(kWhite, point, 1);
        rendererSetPointSize(1.0f);
        // The frame's frustum, +-1 by +-0.75 at the near plane 1, and the point in eye space.
        const DamageView view{-1.0, 1.0, -0.75, 0.75, 1.0, kViewWidth, kViewHeight};
        const double eye[3] = {static_cast<double>(point[0]), static_cast<double>(point[1]), -12.0};
        DamageList damage;
        const DamageRect bound = damageListAddPoints(&damage, view, eye, 1, c.pixels);
        std::vector<uint8_t> rgb(3 * kBlock * kBlock);
        rendererReadPixels(kBlockX, kBlockY, kBlock, kBlock, rgb.data());
        double covered = 0.0;
        for (int i = 0; i < kBlock * kBlock; i++) {
            const int x = kBlockX + i % kBlock;
            const int y = kBlockY + i / kBlock;
            const int expected = pointLevel(c, x, y);
            // Untouched outside the disc, the corners of its square among them; within two
            // levels on it, so that the renderers stay within a few levels of each other.
            const int tolerance = expected == 0 ? 0 : 2;
            EXPECT_NEAR(rgb[3 * i], expected, tolerance) << c.pixels << " px at " << x << ", " << y;
            covered += rgb[3 * i] / 255.0;
            const bool inBound = x >= bound.x && x < bound.x + bound.width && y >= bound.y &&
                                 y < bound.y + bound.height;
            EXPECT_TRUE(inBound || rgb[3 * i] == 0) << "damage misses " << x << ", " << y;
        }
        const double area = c.pixels > 1.0 ? std::numbers::pi * c.pixels * c.pixels / 4.0 : 1.0;
        EXPECT_NEAR(covered, area, 0.8) << "size " << c.pixels;
    }
}

namespace {

struct Pictures {
    uint32_t white = 0;
    uint32_t black = 0;
    uint32_t whiteCover = 0;
};

// Pictures of 64 by 64 pixels at the window's lower-left corner, made on the current renderer.
Pictures makePictures() {
    const ImageRecord record{kPictureSide, kPictureSide, kPictureSide, kPictureSide};
    std::vector<uint8_t> white(3 * kPictureSide * kPictureSide, 255);
    const std::vector<uint8_t> black(white.size(), 0);
    return {rendererCreateBackground(&record, white.data()),
            rendererCreateBackground(&record, black.data()),
            rendererCreateCover(&record, white.data())};
}

void deletePictures(const Pictures& p) {
    rendererDeleteBackground(p.white);
    rendererDeleteBackground(p.black);
    rendererDeleteTexture(p.whiteCover);
}

struct OpacityCase {
    const char* what;
    bool white;     // the picture is white, else black
    bool cover;     // drawn as a cover, else as a background at the window's corner
    bool overWhite; // over the white picture, else over black
    double opacity;
};

} // namespace

void expectBackgroundsBlendedByTheirOpacity() {
    const Pictures pictures = makePictures();
    const float whole[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    const OpacityCase cases[] = {
        {"white at half over black", true, false, false, 0.5},
        {"opaque", true, false, false, 1.0},
        {"invisible", true, false, false, 0.0},
        {"black at a quarter over white", false, false, true, 0.25},
        {"a white cover at half over black", true, true, false, 0.5},
        {"a white cover at a quarter over white", true, true, true, 0.25},
    };
    for (const OpacityCase& c : cases) {
        rendererClear();
        if (c.overWhite) {
            rendererDrawBackgroundAtOrigin(pictures.white);
        }
        rendererSetBackgroundOpacity(static_cast<float>(c.opacity));
        if (c.cover) {
            rendererDrawCover(pictures.whiteCover, whole);
        } else {
            rendererDrawBackgroundAtOrigin(c.white ? pictures.white : pictures.black);
        }
        rendererSetBackgroundOpacity(1.0f);
        const double blend =
            (c.white ? 255.0 : 0.0) * c.opacity + (c.overWhite ? 255.0 : 0.0) * (1.0 - c.opacity);
        EXPECT_NEAR(redAt(10, 10), blend, 1.0) << c.what;
    }
    deletePictures(pictures);
}

void expectShadeBlendedAtItsAlpha() {
    const Pictures pictures = makePictures();
    rendererClear();
    rendererDrawBackgroundAtOrigin(pictures.white);
    rendererLoadIdentity();
    rendererTranslate(0.0f, 0.0f, -9.0f); // the shade ignores the matrices
    const DamageRect left{0, 0, 32, kViewHeight};
    rendererScissor(&left);
    const float halfRed[4] = {1.0f, 0.0f, 0.0f, 0.5f};
    rendererDrawShade(halfRed);
    rendererScissor(nullptr);
    uint8_t overWhite[3];
    uint8_t overBlack[3];
    uint8_t outside[3];
    rendererReadPixels(10, 10, 1, 1, overWhite);
    rendererReadPixels(10, 100, 1, 1, overBlack);
    rendererReadPixels(40, 10, 1, 1, outside);
    EXPECT_EQ(overWhite[0], 255);
    EXPECT_NEAR(overWhite[1], 128, 1);
    EXPECT_NEAR(overBlack[0], 128, 1);
    EXPECT_EQ(overBlack[1], 0);
    EXPECT_EQ(outside[1], 255); // beyond the scissor box
    deletePictures(pictures);
}
