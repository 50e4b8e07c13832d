// Test helpers for the BMP reader: file building, temporary files, report capture.
#include "bmp_test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "render/error_report.h"

namespace {

constexpr size_t kBytesPerPixel = 3;
constexpr size_t kRowAlignBytes = 4;
constexpr uint16_t kPlanes = 1;

std::vector<std::string> gReports;

void captureReport(const char* text) {
    gReports.emplace_back(text);
}

void storeLe16(std::vector<uint8_t>* bytes, size_t at, uint16_t value) {
    (*bytes)[at] = static_cast<uint8_t>(value);
    (*bytes)[at + 1] = static_cast<uint8_t>(value >> 8);
}

void storeLe32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        (*bytes)[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

int countOpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// Unique per process and call, since CTest may run the test programs side by side.
std::string freshTempPath() {
    static int serial = 0;
    const std::string name =
        "velmorin-bmp-test-" + std::to_string(getpid()) + "-" + std::to_string(serial++) + ".bmp";
    return (std::filesystem::temp_directory_path() / name).string();
}

} // namespace

std::vector<uint8_t> buildBmpInfoHeader(const BmpFileLayout& layout) {
    std::vector<uint8_t> info(kBmpInfoHeaderSize, 0);
    storeLe32(&info, 0, kBmpInfoHeaderSize);
    storeLe32(&info, 4, static_cast<uint32_t>(layout.width));
    storeLe32(&info, 8, static_cast<uint32_t>(layout.height));
    storeLe16(&info, 12, kPlanes);
    storeLe16(&info, 14, layout.bitCount);
    storeLe32(&info, 16, layout.compression);
    storeLe32(&info, 20, layout.sizeImage);
    return info;
}

std::vector<uint8_t> buildBmpBytes(const BmpFileLayout& layout) {
    std::vector<uint8_t> bytes(kBmpFileHeaderSize, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    const size_t headerBlockEnd = layout.offBits > kBmpFileHeaderSize ? layout.offBits : 0;
    storeLe32(&bytes, 2, static_cast<uint32_t>(headerBlockEnd + layout.pixelData.size()));
    storeLe32(&bytes, 10, layout.offBits);
    std::vector<uint8_t> info = buildBmpInfoHeader(layout);
    for (size_t i = 0; i + kBmpFileHeaderSize < headerBlockEnd; ++i) {
        bytes.push_back(i < info.size() ? info[i] : kBmpHeaderFiller);
    }
    bytes.insert(bytes.end(), layout.pixelData.begin(), layout.pixelData.end());
    return bytes;
}

std::vector<uint8_t> countingBytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(i);
    }
    return bytes;
}

size_t bmpRowSize(int32_t width) {
    const size_t rowBytes = static_cast<size_t>(width) * kBytesPerPixel;
    return (rowBytes + kRowAlignBytes - 1) / kRowAlignBytes * kRowAlignBytes;
}

BmpFileLayout plainBmpLayout(int32_t width, int32_t height) {
    BmpFileLayout layout;
    layout.width = width;
    layout.height = height;
    layout.pixelData = countingBytes(static_cast<size_t>(height) * bmpRowSize(width));
    return layout;
}

BmpOutcome readBmpOutcome(const std::string& path, size_t headerBlockSize) {
    BmpOutcome outcome;
    outcome.record = kUnwrittenRecord;
    gReports.clear();
    setErrorReporter(captureReport);
    const int descriptorsBefore = countOpenDescriptors();
    uint8_t* headerBlock = nullptr;
    uint8_t* pixels = readBmp(path.c_str(), &headerBlock, &outcome.record);
    outcome.descriptorsLeftOpen = countOpenDescriptors() - descriptorsBefore;
    setErrorReporter(nullptr);
    outcome.reports = gReports;
    if (pixels != nullptr) {
        outcome.read = true;
        const size_t pixelBytes = static_cast<size_t>(outcome.record.paddedWidth) *
                                  static_cast<size_t>(outcome.record.paddedHeight) * kBytesPerPixel;
        outcome.pixels.assign(pixels, pixels + pixelBytes);
        outcome.headerBlock.assign(headerBlock, headerBlock + headerBlockSize);
        std::free(pixels);
        std::free(headerBlock);
    }
    return outcome;
}

BmpOutcome readBmpBytes(const std::vector<uint8_t>& bytes, size_t headerBlockSize) {
    const std::string path = freshTempPath();
    {
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    BmpOutcome outcome = readBmpOutcome(path, headerBlockSize);
    std::filesystem::remove(path);
    return outcome;
}

BmpOutcome readBmpLayout(const BmpFileLayout& layout) {
    const size_t headerBlockSize =
        layout.offBits > kBmpFileHeaderSize ? layout.offBits - kBmpFileHeaderSize : 0;
    return readBmpBytes(buildBmpBytes(layout), headerBlockSize);
}

std::string missingBmpPath() {
    return freshTempPath();
}

void expectBmpRefused(const BmpOutcome& outcome, const std::string& text) {
    EXPECT_FALSE(outcome.read);
    ASSERT_EQ(outcome.reports.size(), 1U);
    EXPECT_EQ(outcome.reports[0], text);
    EXPECT_EQ(outcome.descriptorsLeftOpen, 0);
}

void expectRecordEq(const ImageRecord& actual, const ImageRecord& expected) {
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
    EXPECT_EQ(actual.paddedWidth, expected.paddedWidth);
    EXPECT_EQ(actual.paddedHeight, expected.paddedHeight);
}
