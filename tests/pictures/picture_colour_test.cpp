// Colour arithmetic, ramps and quantisation to bytes.
#include <gtest/gtest.h>

#include "pictures/colour.h"
#include "pictures/image.h"

namespace {

void expectRgb(Rgb8 actual, int r, int g, int b) {
    EXPECT_EQ(actual.r, r);
    EXPECT_EQ(actual.g, g);
    EXPECT_EQ(actual.b, b);
}

TEST(PictureQuantise, RoundsHalfUpAndClampsOutOfRange) {
    expectRgb(quantiseColour({0.0, 1.0, 0.5}), 0, 255, 128); // 127.5 rounds up
    expectRgb(quantiseColour({-0.3, 1.7, 0.2}), 0, 255, 51); // 51.0 exactly
    expectRgb(quantiseColour({0.4 / 255.0, 0.6 / 255.0, 1.0 / 255.0}), 0, 1, 1);
}

TEST(PictureQuantise, HexColoursComeBackAsTheirBytes) {
    expectRgb(quantiseColour(decodeHexColour(0x336699)), 0x33, 0x66, 0x99);
    expectRgb(quantiseColour(decodeHexColour(0xFF0001)), 255, 0, 1);
}

TEST(PictureImage, SetPixelAddressesRowThenColumnFromTheTop) {
    Image image = makeImage(3, 2);
    setPixel(image, 2, 1, {1.0, 0.0, 0.0});
    expectRgb(image.pixels[5], 255, 0, 0); // row 1 starts at index 3
    expectRgb(readPixel(image, 2, 1), 255, 0, 0);
    expectRgb(readPixel(image, 1, 1), 0, 0, 0); // its neighbour untouched
}

TEST(PictureRamp, IsExactAtStopsAndLinearBetween) {
    const RampStop stops[] = {
        {0.0, {0.0, 0.0, 0.0}}, {0.5, {1.0, 0.5, 0.0}}, {1.0, {1.0, 1.0, 1.0}}};
    const Colour atStop = sampleRamp(stops, 0.5);
    EXPECT_DOUBLE_EQ(atStop.g, 0.5);
    const Colour quarter = sampleRamp(stops, 0.25); // halfway between the first two stops
    EXPECT_DOUBLE_EQ(quarter.r, 0.5);
    EXPECT_DOUBLE_EQ(quarter.g, 0.25);
    EXPECT_DOUBLE_EQ(quarter.b, 0.0);
    const Colour upper = sampleRamp(stops, 0.75);
    EXPECT_DOUBLE_EQ(upper.r, 1.0);
    EXPECT_DOUBLE_EQ(upper.g, 0.75);
    EXPECT_DOUBLE_EQ(upper.b, 0.5);
}

TEST(PictureRamp, HoldsTheEndColoursOutside) {
    const RampStop stops[] = {{0.2, {0.1, 0.2, 0.3}}, {0.8, {0.7, 0.8, 0.9}}};
    EXPECT_DOUBLE_EQ(sampleRamp(stops, -5.0).r, 0.1);
    EXPECT_DOUBLE_EQ(sampleRamp(stops, 0.2).g, 0.2);
    EXPECT_DOUBLE_EQ(sampleRamp(stops, 0.8).b, 0.9);
    EXPECT_DOUBLE_EQ(sampleRamp(stops, 7.0).b, 0.9);
}

TEST(PictureShaping, SmoothStepIsTheCubicBetweenItsEdges) {
    EXPECT_EQ(smoothStep(1.0, 3.0, 0.5), 0.0);
    EXPECT_EQ(smoothStep(1.0, 3.0, 3.5), 1.0);
    EXPECT_DOUBLE_EQ(smoothStep(1.0, 3.0, 2.0), 0.5);
    EXPECT_DOUBLE_EQ(smoothStep(0.0, 1.0, 0.25), 0.15625); // 3/16 - 2/64
    // Reversed edges fall instead of rise.
    EXPECT_DOUBLE_EQ(smoothStep(1.0, 0.0, 0.25), 0.84375);
}

TEST(PictureShaping, FractionIsMeasuredUpFromTheFloor) {
    EXPECT_DOUBLE_EQ(takeFraction(2.75), 0.75);
    EXPECT_DOUBLE_EQ(takeFraction(-0.25), 0.75);
    EXPECT_EQ(takeFraction(-3.0), 0.0);
}

TEST(PictureShaping, LumaWeightsGreenMostAndSumsToOne) {
    EXPECT_DOUBLE_EQ(measureLuma({1.0, 1.0, 1.0}), 1.0);
    EXPECT_DOUBLE_EQ(measureLuma({0.0, 1.0, 0.0}), 0.587);
    EXPECT_DOUBLE_EQ(measureLuma({0.0, 0.0, 1.0}), 0.114);
}

} // namespace
