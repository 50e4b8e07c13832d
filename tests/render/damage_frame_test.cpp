// Frames drawn only where they changed, into a buffer that keeps its contents, against the same
// frames drawn whole: byte for byte, on both renderers, across the painted background landing,
// a resize and the frame-rate figure changing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/platform.h"
#include "render/background.h"
#include "render/body_looks.h"
#include "render/frame.h"
#include "render/picture_folder.h"
#include "render/renderer.h"
#include "render/text_quads.h"
#include "sim/gravity_list.h"
#include "sim/scene.h"
#include "sim/world.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kFrames = 300;
constexpr int kPaintedAt = 90;  // the painted background replaces the scaled one
constexpr int kResizedAt = 180; // the drawable shrinks to the lower left of the buffer
constexpr int kSmallWidth = 640;
constexpr int kSmallHeight = 480;
constexpr double kDt = 0.02;
constexpr uint32_t kSeed = 7;

// A picture for the drawable itself whose every pixel differs from its neighbours, so that one
// drawn a pixel off shows.
std::vector<uint8_t> paintedPicture(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); i++) {
        rgb[i] = static_cast<uint8_t>(i * 37 + i / 3);
    }
    return rgb;
}

// The drawable's pixels: outside the viewport GL may leave what it likes.
uint64_t hashOfDrawable(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    rendererReadPixels(0, 0, width, height, rgb.data());
    uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (const uint8_t byte : rgb) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

// The run's frames, each hashed; with age 1 each frame is drawn into what the one before left.
// Following, one body is thrown far out: the view widens over the first hundred frames, and the
// scene fades into the next one from frame 200 on.
std::vector<uint64_t> drawRun(BackgroundMode mode, ViewMode view, int age, int* partial) {
    worldReset();
    backgroundSetMode(mode);
    setupGLWithSeed(kSeed);
    createScene();
    bodyLooksCreate();
    if (view == ViewMode::Follow) {
        frameStartLongRun(view, RenewMode::Auto, kSeed);
        gravityListGet(&bodies, 0)->position.x = 1000.0;
    }
    resizeViewport(kWidth, kHeight);
    std::vector<uint64_t> hashes;
    int width = kWidth;
    int height = kHeight;
    for (int frame = 0; frame < kFrames; frame++) {
        if (frame == kPaintedAt || frame == kResizedAt + kPaintedAt / 2) {
            const std::vector<uint8_t> rgb = paintedPicture(width, height);
            backgroundSetExact(rgb.data(), width, height);
        }
        if (frame == kResizedAt) {
            width = kSmallWidth;
            height = kSmallHeight;
            resizeViewport(width, height);
        }
        char text[kTextMaxLength];
        std::snprintf(text, sizeof text, "%d fps", frame * 7 % 1000);
        frameAddOverlay(textQuadsBox(text, height));
        frameSetBufferAge(age);
        stepAndDrawFrame(kDt);
        rendererDrawText(text, width, height);
        *partial += frameDrawn().whole ? 0 : 1;
        hashes.push_back(hashOfDrawable(width, height));
    }
    backgroundSetExact(nullptr, 0, 0);
    return hashes;
}

// One program per renderer (VELMORIN_TEST_GLES2 picks the shader one): the context stays until
// the process ends, as the leak checker needs.
constexpr RendererKind kRenderer =
#if defined(VELMORIN_TEST_GLES2)
    RendererKind::Gles2;
#else
    RendererKind::Gl11;
#endif

bool startOffscreen() {
    setPictureFolder(VELMORIN_BUILD_DIR "/bitmap");
    return rendererSelect(kRenderer) && platformInit(PlatformVideo::Offscreen) &&
           platformCreateWindow("velmorin-test", kWidth, kHeight,
                                kRenderer == RendererKind::Gles2
                                    ? PlatformGLFlavour::Es2
                                    : PlatformGLFlavour::Compatibility);
}

TEST(DamagedFrames, EqualFullRedrawsByteForByte) {
    ASSERT_TRUE(startOffscreen());
    // Whole: the first frame, those after the background changes and the resize, and the frame
    // after each of them, whose buffer holds a frame of unknown damage; following, the fade too.
    const struct {
        BackgroundMode mode;
        ViewMode view;
        int leastPartial;
    } rows[] = {{BackgroundMode::Fill, ViewMode::Fixed, kFrames - 8},
                {BackgroundMode::Fixed, ViewMode::Fixed, kFrames - 8},
                {BackgroundMode::Fill, ViewMode::Follow, 190},
                {BackgroundMode::Fixed, ViewMode::Follow, 190}};
    for (const auto& row : rows) {
        int partial = 0;
        const std::vector<uint64_t> whole = drawRun(row.mode, row.view, 0, &partial);
        const std::vector<uint64_t> damaged = drawRun(row.mode, row.view, 1, &partial);
        const int mode = static_cast<int>(row.mode) + 10 * static_cast<int>(row.view);
        EXPECT_GE(partial, row.leastPartial) << "mode " << mode;
        for (int frame = 0; frame < kFrames; frame++) {
            ASSERT_EQ(damaged[frame], whole[frame]) << "frame " << frame << ", mode " << mode;
        }
    }
}

// Two outputs of one scene, each with a record of its own buffers: the other's size drawn in
// between must not make either draw whole again.
TEST(DamagedFrames, EachOutputKeepsItsOwnRecord) {
    ASSERT_TRUE(startOffscreen());
    worldReset();
    backgroundSetMode(BackgroundMode::Fill);
    setupGLWithSeed(kSeed);
    createScene();
    bodyLooksCreate();
    FrameDamage outputs[2];
    const int sizes[2][2] = {{kWidth, kHeight}, {kSmallWidth, kSmallHeight}};
    int partial = 0;
    for (int tick = 0; tick < 10; tick++) {
        stepFrame(kDt);
        for (int i = 0; i < 2; i++) {
            frameSelectDamage(&outputs[i]);
            resizeViewport(sizes[i][0], sizes[i][1]);
            frameSetBufferAge(1);
            drawFrame();
            partial += frameDrawn().whole ? 0 : 1;
        }
    }
    frameSelectDamage(nullptr);
    EXPECT_EQ(partial, 2 * (10 - 2)); // whole only at first and on the frame after
}

// A new size along either side is a new buffer: the frame after it is drawn whole, whatever
// age the driver reports.
TEST(DamagedFrames, AResizeAlongEitherSideDrawsWhole) {
    ASSERT_TRUE(startOffscreen());
    worldReset();
    backgroundSetMode(BackgroundMode::Fixed);
    setupGLWithSeed(kSeed);
    createScene();
    bodyLooksCreate();
    const int sizes[2][2] = {{kWidth, kSmallHeight}, {kSmallWidth, kHeight}};
    for (const auto& size : sizes) {
        resizeViewport(kWidth, kHeight);
        for (int frame = 0; frame < 3; frame++) {
            frameSetBufferAge(1);
            stepAndDrawFrame(kDt);
        }
        ASSERT_FALSE(frameDrawn().whole);
        resizeViewport(size[0], size[1]);
        frameSetBufferAge(1);
        stepAndDrawFrame(kDt);
        EXPECT_TRUE(frameDrawn().whole) << size[0] << "x" << size[1];
    }
}

} // namespace
