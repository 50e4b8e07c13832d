// The GLES2 renderer in an OpenGL ES 2 context, offscreen: lighting, emission and texturing
// pixel by pixel against values worked out by hand, and the background's placement.
#include <filesystem>
#include <string>
#include <vector>

#include "blend_checks.h"
#include "gl_test_support.h"
#include "platform/platform.h"
#include "render/body_looks.h"
#include "render/error_report.h"
#include "render/frame.h"
#include "render/frame_clock.h"
#include "render/renderer.h"
#include "render/texture.h"
#include "sim/gravity_list.h"
#include "sim/world.h"

namespace {

std::vector<std::string> errors;
void keepError(const char* text) {
    errors.emplace_back(text);
}

class Gles2Drawing : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(rendererSelect(RendererKind::Gles2));
        ASSERT_TRUE(platformInit(PlatformVideo::Offscreen));
        ASSERT_TRUE(
            platformCreateWindow("velmorin-test", kViewWidth, kViewHeight, PlatformGLFlavour::Es2));
    }
    static void TearDownTestSuite() { removeWrittenPictures(); }
    void SetUp() override {
        errors.clear();
        setErrorReporter(keepError);
        worldReset();
        frameTimingReset();
        frameClockSetSource(nullptr);
        // Set up where no bitmap folder exists: the background is empty (one report).
        const auto previous = std::filesystem::current_path();
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        setupGLWithSeed(1);
        std::filesystem::current_path(previous);
        errors.clear();
        resizeViewport(kViewWidth, kViewHeight);
    }
    void TearDown() override {
        worldReset();
        setErrorReporter(nullptr);
    }
};

