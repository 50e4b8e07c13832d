// The offscreen GL context, the pictures written for a test, and pixel read-back.
#include "gl_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bmp_test_files.h"
#include "platform/platform.h"
#include "render/background.h"
#include "render/error_report.h"
#include "render/frame.h"
#include "render/frame_clock.h"
#include "render/gl.h"
#include "sim/world.h"

namespace {

std::vector<std::string> errorTexts;
void captureError(const char* text) {
    errorTexts.emplace_back(text);
}

// Made again when needed: each suite of the program removes it when it ends.
std::filesystem::path pictureFolder() {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("velmorin-gl-" + std::to_string(static_cast<long>(::getpid())));
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace

void GlDrawing::SetUpTestSuite() {
    ASSERT_TRUE(platformInit(PlatformVideo::Offscreen));
    ASSERT_TRUE(platformCreateWindow("velmorin-test", kViewWidth, kViewHeight));
}

void GlDrawing::TearDownTestSuite() {
    // The context stays until the process ends: shutting it down unloads the GL driver, and the
    // leak checker could then no longer tell the driver's own leftovers from ours.
    removeWrittenPictures();
}

void GlDrawing::SetUp() {
    errorTexts.clear();
    setErrorReporter(captureError);
    worldReset();
    frameTimingReset();
    frameClockSetSource(nullptr);
    // The test runs where no bitmap folder exists, so the background list comes out empty;
    // that one report is part of the set-up, not of the test.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(pictureFolder());
    setupGLWithSeed(1);
    std::filesystem::current_path(previous);
    errorTexts.clear();
    resizeViewport(kViewWidth, kViewHeight);
}

void GlDrawing::TearDown() {
    worldReset();
    setErrorReporter(nullptr);
}

std::string writePicture(const std::string& name, int width, int height,
                         Rgb (*colourAt)(int x, int y)) {
    BmpFileLayout layout = plainBmpLayout(width, height);
    const size_t rowSize = bmpRowSize(width);
    layout.pixelData.assign(rowSize * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            const Rgb c = colourAt(x, y);
            uint8_t* pixel = &layout.pixelData[static_cast<size_t>(y) * rowSize + 3u * x];
            pixel[0] = static_cast<uint8_t>(c.b); // stored blue, green, red
            pixel[1] = static_cast<uint8_t>(c.g);
            pixel[2] = static_cast<uint8_t>(c.r);
        }
    }
    const std::vector<uint8_t> bytes = buildBmpBytes(layout);
    const std::string path = (pictureFolder() / name).string();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

Rgb readPixel(int x, int y) {
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    uint8_t pixel[3] = {0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    return {pixel[0], pixel[1], pixel[2]};
}

void projectToWindow(Vertex world, double* windowX, double* windowY) {
    const double depth = 9.0 - world.z; // distance in front of the eye
    *windowX = 400.0 + 400.0 * world.x / depth;
    *windowY = 300.0 + 400.0 * world.y / depth;
}

void removeWrittenPictures() {
    std::filesystem::remove_all(pictureFolder());
}

const std::vector<std::string>& reportedErrors() {
    return errorTexts;
}

void expectRgb(Rgb actual, Rgb expected) {
    EXPECT_EQ(actual.r, expected.r);
    EXPECT_EQ(actual.g, expected.g);
    EXPECT_EQ(actual.b, expected.b);
}

void drawFrameWithExactBackground(int width, int height) {
    constexpr int kColourRange = 256;
    constexpr uint8_t kBlue = 90;
    std::vector<uint8_t> rgb;
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            rgb.insert(rgb.end(), {static_cast<uint8_t>(x % kColourRange),
                                   static_cast<uint8_t>(y % kColourRange), kBlue});
        }
    }
    backgroundSetMode(BackgroundMode::Fill);
    backgroundSetExact(rgb.data(), width, height);
    stepAndDrawFrame(0.0);
    backgroundSetExact(nullptr, 0, 0);
    backgroundSetMode(BackgroundMode::Fixed);
}
