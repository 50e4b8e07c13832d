// Palette colours for indexed-colour formats: the levels read from the index and their scaling.
#include <gtest/gtest.h>

#include "app/win32/win32_palette.h"

namespace {

// The classic 8-bit layout: 3 red bits, then 3 green bits, then 2 blue bits.
constexpr PaletteLayout kLayout332{{3, 0}, {3, 3}, {2, 6}};

void expectColour(const PaletteColour& colour, int red, int green, int blue) {
    EXPECT_EQ(colour.red, red);
    EXPECT_EQ(colour.green, green);
    EXPECT_EQ(colour.blue, blue);
}

TEST(PaletteColourAt, WorkedExampleOfThe332Layout) {
    expectColour(paletteColourAt(kLayout332, 0), 0, 0, 0);
    expectColour(paletteColourAt(kLayout332, 1), 36, 0, 0); // 255 / 7 = 36.4
    expectColour(paletteColourAt(kLayout332, 64), 0, 0, 85);
    expectColour(paletteColourAt(kLayout332, 255), 255, 255, 255);
}

TEST(PaletteColourAt, ChannelsComeFromTheirOwnBits) {
    expectColour(paletteColourAt(kLayout332, 7), 255, 0, 0);
    expectColour(paletteColourAt(kLayout332, 7 << 3), 0, 255, 0);
    expectColour(paletteColourAt(kLayout332, 3 << 6), 0, 0, 255);
    // Red 5, green 2, blue 2: 5 * 255 / 7 = 182.1, 2 * 255 / 7 = 72.9, 2 * 255 / 3 = 170.
    expectColour(paletteColourAt(kLayout332, 5 | 2 << 3 | 2 << 6), 182, 72, 170);
}

TEST(PaletteColourAt, FractionsAreDroppedNotRounded) {
    // 4 * 255 / 7 = 145.71 and 6 * 255 / 7 = 218.57: rounding would give 146 and 219.
    expectColour(paletteColourAt(kLayout332, 4), 145, 0, 0);
    expectColour(paletteColourAt(kLayout332, 6 << 3), 0, 218, 0);
}

TEST(PaletteColourAt, EveryEntryOfThe332LayoutMatchesItsLevels) {
    for (uint32_t index = 0; index < 256; index++) {
        const uint32_t red = index & 7;
        const uint32_t green = (index >> 3) & 7;
        const uint32_t blue = index >> 6;
        const PaletteColour colour = paletteColourAt(kLayout332, index);
        // Integer form of the truncated scaling: floor(level * 255 / mask).
        EXPECT_EQ(colour.red, red * 255 / 7) << index;
        EXPECT_EQ(colour.green, green * 255 / 7) << index;
        EXPECT_EQ(colour.blue, blue * 255 / 3) << index;
    }
}

TEST(PaletteColourAt, AChannelWithoutBitsStaysBlack) {
    constexpr PaletteLayout kNoBlue{{4, 0}, {4, 4}, {0, 0}};
    expectColour(paletteColourAt(kNoBlue, 0xFF), 255, 255, 0);
    expectColour(paletteColourAt(kNoBlue, 0x1F), 255, 17, 0);
}

TEST(PaletteColourAt, ChannelsWiderThanEightBitsUseEight) {
    constexpr PaletteLayout kWide{{12, 0}, {1, 12}, {1, 13}};
    // Only the low 8 bits of the 12-bit field count: 0x0FF is full, 0x080 is 128.
    expectColour(paletteColourAt(kWide, 0x0FF), 255, 0, 0);
    expectColour(paletteColourAt(kWide, 0x080), 128, 0, 0);
    expectColour(paletteColourAt(kWide, 1u << 12 | 1u << 13), 0, 255, 255);
}

} // namespace
