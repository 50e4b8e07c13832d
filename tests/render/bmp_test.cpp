// BMP reader: the failure steps in order, padded sizes, data size, pixel placement, header block.
#include <algorithm>

#include <gtest/gtest.h>

#include "bmp_test_files.h"

namespace {

// Drops the last count bytes of a file.
std::vector<uint8_t> withoutTail(std::vector<uint8_t> bytes, size_t count) {
    bytes.resize(bytes.size() - count);
    return bytes;
}

TEST(ReadBmpFailure, RefusesMissingFileWithoutWritingRecord) {
    const BmpOutcome outcome = readBmpOutcome(missingBmpPath(), 0);
    expectBmpRefused(outcome, "Could not open bitmap file");
    expectRecordEq(outcome.record, kUnwrittenRecord);
}

TEST(ReadBmpFailure, RefusesFileShorterThanFileHeader) {
    const std::vector<uint8_t> full = buildBmpBytes(plainBmpLayout(1, 1));
    for (const size_t size : {size_t{0}, size_t{2}, size_t{13}}) {
        SCOPED_TRACE(size);
        const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(size));
        const BmpOutcome outcome = readBmpBytes(cut, 0);
        expectBmpRefused(outcome, "Could not read bitmap file header");
        expectRecordEq(outcome.record, kUnwrittenRecord);
    }
}

TEST(ReadBmpFailure, RefusesSignatureDifferingInAnyWayIncludingCase) {
    for (const char* signature : {"bm", "Bm", "bM", "MB", "BA", "XM"}) {
        SCOPED_TRACE(signature);
        std::vector<uint8_t> bytes = buildBmpBytes(plainBmpLayout(1, 1));
        bytes[0] = static_cast<uint8_t>(signature[0]);
        bytes[1] = static_cast<uint8_t>(signature[1]);
        const BmpOutcome outcome = readBmpBytes(bytes, kBmpInfoHeaderSize);
        expectBmpRefused(outcome, "File not bitmap");
        expectRecordEq(outcome.record, kUnwrittenRecord);
    }
}

TEST(ReadBmpFailure, RefusesFileEndingInsideHeaderBlockWithoutWritingRecord) {
    BmpFileLayout layout = plainBmpLayout(3, 2);
    layout.pixelData.clear();
    // 30 of the 40 header-block bytes: width and height are there, the block is not.
    const std::vector<uint8_t> bytes = withoutTail(buildBmpBytes(layout), 10);
    const BmpOutcome outcome = readBmpBytes(bytes, kBmpInfoHeaderSize);
    expectBmpRefused(outcome, "Could not read bitmap info header");
    expectRecordEq(outcome.record, kUnwrittenRecord);
}

TEST(ReadBmpFailure, RefusesFileEndingInsidePixelDataAfterFillingRecord) {
    const std::vector<uint8_t> bytes = withoutTail(buildBmpBytes(plainBmpLayout(100, 60)), 1);
    const BmpOutcome outcome = readBmpBytes(bytes, kBmpInfoHeaderSize);
    expectBmpRefused(outcome, "Could not read bitmap data");
    expectRecordEq(outcome.record, {100, 60, 128, 64});
}

TEST(ReadBmpDataSize, ComesFromSizesWhenSizeImageIsZero) {
    // 60 rows of 300 bytes: 18,000 bytes are enough, 17,999 are not.
    BmpFileLayout layout = plainBmpLayout(100, 60);
    ASSERT_EQ(layout.pixelData.size(), 18000U);
    EXPECT_TRUE(readBmpLayout(layout).read);
    layout.pixelData.pop_back();
    expectBmpRefused(readBmpLayout(layout), "Could not read bitmap data");
}

TEST(ReadBmpDataSize, TakesNonZeroSizeImageEvenWhenLargerThanRows) {
    // 5 by 2 needs 32 bytes; 48 fill the 8 by 2 raw buffer exactly and are all read.
    BmpFileLayout layout = plainBmpLayout(5, 2);
    layout.sizeImage = 48;
    layout.pixelData = countingBytes(48);
    EXPECT_TRUE(readBmpLayout(layout).read);
    layout.pixelData = countingBytes(47);
    expectBmpRefused(readBmpLayout(layout), "Could not read bitmap data");
}

