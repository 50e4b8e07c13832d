// BMP reader guards: headers that would overrun a buffer or allocate without bound are refused.
#include <cstdint>

#include <gtest/gtest.h>

#include "bmp_test_files.h"

namespace {

constexpr const char* kFormatUnsupported = "Unsupported bitmap format";
constexpr const char* kSizeUnsupported = "Bitmap size not supported";
constexpr const char* kDataSizeInvalid = "Invalid bitmap data size";
constexpr int32_t kMaxSide = 8192;

TEST(ReadBmpGuard, RefusesOffBitsBelowFileHeader) {
    for (const uint32_t offBits : {0U, 13U}) {
        SCOPED_TRACE(offBits);
        BmpFileLayout layout = plainBmpLayout(1, 1);
        layout.offBits = offBits;
        const BmpOutcome outcome = readBmpLayout(layout);
        expectBmpRefused(outcome, kFormatUnsupported);
        expectRecordEq(outcome.record, kUnwrittenRecord);
    }
}

TEST(ReadBmpGuard, RefusesHeaderBlockShorterThanInfoHeaderFields) {
    // biSizeImage ends at byte 24 of the header block, so bfOffBits 38 is the least accepted.
    BmpFileLayout layout = plainBmpLayout(3, 1);
    for (const uint32_t offBits : {14U, 37U}) {
        SCOPED_TRACE(offBits);
        layout.offBits = offBits;
        const BmpOutcome refused = readBmpLayout(layout);
        expectBmpRefused(refused, kFormatUnsupported);
        expectRecordEq(refused.record, kUnwrittenRecord);
    }
    layout.offBits = 38;
    const BmpOutcome outcome = readBmpLayout(layout);
    ASSERT_TRUE(outcome.read);
    expectRecordEq(outcome.record, {3, 1, 4, 1});
}

TEST(ReadBmpGuard, RefusesOffBitsBeyondEndOfFile) {
    BmpFileLayout layout = plainBmpLayout(1, 1);
    std::vector<uint8_t> bytes = buildBmpBytes(layout);
    bytes[10] = bytes[11] = bytes[12] = bytes[13] = 0xff; // bfOffBits 4 GiB - 1
    const BmpOutcome outcome = readBmpBytes(bytes, 0);
    expectBmpRefused(outcome, "Could not read bitmap info header");
    expectRecordEq(outcome.record, kUnwrittenRecord);
}

TEST(ReadBmpGuard, RefusesBitCountOtherThan24) {
    for (const uint16_t bitCount : {0, 1, 4, 8, 16, 23, 25, 32, 0xffff}) {
        SCOPED_TRACE(bitCount);
        BmpFileLayout layout = plainBmpLayout(4, 2);
        layout.bitCount = static_cast<uint16_t>(bitCount);
        const BmpOutcome outcome = readBmpLayout(layout);
        expectBmpRefused(outcome, kFormatUnsupported);
        expectRecordEq(outcome.record, kUnwrittenRecord);
    }
}

TEST(ReadBmpGuard, RefusesCompressedData) {
    for (const uint32_t compression : {1U, 2U, 3U, 4U, 5U, 6U, 0x100U}) {
        SCOPED_TRACE(compression);
        BmpFileLayout layout = plainBmpLayout(4, 2);
        layout.compression = compression;
        expectBmpRefused(readBmpLayout(layout), kFormatUnsupported);
    }
}

TEST(ReadBmpGuard, RefusesTopDownFile) {
    BmpFileLayout layout = plainBmpLayout(4, 2);
    layout.height = -2;
    const BmpOutcome outcome = readBmpLayout(layout);
    expectBmpRefused(outcome, kFormatUnsupported);
    expectRecordEq(outcome.record, kUnwrittenRecord);
}

TEST(ReadBmpGuard, RefusesSidesThatAreNotPositive) {
    const struct { int32_t width, height; } cases[] = {{0, 2}, {-4, 2}, {INT32_MIN, 2}, {4, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        BmpFileLayout layout = plainBmpLayout(4, 2);
        layout.width = c.width;
        layout.height = c.height;
        const BmpOutcome outcome = readBmpLayout(layout);
        expectBmpRefused(outcome, kSizeUnsupported);
        expectRecordEq(outcome.record, kUnwrittenRecord);
    }
}

TEST(ReadBmpGuard, RefusesSidesAboveMaximumBeforeDoubling) {
    // 2^30 + 1 and INT32_MAX would overflow the doubling; 8193 is the first side refused.
    const struct {
        int32_t width, height;
    } cases[] = {{kMaxSide + 1, 1}, {3, kMaxSide + 1}, {(1 << 30) + 1, 1}, {3, INT32_MAX}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        BmpFileLayout layout = plainBmpLayout(3, 1);
        layout.width = c.width;
        layout.height = c.height;
        const BmpOutcome outcome = readBmpLayout(layout);
        expectBmpRefused(outcome, kSizeUnsupported);
        expectRecordEq(outcome.record, kUnwrittenRecord);
    }
}

TEST(ReadBmpGuard, ReadsSidesAtMaximum) {
    const BmpOutcome wide = readBmpLayout(plainBmpLayout(kMaxSide, 1));
    ASSERT_TRUE(wide.read);
    expectRecordEq(wide.record, {kMaxSide, 1, kMaxSide, 1});
    const BmpOutcome tall = readBmpLayout(plainBmpLayout(3, kMaxSide));
    ASSERT_TRUE(tall.read);
    expectRecordEq(tall.record, {3, kMaxSide, 4, kMaxSide});
}

// Widths 1 and 2 store rows of 4 and 8 bytes, longer than padded rows of 3 and 6 bytes: the
// reader must neither refuse these valid pictures nor read past its buffer.
TEST(ReadBmpGuard, ReadsWidthsWhoseStoredRowsOutgrowThePaddedRow) {
    const BmpOutcome one = readBmpLayout(plainBmpLayout(1, 1));
    ASSERT_TRUE(one.read);
    expectRecordEq(one.record, {1, 1, 1, 1});
    // Stored bytes 0, 1, 2 (blue, green, red) then one pad byte: the pixel comes out 2, 1, 0.
    EXPECT_EQ(one.pixels, (std::vector<uint8_t>{2, 1, 0}));

    const BmpOutcome two = readBmpLayout(plainBmpLayout(2, 3));
    ASSERT_TRUE(two.read);
    expectRecordEq(two.record, {2, 3, 2, 4});
    // Row 2 is stored at bytes 16..21; in the padded buffer it starts at 2 * 6 = 12.
    EXPECT_EQ(std::vector<uint8_t>(two.pixels.begin() + 12, two.pixels.begin() + 18),
              (std::vector<uint8_t>{18, 17, 16, 21, 20, 19}));
    // The padded fourth row stays black.
    EXPECT_EQ(std::vector<uint8_t>(two.pixels.begin() + 18, two.pixels.end()),
              std::vector<uint8_t>(6, 0));
}

TEST(ReadBmpGuard, RefusesSizeImageBeyondRawBuffer) {
    // 5 by 2 pads to 8 by 2: the raw buffer holds 48 bytes.
    for (const uint32_t sizeImage : {49U, 0xffffffffU}) {
        SCOPED_TRACE(sizeImage);
        BmpFileLayout layout = plainBmpLayout(5, 2);
        layout.sizeImage = sizeImage;
        layout.pixelData = countingBytes(64);
        const BmpOutcome outcome = readBmpLayout(layout);
        expectBmpRefused(outcome, kDataSizeInvalid);
        expectRecordEq(outcome.record, {5, 2, 8, 2});
    }
}

TEST(ReadBmpGuard, RefusesSizeImageShorterThanStoredRows) {
    // Two rows of S = 16 bytes: the copy reads up to byte 30, so 31 bytes are not enough.
    BmpFileLayout layout = plainBmpLayout(5, 2);
    layout.sizeImage = 31;
    expectBmpRefused(readBmpLayout(layout), kDataSizeInvalid);
    layout.sizeImage = 32;
    EXPECT_TRUE(readBmpLayout(layout).read);
}

TEST(ReadBmpGuard, RefusesDataLargerThanFile) {
    // Claims 8192 by 8192 pixels (192 MiB) but holds 12 bytes.
    BmpFileLayout layout;
    layout.width = kMaxSide;
    layout.height = kMaxSide;
    layout.pixelData = countingBytes(12);
    const BmpOutcome outcome = readBmpLayout(layout);
    expectBmpRefused(outcome, "Could not read bitmap data");
    expectRecordEq(outcome.record, {kMaxSide, kMaxSide, kMaxSide, kMaxSide});
}

} // namespace
