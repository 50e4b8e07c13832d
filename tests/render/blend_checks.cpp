// Round points against an anti-aliased disc, translucent pictures and shades against the blend
// they stand for.
#include "blend_checks.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

#include "gl_test_support.h"
#include "render/damage.h"
#include "render/renderer.h"

namespace {

int redAt(int x, int y) {
    uint8_t rgb[3] = {0, 0, 0};
    rendererReadPixels(x, y, 1, 1, rgb);
    return rgb[0];
}

} // namespace

void expectRoundPointsLikeAnAntiAliasedDisc() {
    // Diameter and the centre's shift from window (400.5, 300.5), twelve units before the eye,
    // where a pixel is 0.03 units wide.
    for (const auto& [pixels, shift] :
         {std::pair{4.0, 0.25}, {4.0, 0.0}, {1.0, 0.25}, {0.5, 0.0}}) {
        rendererClear();
        rendererLoadIdentity();
        rendererTranslate(0.0f, 0.0f, -9.0f);
        rendererSetPointSize(static_cast<float>(pixels));
        const float point[3] = {static_cast<float>(0.015 + 0.03 * shift), 0.015f, -3.0f};
        const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        rendererDrawPoints(white, point, 1);
        rendererSetPointSize(1.0f);
        DamageList damage; // the frame's frustum, +-1 by +-0.75 at the near plane 1
        const double eye[3] = {static_cast<double>(point[0]), 0.015, -12.0};
        const DamageRect bound = damageListAddPoints(
            &damage, {-1.0, 1.0, -0.75, 0.75, 1.0, kViewWidth, kViewHeight}, eye, 1, pixels);
        double covered = 0.0;
        for (int y = 295; y < 306; y++) {
            for (int x = 395; x < 406; x++) {
                // A disc full inside its circle, fading over the pixel across its edge, and
                // nothing outside; a point of a pixel or less is its one pixel, as ever.
                const double edge = pixels / 2.0 + 0.5 - std::hypot(x - 400.0 - shift, y - 300.0);
                const int disc =
                    pixels > 1.0 ? static_cast<int>(std::lround(std::clamp(edge, 0.0, 1.0) * 255.0))
                                 : (x == 400 && y == 300) * 255;
                const int level = redAt(x, y);
                EXPECT_NEAR(level, disc, disc == 0 ? 0 : 2) << pixels << " px at " << x << "," << y;
                EXPECT_TRUE(level == 0 || (x >= bound.x && x < bound.x + bound.width &&
                                           y >= bound.y && y < bound.y + bound.height))
                    << "damage misses " << x << "," << y;
                covered += level / 255.0;
            }
        }
        EXPECT_NEAR(covered, pixels > 1.0 ? std::numbers::pi * pixels * pixels / 4.0 : 1.0, 0.8);
    }
}

void expectBackgroundsBlendedByTheirOpacity() {
    const ImageRecord record{64, 64, 64, 64}; // at the window's lower-left corner
    std::vector<uint8_t> white(3 * 64 * 64, 255);
    const std::vector<uint8_t> black(white.size(), 0);
    const uint32_t pictures[2] = {rendererCreateBackground(&record, black.data()),
                                  rendererCreateBackground(&record, white.data())};
    const uint32_t cover = rendererCreateCover(&record, white.data());
    const float whole[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    // The picture's level, 0 or 1; drawn as a cover; over white, else over black; opacity.
    const std::tuple<int, bool, bool, double> cases[] = {
        {1, false, false, 0.5}, {1, false, false, 1.0}, {1, false, false, 0.0},
        {0, false, true, 0.25}, {1, true, false, 0.5},  {1, true, true, 0.25}};
    for (const auto& [level, asCover, overWhite, opacity] : cases) {
        rendererClear();
        rendererDrawBackgroundAtOrigin(overWhite ? pictures[1] : 0);
        rendererSetBackgroundOpacity(static_cast<float>(opacity));
        asCover ? rendererDrawCover(cover, whole) : rendererDrawBackgroundAtOrigin(pictures[level]);
        rendererSetBackgroundOpacity(1.0f);
        const double blend = 255.0 * (level * opacity + overWhite * (1.0 - opacity));
        EXPECT_NEAR(redAt(10, 10), blend, 1.0) << level << asCover << overWhite << opacity;
    }
    rendererDeleteBackground(pictures[0]);
    rendererDeleteBackground(pictures[1]);
    rendererDeleteTexture(cover);
}

void expectShadeBlendedAtItsAlpha() {
    const ImageRecord record{64, 64, 64, 64};
    const std::vector<uint8_t> white(3 * 64 * 64, 255);
    const uint32_t picture = rendererCreateBackground(&record, white.data());
    rendererClear();
    rendererDrawBackgroundAtOrigin(picture);
    rendererTranslate(0.0f, 0.0f, -9.0f); // the shade ignores the matrices
    const DamageRect left{0, 0, 32, kViewHeight};
    rendererScissor(&left);
    const float halfRed[4] = {1.0f, 0.0f, 0.0f, 0.5f};
    rendererDrawShade(halfRed);
    rendererScissor(nullptr);
    uint8_t overWhite[3], overBlack[3], outside[3];
    rendererReadPixels(10, 10, 1, 1, overWhite);
    rendererReadPixels(10, 100, 1, 1, overBlack);
    rendererReadPixels(40, 10, 1, 1, outside);
    EXPECT_EQ(overWhite[0], 255);
    EXPECT_NEAR(overWhite[1], 128, 1);
    EXPECT_NEAR(overBlack[0], 128, 1);
    EXPECT_EQ(overBlack[1], 0);
    EXPECT_EQ(outside[1], 255); // beyond the scissor box
    rendererDeleteBackground(picture);
}