TEST(ReadBmpPadding, RoundsEachSideUpToPowerOfTwo) {
    const struct {
        int32_t width, height;
        ImageRecord expected;
    } cases[] = {
        {100, 60, {100, 60, 128, 64}}, {256, 256, {256, 256, 256, 256}},
        {257, 3, {257, 3, 512, 4}},    {3, 1, {3, 1, 4, 1}},
        {4, 5, {4, 5, 4, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        const BmpOutcome outcome = readBmpLayout(plainBmpLayout(c.width, c.height));
        ASSERT_TRUE(outcome.read);
        EXPECT_TRUE(outcome.reports.empty());
        expectRecordEq(outcome.record, c.expected);
        EXPECT_EQ(outcome.pixels.size(), static_cast<size_t>(c.expected.paddedWidth) *
                                             static_cast<size_t>(c.expected.paddedHeight) * 3);
    }
}

TEST(ReadBmpPixels, PlacesFiveByTwoPictureInLowerLeftWithRedAndBlueExchanged) {
    // S = 16, so the file holds bytes 0..14 of row 0, pad 15, and row 1 in bytes 16..30.
    const BmpOutcome outcome = readBmpLayout(plainBmpLayout(5, 2));
    ASSERT_TRUE(outcome.read);
    expectRecordEq(outcome.record, {5, 2, 8, 2});
    const std::vector<uint8_t> expected = {
        2,  1,  0,  5,  4,  3,  8,  7,  6,  11, 10, 9,  14, 13, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        18, 17, 16, 21, 20, 19, 24, 23, 22, 27, 26, 25, 30, 29, 28, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(outcome.pixels, expected);
}

TEST(ReadBmpPixels, FillsWholeBufferWhenSidesArePowersOfTwo) {
    const BmpOutcome outcome = readBmpLayout(plainBmpLayout(4, 2));
    ASSERT_TRUE(outcome.read);
    const std::vector<uint8_t> expected = {
        2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 17, 16, 15, 20, 19, 18, 23, 22, 21,
    };
    EXPECT_EQ(outcome.pixels, expected);
}

TEST(ReadBmpPixels, BlackensPaddingAroundPicture) {
    // 3 by 3 pads to 4 by 4: the fourth row and the fourth column stay zero.
    const BmpOutcome outcome = readBmpLayout(plainBmpLayout(3, 3));
    ASSERT_TRUE(outcome.read);
    ASSERT_EQ(outcome.pixels.size(), 48U);
    EXPECT_EQ(outcome.pixels[24], 26); // row 2 starts with stored bytes 24..26 reversed
    EXPECT_EQ(outcome.pixels[26], 24);
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(outcome.pixels[36 + i], 0) << "row 3 byte " << i;
    }
    for (size_t row = 0; row < 3; ++row) {
        EXPECT_EQ(outcome.pixels[row * 12 + 9], 0) << "row " << row << " column 3";
    }
}

TEST(ReadBmpHeaderBlock, HandsBackInfoHeaderOfPlainFile) {
    const BmpFileLayout layout = plainBmpLayout(3, 1);
    const BmpOutcome outcome = readBmpLayout(layout);
    ASSERT_TRUE(outcome.read);
    EXPECT_EQ(outcome.headerBlock, buildBmpInfoHeader(layout));
}

// Longer header blocks: a V5 header (124 bytes) and a 256-entry colour table (1,064 bytes).
TEST(ReadBmpHeaderBlock, HandsBackAllBytesBeforePixelDataWithoutSeeking) {
    for (const uint32_t headerBlockSize : {124U, 1064U}) {
        SCOPED_TRACE(headerBlockSize);
        BmpFileLayout layout = plainBmpLayout(5, 2);
        layout.offBits = kBmpFileHeaderSize + headerBlockSize;
        const BmpOutcome outcome = readBmpLayout(layout);
        ASSERT_TRUE(outcome.read);
        const std::vector<uint8_t> info = buildBmpInfoHeader(layout);
        EXPECT_TRUE(std::equal(info.begin(), info.end(), outcome.headerBlock.begin()));
        EXPECT_EQ(outcome.headerBlock[kBmpInfoHeaderSize], kBmpHeaderFiller);
        EXPECT_EQ(outcome.headerBlock.back(), kBmpHeaderFiller);
        // The pixels start right after the block: row 1 begins with stored bytes 16..18.
        EXPECT_EQ(outcome.pixels[24], 18);
        EXPECT_EQ(outcome.pixels[26], 16);
    }
}

} // namespace
