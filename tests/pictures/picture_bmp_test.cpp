// The BMP writer: header fields, row padding and byte order, worked out by hand for 5 x 2.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "pictures/bmp.h"
#include "tests/pictures/picture_test_support.h"

namespace {

// 5 x 2: every pixel different, so a swapped row, column or channel shows.
// Top row:    (10,11,12) (20,21,22) (30,31,32) (40,41,42) (50,51,52)
// Bottom row: (60,61,62) ...                              (100,101,102)
Image makeFiveByTwo() {
    Image image = makeImage(5, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 5; ++x) {
            const auto base = static_cast<uint8_t>(10 * (1 + x + 5 * y));
            image.pixels[static_cast<size_t>(y * 5 + x)] = {base, static_cast<uint8_t>(base + 1),
                                                            static_cast<uint8_t>(base + 2)};
        }
    }
    return image;
}

TEST(PictureBmp, RowStrideRoundsThreeBytesPerPixelUpToFour) {
    EXPECT_EQ(computeBmpRowStride(1), 4);  // 3 -> 4
    EXPECT_EQ(computeBmpRowStride(3), 12); // 9 -> 12
    EXPECT_EQ(computeBmpRowStride(4), 12); // 12, no padding
    EXPECT_EQ(computeBmpRowStride(5), 16); // 15 -> 16
    EXPECT_EQ(computeBmpRowStride(6), 20); // 18 -> 20
    EXPECT_EQ(computeBmpRowStride(96), 288);
    EXPECT_EQ(computeBmpRowStride(201), 604); // 603 -> 604
}

TEST(PictureBmp, FiveByTwoHeaderFields) {
    const std::vector<uint8_t> bytes = encodeBmp(makeFiveByTwo());
    // 54 header bytes + 2 rows of 16.
    ASSERT_EQ(bytes.size(), 86u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(readU32(bytes, 2), 86u);  // bfSize
    EXPECT_EQ(readU32(bytes, 6), 0u);   // bfReserved1, bfReserved2
    EXPECT_EQ(readU32(bytes, 10), 54u); // bfOffBits
    EXPECT_EQ(readU32(bytes, 14), 40u); // biSize
    EXPECT_EQ(readU32(bytes, 18), 5u);  // biWidth
    EXPECT_EQ(readU32(bytes, 22), 2u);  // biHeight, positive: bottom-up
    EXPECT_EQ(readU16(bytes, 26), 1u);  // biPlanes
    EXPECT_EQ(readU16(bytes, 28), 24u); // biBitCount
    EXPECT_EQ(readU32(bytes, 30), 0u);  // biCompression: none
    EXPECT_EQ(readU32(bytes, 34), 32u); // biSizeImage = 16 * 2
    EXPECT_EQ(readU32(bytes, 46), 0u);  // biClrUsed
}

TEST(PictureBmp, FiveByTwoRowsAreBottomFirstBlueGreenRedAndPadded) {
    const std::vector<uint8_t> bytes = encodeBmp(makeFiveByTwo());
    ASSERT_EQ(bytes.size(), 86u);
    const std::vector<uint8_t> pixels(bytes.begin() + 54, bytes.end());
    const std::vector<uint8_t> expected = {
        // bottom row of the picture first, each pixel blue, green, red, then one pad byte
        62, 61, 60, 72, 71, 70, 82, 81, 80, 92, 91, 90, 102, 101, 100, 0,
        // then the top row
        12, 11, 10, 22, 21, 20, 32, 31, 30, 42, 41, 40, 52, 51, 50, 0};
    EXPECT_EQ(pixels, expected);
}

TEST(PictureBmp, RowsWithoutPaddingFollowEachOtherDirectly) {
    Image image = makeImage(4, 2);
    image.pixels[0] = {1, 2, 3}; // top left
    image.pixels[4] = {7, 8, 9}; // bottom left
    const std::vector<uint8_t> bytes = encodeBmp(image);
    ASSERT_EQ(bytes.size(), 54u + 24u);
    EXPECT_EQ(readU32(bytes, 34), 24u);
    EXPECT_EQ(bytes[54], 9); // bottom left, blue first
    EXPECT_EQ(bytes[56], 7);
    EXPECT_EQ(bytes[54 + 12], 3); // the top row starts right after 12 bytes
    EXPECT_EQ(bytes[54 + 14], 1);
}

TEST(PictureBmp, WriteStoresExactlyTheEncodedBytes) {
    const ScratchDir scratch("bmp-write");
    const Image image = makeFiveByTwo();
    ASSERT_TRUE(writeBmp(scratch.path / "five-by-two.bmp", image));
    EXPECT_EQ(readFileBytes(scratch.path / "five-by-two.bmp"), encodeBmp(image));
}

TEST(PictureBmp, WriteReportsAMissingDirectory) {
    const ScratchDir scratch("bmp-missing");
    EXPECT_FALSE(writeBmp(scratch.path / "no-such-dir" / "picture.bmp", makeFiveByTwo()));
}

} // namespace
