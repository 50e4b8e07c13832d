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
        BmpFileSpec spec = plainBmpSpec(1, 1);
        spec.offBits = offBits;
        const BmpOutcome outcome = readBmpSpec(spec);
        expectBmpRefused(outcome, kFormatUnsupported);
        expectRecordEq(outcome.record, kUnwrittenRecord);
    }
}

TEST(ReadBmpGuard, RefusesHeaderBlockShorterThanInfoHeaderFields) {
    // biSizeImage ends at byte 24 of the header block, so bfOffBits 38 is the least accepted.
    BmpFileSpec spec = plainBmpSpec(3, 1);
    for (const uint32_t offBits : {14U, 37U}) {
        SCOPED_TRACE(offBits);
        spec.offBits = offBits;
        const BmpOutcome refused = readBmpSpec(spec);
        expectBmpRefused(refused, kFormatUnsupported);
        expectRecordEq(refused.record, kUnwrittenRecord);
    }
    spec.offBits = 38;
    const BmpOutcome outcome = readBmpSpec(spec);
    ASSERT_TRUE(outcome.read);
    expectRecordEq(outcome.record, {3, 1, 4, 1});
}

TEST(ReadBmpGuard, RefusesOffBitsBeyondEndOfFile) {
    BmpFileSpec spec = plainBmpSpec(1, 1);
    std::vector<uint8_t> bytes = buildBmpBytes(spec);
    bytes[10] = bytes[11] = bytes[12] = bytes[13] = 0xff; // bfOffBits 4 GiB - 1
    const BmpOutcome outcome = readBmpBytes(bytes, 0);
    expectBmpRefused(outcome, "Could not read bitmap info header");
    expectRecordEq(outcome.record, kUnwrittenRecord);
}

TEST(ReadBmpGuard, RefusesBitCountOtherThan24) {
    for (const uint16_t bitCount : {0, 1, 4, 8, 16, 23, 25, 32, 0xffff}) {
        SCOPED_TRACE(bitCount);
        BmpFileSpec spec = plainBmpSpec(4, 2);
        spec.bitCount = static_cast<uint16_t>(bitCount);
        const BmpOutcome outcome = readBmpSpec(spec);
        expectBmpRefused(outcome, kFormatUnsupported);
        expectRecordEq(outcome.record, kUnwrittenRecord);
    }
}

TEST(ReadBmpGuard, RefusesCompressedData) {
    for (const uint32_t compression : {1U, 2U, 3U, 4U, 5U, 6U, 0x100U}) {
        SCOPED_TRACE(compression);
        BmpFileSpec spec = plainBmpSpec(4, 2);
        spec.compression = compression;
        expectBmpRefused(readBmpSpec(spec), kFormatUnsupported);
    }
}

TEST(ReadBmpGuard, RefusesTopDownFile) {
    BmpFileSpec spec = plainBmpSpec(4, 2);
    spec.height = -2;
    const BmpOutcome outcome = readBmpSpec(spec);
    expectBmpRefused(outcome, kFormatUnsupported);
    expectRecordEq(outcome.record, kUnwrittenRecord);
}

TEST(ReadBmpGuard, RefusesSidesThatAreNotPositive) {
    const struct { int32_t width, height; } cases[] = {{0, 2}, {-4, 2}, {INT32_MIN, 2}, {4, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        BmpFileSpec spec = plainBmpSpec(4, 2);
        spec.width = c.width;
        spec.height = c.height;
        const BmpOutcome outcome = readBmpSpec(spec);
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
        BmpFileSpec spec = plainBmpSpec(3, 1);
        spec.width = c.width;
        spec.height = c.height;
        const BmpOutcome outcome = readBmpSpec(spec);
        expectBmpRefused(outcome, kSizeUnsupported);
        expectRecordEq(outcome.record, kUnwrittenRecord);
    }
}

TEST(ReadBmpGuard, ReadsSidesAtMaximum) {
    const BmpOutcome wide = readBmpSpec(plainBmpSpec(kMaxSide, 1));
    ASSERT_TRUE(wide.read);
    expectRecordEq(wide.record, {kMaxSide, 1, kMaxSide, 1});
    const BmpOutcome tall = readBmpSpec(plainBmpSpec(3, kMaxSide));
    ASSERT_TRUE(tall.read);
    expectRecordEq(tall.record, {3, kMaxSide, 4, kMaxSide});
}

// Widths 1 and 2 store rows of 4 and 8 bytes, longer than padded rows of 3 and 6 bytes: the
// reader must neither refuse these valid pictures nor read past its buffer.
TEST(ReadBmpGuard, ReadsWidthsWhoseStoredRowsOutgrowThePaddedRow) {
    const BmpOutcome one = readBmpSpec(plainBmpSpec(1, 1));
    ASSERT_TRUE(one.read);
    expectRecordEq(one.record, {1, 1, 1, 1});
    // Stored bytes 0, 1, 2 (blue, green, red) then one pad byte: the pixel comes out 2, 1, 0.
    EXPECT_EQ(one.pixels, (std::vector<uint8_t>{2, 1, 0}));

    const BmpOutcome two = readBmpSpec(plainBmpSpec(2, 3));
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
        BmpFileSpec spec = plainBmpSpec(5, 2);
        spec.sizeImage = sizeImage;
        spec.pixelData = countingBytes(64);
        const BmpOutcome outcome = readBmpSpec(spec);
        expectBmpRefused(outcome, kDataSizeInvalid);
        expectRecordEq(outcome.record, {5, 2, 8, 2});
    }
}

TEST(ReadBmpGuard, RefusesSizeImageShorterThanStoredRows) {
    // Two rows of S = 16 bytes: the copy reads up to byte 30, so 31 bytes are not enough.
    BmpFileSpec spec = plainBmpSpec(5, 2);
    spec.sizeImage = 31;
    expectBmpRefused(readBmpSpec(spec), kDataSizeInvalid);
    spec.sizeImage = 32;
    EXPECT_TRUE(readBmpSpec(spec).read);
}

TEST(ReadBmpGuard, RefusesDataLargerThanFile) {
    // Claims 8192 by 8192 pixels (192 MiB) but holds 12 bytes.
    BmpFileSpec spec;
    spec.width = kMaxSide;
    spec.height = kMaxSide;
    spec.pixelData = countingBytes(12);
    const BmpOutcome outcome = readBmpSpec(spec);
    expectBmpRefused(outcome, "Could not read bitmap data");
    expectRecordEq(outcome.record, {kMaxSide, kMaxSide, kMaxSide, kMaxSide});
}

} // namespace
