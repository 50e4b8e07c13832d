// Whole frames drawn offscreen and read back: background placement, spheres, sprays, order.
#include <cmath>
#include <cstdint>
#include <vector>

#include "blend_checks.h"
#include "gl_test_support.h"
#include "math/vertex.h"
#include "render/background.h"
#include "render/body_looks.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/renderer.h"
#include "render/texture.h"
#include "sim/gravity_list.h"
#include "sim/world.h"

namespace {

// Four quadrants, so a pixel tells which part of the picture it shows.
Rgb quadrants(int x, int y) {
    const bool right = x >= 50;
    const bool top = y >= 30;
    if (!right && !top) {
        return {200, 40, 40};
    }
    if (right && !top) {
        return {40, 200, 40};
    }
    if (!right) {
        return {40, 40, 200};
    }
    return {220, 220, 60};
}
Rgb pureGreen(int, int) {
    return {0, 255, 0};
}

GravityObject* addSphere(Vertex position, double radius, uint32_t texture) {
    auto* body = new GravityObject{};
    body->position = position;
    body->radius = radius;
    body->mass = 1.0;
    bodyLooks[gravityListCount(&bodies)] = {texture, rendererCreateSphere(radius, texture)};
    gravityListPush(&bodies, body);
    return body;
}

Rgb pixelAtWorld(Vertex world) {
    double x = 0;
    double y = 0;
    projectToWindow(world, &x, &y);
    return readPixel(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
}

bool isBlack(Rgb c) {
    return c.r == 0 && c.g == 0 && c.b == 0;
}

class Frame : public GlDrawing {};

TEST_F(Frame, BackgroundCornerLandsAtPixel267By167) {
    // Raster position (-3, -3) nine units away: x = 400 * (1 - 3/9) = 266.67 and
    // y = 300 * (1 - 4/9) = 166.67, so the first pixel whose centre it covers is (267, 167).
    backgroundList = loadBackground(writePicture("quadrants.bmp", 100, 60, quadrants).c_str());
    stepAndDrawFrame(0.0);
    expectRgb(readPixel(267, 167), {200, 40, 40});
    expectRgb(readPixel(266, 167), {0, 0, 0});
    expectRgb(readPixel(267, 166), {0, 0, 0});
    expectRgb(readPixel(267 + 60, 167 + 10), {40, 200, 40});
    expectRgb(readPixel(267 + 10, 167 + 40), {40, 40, 200});
    expectRgb(readPixel(267 + 99, 167 + 59), {220, 220, 60});
    // Beyond the picture, up to the power-of-two size 128 by 64, the enlarged buffer is black.
    expectRgb(readPixel(267 + 100, 167 + 10), {0, 0, 0});
    expectRgb(readPixel(267 + 10, 167 + 60), {0, 0, 0});
}

// A painted picture of the drawable's size goes 1:1 from the window's corner; any other size
// falls back to the scaled picture, here none, as no file was read.
TEST_F(Frame, ExactBackgroundOnlyAtTheDrawablesSize) {
    drawFrameWithExactBackground(kViewWidth, kViewHeight);
    expectRgb(readPixel(0, 0), {0, 0, 90});
    expectRgb(readPixel(799, 599), {799 % 256, 599 % 256, 90});
    drawFrameWithExactBackground(kViewWidth - 1, kViewHeight);
    expectRgb(readPixel(0, 0), {0, 0, 0});
}

// Outputs of two sizes drawn in turn: each shows the picture of its own size (grey 40 at the
// full size, 200 at half), and dropping the full size leaves only the half size's.
TEST_F(Frame, ExactBackgroundsOfTwoSizesEachAtItsOwn) {
    const std::vector<uint8_t> full(size_t{kViewWidth} * kViewHeight * 3, 40);
    const std::vector<uint8_t> half(full.size() / 4, 200);
    backgroundSetMode(BackgroundMode::Fill);
    backgroundAddExact(full.data(), kViewWidth, kViewHeight);
    backgroundAddExact(half.data(), kViewWidth / 2, kViewHeight / 2);
    const struct {
        int divisor; // of the drawable's sides
        bool fullDropped;
        uint8_t grey; // 0: the scaled picture, none here
    } cases[] = {{1, false, 40}, {2, false, 200}, {2, true, 200}, {1, true, 0}};
    for (const auto& c : cases) {
        if (c.fullDropped) {
            backgroundDropExact(kViewWidth, kViewHeight);
        }
        resizeViewport(kViewWidth / c.divisor, kViewHeight / c.divisor);
        stepAndDrawFrame(0.0);
        expectRgb(readPixel(kViewWidth / c.divisor - 1, kViewHeight / c.divisor - 1),
                  {c.grey, c.grey, c.grey});
    }
    backgroundSetExact(nullptr, 0, 0);
    backgroundSetMode(BackgroundMode::Fixed);
}

TEST_F(Frame, MissingBackgroundLeavesAnEmptyListAndTheFrameGoesOn) {
    backgroundList = loadBackground("no/such/background.bmp");
    ASSERT_EQ(reportedErrors().size(), 1u);
    EXPECT_EQ(reportedErrors()[0], "Could not open bitmap file");
    addSphere({0, 0, -3}, 0.5, 0);
    stepAndDrawFrame(0.0);
    EXPECT_TRUE(isBlack(readPixel(267, 167)));
    EXPECT_FALSE(isBlack(pixelAtWorld({0, 0, -3})));
}

TEST_F(Frame, SphereAppearsWhereItsCentreProjects) {
    // (2, 1, -3) is 12 units from the eye: window (466.7, 333.3), radius 0.5 gives ~16.7 px.
    addSphere({2, 1, -3}, 0.5, 0);
    stepAndDrawFrame(0.0);
    const Rgb centre = readPixel(466, 333);
    EXPECT_FALSE(isBlack(centre));
    EXPECT_TRUE(isBlack(readPixel(466 + 20, 333)));
    EXPECT_TRUE(isBlack(readPixel(466 - 20, 333)));
    EXPECT_TRUE(isBlack(readPixel(466, 333 + 20)));
    EXPECT_FALSE(isBlack(readPixel(466 + 12, 333)));
}

TEST_F(Frame, ViewIsCentredOnTheCentreOfMass) {
    // Drawn at position minus centre, (1, 0.5, -3): window (433.3, 316.7), ~17 px across the
    // radius. Centred the wrong way it would land at (520, 360); uncentred at (472.7, 336.4).
    centerOfMass = {1, 0.5, 1};
    const Vertex position{2, 1, -2};
    addSphere(position, 0.5, 0);
    stepAndDrawFrame(0.0);
    EXPECT_FALSE(isBlack(pixelAtWorld(vertexSub(position, centerOfMass))));
    EXPECT_TRUE(isBlack(pixelAtWorld(position)));
}

TEST_F(Frame, UntexturedSphereIsPlainLitGrey) {
    addSphere({0, 0, -3}, 0.5, 0);
    stepAndDrawFrame(0.0);
    const Rgb centre = pixelAtWorld({0, 0, -3});
    // Grey material under a white light: equal channels, well lit from the front.
    EXPECT_EQ(centre.r, centre.g);
    EXPECT_EQ(centre.g, centre.b);
    EXPECT_GT(centre.r, 120);
}

TEST_F(Frame, TextureColoursTheSphere) {
    ImageRecord record{};
    const uint32_t green =
        loadTexture(writePicture("green.bmp", 16, 16, pureGreen).c_str(), &record);
    ASSERT_NE(green, 0u);
    addSphere({0, 0, -3}, 0.5, green);
    stepAndDrawFrame(0.0);
    const Rgb centre = pixelAtWorld({0, 0, -3});
    // The lit grey is multiplied by the texture: only green survives.
    EXPECT_EQ(centre.r, 0);
    EXPECT_EQ(centre.b, 0);
    EXPECT_GT(centre.g, 120);
}

TEST_F(Frame, LaterBodyCoversEarlierEvenWhenFarther) {
    ImageRecord record{};
    const uint32_t green =
        loadTexture(writePicture("green2.bmp", 16, 16, pureGreen).c_str(), &record);
    addSphere({0, 0, -1}, 0.5, 0);     // near: 10 units away, ~20 px across the radius
    addSphere({0, 0, -5}, 0.5, green); // far: 14 units away, ~14 px, drawn second
    stepAndDrawFrame(0.0);
    const Rgb middle = readPixel(400, 300);
    EXPECT_EQ(middle.r, 0);
    EXPECT_GT(middle.g, 100);
    const Rgb ring = readPixel(400 + 17, 300); // inside the near sphere only
    EXPECT_EQ(ring.r, ring.g);
    EXPECT_GT(ring.r, 0);
}

TEST_F(Frame, SprayPointsGlowInTheSprayColourAndDoNotTintLaterSpheres) {
    // The spray's top lands mid-pixel: (0.0135, 0.215, -3) -> window (400.45, 307.17).
    GravityObject* sprayer = addSphere({0.0135, 0.015, -3}, 0.2, 0);
    glDeleteLists(bodyLooks[0].sphere, 1);
    bodyLooks[0].sphere = 0; // only its spray is drawn
    sprayer->sprayColor[0] = 1.0f;
    sprayer->sprayColor[3] = 1.0f;
    addSphere({3, 0, -3}, 0.5, 0);
    stepAndDrawFrame(0.0); // dt 0: the new particle stays at the top of its sphere
    ASSERT_EQ(sprayer->particleCount, 1u);
    const Rgb point = readPixel(400, 307);
    EXPECT_EQ(point.r, 255); // the emission saturates red
    EXPECT_LT(point.g, point.r);
    EXPECT_EQ(point.g, point.b);
    const Rgb later = pixelAtWorld({3, 0, -3});
    EXPECT_EQ(later.r, later.g);
    EXPECT_EQ(later.g, later.b);
    EXPECT_GT(later.r, 0);
}

// Both renderers draw these alike: checked against one disc and one blend.
TEST_F(Frame, LargePointsAreRoundAndPicturesAndShadesBlendByTheirAlpha) {
    expectRoundPointsLikeAnAntiAliasedDisc();
    expectBackgroundsBlendedByTheirOpacity();
    expectShadeBlendedAtItsAlpha();
}

} // namespace
