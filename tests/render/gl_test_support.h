// Headless GL for drawing tests: an offscreen context, pictures on disk, pixels read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "math/vertex.h"

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

inline constexpr int kViewWidth = 800;
inline constexpr int kViewHeight = 600;

// One offscreen 800 by 600 context for the whole test program, current on the main thread.
// Each test starts from a fresh world, a reset frame clock and the default GL state the frame
// relies on (setupGL with seed 1 and no background file, then the 800 by 600 projection).
class GlDrawing : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;
};

// Writes a 24-bit BMP whose pixels come from colourAt(x, y), y counted from the bottom row.
std::string writePicture(const std::string& name, int width, int height,
                         Rgb (*colourAt)(int x, int y));
// Colour of the window pixel (x, y), counted from the lower-left corner, in the back buffer.
Rgb readPixel(int x, int y);
// Where a world point lands in the 800 by 600 window: eye 9 units before the scene frame,
// view centred on the origin, frustum +-1 by +-0.75 at the near plane 1 (worked by hand:
// x_window = 400 + 400 * x / -z_eye, y_window = 300 + 400 * y / -z_eye).
void projectToWindow(Vertex world, double* windowX, double* windowY);
// Removes the folder writePicture writes into, once the test program needs it no more.
void removeWrittenPictures();
// Every error text reported since the test began.
const std::vector<std::string>& reportedErrors();

void expectRgb(Rgb actual, Rgb expected);

// Draws one frame in the fill mode with a painted background of width by height whose pixel
// (x, y) is (x % 256, y % 256, 90), then drops the picture and returns to the fixed mode.
void drawFrameWithExactBackground(int width, int height);