Rgb pixel(int x, int y) {
    uint8_t rgb[3] = {0, 0, 0};
    rendererReadPixels(x, y, 1, 1, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

void expectNear(Rgb actual, Rgb expected) {
    EXPECT_NEAR(actual.r, expected.r, 1);
    EXPECT_NEAR(actual.g, expected.g, 1);
    EXPECT_NEAR(actual.b, expected.b, 1);
}

Rgb quadrants(int x, int y) {
    const bool right = x >= 50;
    const bool top = y >= 30;
    if (!right) {
        return top ? Rgb{40, 40, 200} : Rgb{200, 40, 40};
    }
    return top ? Rgb{220, 220, 60} : Rgb{40, 200, 40};
}
Rgb pureGreen(int, int) {
    return {0, 255, 0};
}
Rgb halfGrey(int, int) {
    return {128, 128, 128};
}

GravityObject* addBody(Vertex position, double radius, uint32_t texture, bool withSphere) {
    auto* body = new GravityObject{};
    body->position = position;
    body->radius = radius;
    body->mass = 1.0;
    bodyLooks[gravityListCount(&bodies)] = {texture,
                                            withSphere ? rendererCreateSphere(radius, texture) : 0};
    gravityListPush(&bodies, body);
    return body;
}

// A spray whose first particle, at dt 0, stays on the top of its sphere: (0.0135, 0.215, -3),
// twelve units before the eye, lands mid-pixel at window (400.45, 307.17).
GravityObject* addSprayAtPixel400By307(float red, float green, float blue) {
    GravityObject* sprayer = addBody({0.0135, 0.015, -3}, 0.2, 0, false);
    sprayer->sprayColor[0] = red;
    sprayer->sprayColor[1] = green;
    sprayer->sprayColor[2] = blue;
    sprayer->sprayColor[3] = 1.0f;
    return sprayer;
}

TEST_F(Gles2Drawing, BackgroundCornerLandsAtPixel267By167) {
    backgroundList = loadBackground(writePicture("quadrants.bmp", 100, 60, quadrants).c_str());
    stepAndDrawFrame(0.0);
    expectRgb(pixel(267, 167), {200, 40, 40});
    expectRgb(pixel(266, 167), {0, 0, 0});
    expectRgb(pixel(267, 166), {0, 0, 0});
    expectRgb(pixel(267 + 49, 167 + 29), {200, 40, 40});
    expectRgb(pixel(267 + 50, 167 + 29), {40, 200, 40});
    expectRgb(pixel(267 + 49, 167 + 30), {40, 40, 200});
    expectRgb(pixel(267 + 99, 167 + 59), {220, 220, 60});
    expectRgb(pixel(267 + 100, 167 + 10), {0, 0, 0}); // the black padding up to 128 by 64
}

// Lit colour = emission + 0.2 * 0.2 (scene ambient) + 0.1 * 0.2 (light ambient) + 0.9 * 0.8 *
// max(n.L, 0), with L towards the light at (-1, 1, 1) in eye space.
TEST_F(Gles2Drawing, SprayBeforeAnySphereIsLitWithTheInitialNormal) {
    // n = (0, 0, 1); from (0.0135, 0.215, -12), L = (-1.0135, 0.785, 13) / 13.0631, n.L = 0.99517:
    // 0.06 + 0.72 * 0.99517 = 0.77652, so 198 plus the emission (0, 0.05, 0.2) times 255.
    addSprayAtPixel400By307(0.0f, 0.05f, 0.2f);
    stepAndDrawFrame(0.0);
    expectNear(pixel(400, 307), {198, 211, 249});
}

TEST_F(Gles2Drawing, SprayIsLitWithTheNormalTheLastSphereLeft) {
    // The sphere ends on the normal (0, sin 162, cos 162) = (0, 0.309, -0.951), facing away from
    // the light (n.L < 0): only the emission (0.5, 0.25, 0) and the ambient 0.06 remain.
    addBody({3, 0, -3}, 0.5, 0, true);
    addSprayAtPixel400By307(0.5f, 0.25f, 0.0f);
    stepAndDrawFrame(0.0);
    expectNear(pixel(400, 307), {143, 79, 15});
}

TEST_F(Gles2Drawing, LightStaysOffUntilItIsFirstUsed) {
    // Without the light only the scene ambient lights: emission (0.5, 0.25, 0) + 0.04.
    rendererClear();
    rendererLoadIdentity();
    rendererTranslate(0.0f, 0.0f, -9.0f);
    const float emission[4] = {0.5f, 0.25f, 0.0f, 1.0f};
    const float point[3] = {0.0135f, 0.215f, -3.0f};
    rendererDrawPoints(emission, point, 1);
    expectNear(pixel(400, 307), {138, 74, 10});
}

TEST_F(Gles2Drawing, AFullSprayDrawsEveryOneOfItsPoints) {
    // A full spray of points 0.15 units apart, twelve units before the eye: 5 pixels apart, each
    // on a pixel of its own in a 10 by 10 grid from (400, 307).
    constexpr int kSide = 10;
    constexpr float kSpacing = 0.15f;
    float points[kSide * kSide * 3];
    for (int i = 0; i < kSide * kSide; i++) {
        points[3 * i] = 0.0135f + kSpacing * static_cast<float>(i % kSide);
        points[3 * i + 1] = 0.215f + kSpacing * static_cast<float>(i / kSide);
        points[3 * i + 2] = -3.0f;
    }
    rendererClear();
    rendererLoadIdentity();
    rendererTranslate(0.0f, 0.0f, -9.0f);
    const float emission[4] = {0.5f, 0.25f, 0.0f, 1.0f};
    rendererDrawPoints(emission, points, kSide * kSide);
    constexpr int kBlock = 5 * kSide;
    std::vector<uint8_t> rgb(3 * kBlock * kBlock);
    rendererReadPixels(398, 305, kBlock, kBlock, rgb.data());
    int lit = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        lit += rgb[i] != 0 || rgb[i + 1] != 0 || rgb[i + 2] != 0 ? 1 : 0;
    }
    EXPECT_EQ(lit, kSide * kSide);
}

// The sphere's equator vertex at slice 7 has normal (-0.309, 0, 0.951) and sits at
// (-0.1545, 0, 0.4755) from the centre. With the centre at (0.16891, 0.01441, -3) it lies at
// eye (0.01441, 0.01441, -11.52447), exactly on the centre of pixel (400, 300), where the
// interpolated colour is the vertex's own: n.L = 0.96992, 0.06 + 0.72 * 0.96992 = 0.75834.
constexpr Vertex kVertexOnPixelCentre = {0.16891359, 0.01440559, -3};

TEST_F(Gles2Drawing, UntexturedSphereFollowsThePointLightPerVertex) {
    addBody(kVertexOnPixelCentre, 0.5, 0, true);
    stepAndDrawFrame(0.0);
    expectNear(pixel(400, 300), {193, 193, 193});
}

// As under GL 1.1: 1:1 from the corner at the drawable's size, the scaled picture otherwise.
TEST_F(Gles2Drawing, ExactBackgroundOnlyAtTheDrawablesSize) {
    drawFrameWithExactBackground(kViewWidth, kViewHeight);
    expectNear(pixel(0, 0), {0, 0, 90});
    expectNear(pixel(799, 599), {799 % 256, 599 % 256, 90});
    expectRgb(pixel(517, 263), {517 % 256, 263 % 256, 90}); // not one texel off inside
    drawFrameWithExactBackground(kViewWidth - 1, kViewHeight);
    expectNear(pixel(0, 0), {0, 0, 0});
}

TEST_F(Gles2Drawing, TextureModulatesTheLitColour) {
    ImageRecord record{};
    const uint32_t green =
        loadTexture(writePicture("green.bmp", 16, 16, pureGreen).c_str(), &record);
    const uint32_t grey = loadTexture(writePicture("grey.bmp", 16, 16, halfGrey).c_str(), &record);
    ASSERT_NE(green, 0u);
    ASSERT_NE(grey, 0u);
    addBody(kVertexOnPixelCentre, 0.5, green, true);
    stepAndDrawFrame(0.0);
    expectNear(pixel(400, 300), {0, 193, 0});
    worldReset();
    // 0.75834 * 128 / 255 = 0.38066: 97.
    addBody(kVertexOnPixelCentre, 0.5, grey, true);
    stepAndDrawFrame(0.0);
    expectNear(pixel(400, 300), {97, 97, 97});
}

TEST_F(Gles2Drawing, LaterBodyCoversEarlierAndTexturingEndsWithEachSphere) {
    ImageRecord record{};
    const uint32_t green =
        loadTexture(writePicture("green2.bmp", 16, 16, pureGreen).c_str(), &record);
    addBody({0, 0, -1}, 0.5, 0, true);
    addBody({0, 0, -5}, 0.5, green, true);
    addBody({3, 0, -3}, 0.5, 0, true); // untextured after a textured one: grey, not green
    stepAndDrawFrame(0.0);
    const Rgb middle = pixel(400, 300);
    EXPECT_EQ(middle.r, 0);
    EXPECT_GT(middle.g, 100);
    double x = 0;
    double y = 0;
    projectToWindow({3, 0, -3}, &x, &y);
    const Rgb later = pixel(static_cast<int>(x), static_cast<int>(y));
    EXPECT_EQ(later.r, later.g);
    EXPECT_GT(later.r, 100);
}

} // namespace

namespace {

TEST_F(Gles2Drawing, TextIsWhiteInTheTopLeftCornerAndLeavesTheProjection) {
    rendererClear();
    rendererDrawText("888", kViewWidth, kViewHeight);
    // The font's "8" at the margin of 4 font pixels, scaled by 2, starts at window column 8 and
    // row 8 from the top: its top bar is one font pixel in (columns 10 to 13, rows 8 and 9),
    // its sides start one font pixel lower (columns 8 and 9, from row 10).
    int white = 0;
    for (int y = kViewHeight - 30; y < kViewHeight; y++) {
        for (int x = 0; x < 40; x++) {
            const Rgb c = pixel(x, y);
            white += c.r == 255 && c.g == 255 && c.b == 255 ? 1 : 0;
        }
    }
    EXPECT_GT(white, 20);
    expectRgb(pixel(10, kViewHeight - 1 - 8), {255, 255, 255});
    expectRgb(pixel(8, kViewHeight - 1 - 8), {0, 0, 0});
    expectRgb(pixel(8, kViewHeight - 1 - 10), {255, 255, 255});
    expectRgb(pixel(2, kViewHeight - 2), {0, 0, 0});
    expectRgb(pixel(400, 300), {0, 0, 0});
    // The scene drawn afterwards lands where it did before the text.
    addBody(kVertexOnPixelCentre, 0.5, 0, true);
    stepAndDrawFrame(0.0);
    expectNear(pixel(400, 300), {193, 193, 193});
}

// Both renderers draw these alike: checked against one disc and one blend.
TEST_F(Gles2Drawing, LargePointsAreRoundAndPicturesAndShadesBlendByTheirAlpha) {
    expectRoundPointsLikeAnAntiAliasedDisc();
    expectBackgroundsBlendedByTheirOpacity();
    expectShadeBlendedAtItsAlpha();
}

} // namespace
