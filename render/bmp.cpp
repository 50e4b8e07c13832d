// BMP reader: validates the headers, reads the pixel data in one call, turns BGR into RGB.
#include "render/bmp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>

#include "render/error_report.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr char kSignature[] = {'B', 'M'};
constexpr size_t kOffBitsOffset = 10; // in the file header

// Offsets of the info-header fields inside the header block.
constexpr size_t kWidthOffset = 4;
constexpr size_t kHeightOffset = 8;
constexpr size_t kBitCountOffset = 14;
constexpr size_t kCompressionOffset = 16;
constexpr size_t kSizeImageOffset = 20;
// The header block must at least reach the end of biSizeImage.
constexpr size_t kInfoFieldsSize = 24;

constexpr uint16_t kSupportedBitCount = 24;
constexpr uint32_t kUncompressed = 0; // BI_RGB
// Largest accepted side in pixels. Keeps the doubling far from overflow and the two buffers at
// most 8192 * 8192 * 3 bytes (192 MiB) each.
constexpr int32_t kMaxSide = 8192;
constexpr size_t kBytesPerPixel = 3;
// Stored rows are padded to whole 32-bit words.
constexpr size_t kRowAlignBits = 32;
constexpr size_t kRowAlignBytes = kRowAlignBits / 8;

constexpr const char* kOpenFailed = "Could not open bitmap file";
constexpr const char* kFileHeaderReadFailed = "Could not read bitmap file header";
constexpr const char* kNotBitmap = "File not bitmap";
constexpr const char* kHeaderAllocFailed = "Could not allocate memory for bitmap info header";
constexpr const char* kHeaderReadFailed = "Could not read bitmap info header";
constexpr const char* kDataAllocFailed = "Could not allocate memory for bitmap data";
constexpr const char* kDataReadFailed = "Could not read bitmap data";
constexpr const char* kFormatUnsupported = "Unsupported bitmap format";
constexpr const char* kSizeUnsupported = "Bitmap size not supported";
constexpr const char* kDataSizeInvalid = "Invalid bitmap data size";

// The info-header fields the reader uses, decoded from the header block.
struct BmpInfo {
    int32_t width;
    int32_t height;
    uint16_t bitCount;
    uint32_t compression; // checked only, to refuse compressed data
    uint32_t sizeImage;
};

// What a read holds at any moment; released as a whole on failure (free(nullptr) is harmless).
struct BmpRead {
    FILE* file;
    uint8_t* headerBlock;
    uint8_t* pixels;
    uint8_t* raw;
};

uint8_t* failBmpRead(BmpRead* read, const char* text) {
    reportError(text);
    if (read->file != nullptr) {
        std::fclose(read->file);
    }
    std::free(read->headerBlock);
    std::free(read->pixels);
    std::free(read->raw);
    return nullptr;
}

uint32_t loadLe32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint16_t loadLe16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

BmpInfo decodeBmpInfo(const uint8_t* headerBlock) {
    return BmpInfo{static_cast<int32_t>(loadLe32(headerBlock + kWidthOffset)),
                   static_cast<int32_t>(loadLe32(headerBlock + kHeightOffset)),
                   loadLe16(headerBlock + kBitCountOffset),
                   loadLe32(headerBlock + kCompressionOffset),
                   loadLe32(headerBlock + kSizeImageOffset)};
}

// Null when the reader can take the picture, else the text to report.
const char* checkBmpInfo(const BmpInfo& info) {
    if (info.bitCount != kSupportedBitCount || info.compression != kUncompressed ||
        info.height < 0) {
        return kFormatUnsupported; // a negative height marks a top-down file
    }
    if (info.width <= 0 || info.height == 0 || info.width > kMaxSide || info.height > kMaxSide) {
        return kSizeUnsupported;
    }
    return nullptr;
}

// Bytes between position and the end of the file; 0 when the size is unknown, which refuses.
uint64_t bytesLeftInFile(FILE* file, uint64_t position) {
    struct stat status {};
    if (fstat(fileno(file), &status) != 0 || status.st_size < 0) {
        return 0;
    }
    const auto size = static_cast<uint64_t>(status.st_size);
    return size > position ? size - position : 0;
}

int32_t padToPowerOfTwo(int32_t size) {
    int32_t padded = 1;
    while (padded < size) {
        padded *= 2;
    }
    return padded;
}

// Stored row size in bytes for a given bit count: whole 32-bit words.
uint64_t storedRowSize(int32_t width, uint16_t bitCount) {
    return (static_cast<uint64_t>(width) * bitCount + kRowAlignBits - 1) / kRowAlignBits *
           kRowAlignBytes;
}

uint64_t absoluteHeight(int32_t height) {
    return height < 0 ? 0 - static_cast<uint64_t>(height) : static_cast<uint64_t>(height);
}

// Turns each stored row's blue-green-red pixels into red-green-blue in place.
void swapBmpRedBlue(uint8_t* raw, const ImageRecord& record, size_t rowSize) {
    const size_t rowBytes = static_cast<size_t>(record.width) * kBytesPerPixel;
    for (size_t r = 0; r < static_cast<size_t>(record.height); ++r) {
        uint8_t* row = raw + r * rowSize;
        for (size_t j = 0; j < rowBytes; j += kBytesPerPixel) {
            const uint8_t blue = row[j];
            row[j] = row[j + 2];
            row[j + 2] = blue;
        }
    }
}

// Places the picture in the lower-left corner of the padded buffer, which arrives zeroed (black).
void copyBmpRows(uint8_t* pixels, const uint8_t* raw, const ImageRecord& record, size_t rowSize) {
    const size_t paddedRowBytes = static_cast<size_t>(record.paddedWidth) * kBytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(record.width) * kBytesPerPixel;
    for (size_t r = 0; r < static_cast<size_t>(record.height); ++r) {
        std::memcpy(pixels + r * paddedRowBytes, raw + r * rowSize, rowBytes);
    }
}

} // namespace

uint8_t* readBmp(const char* fileName, uint8_t** headerBlock, ImageRecord* record) {
    BmpRead read{};
    read.file = std::fopen(fileName, "rb");
    if (read.file == nullptr) {
        return failBmpRead(&read, kOpenFailed);
    }
    uint8_t fileHeader[kFileHeaderSize];
    if (std::fread(fileHeader, kFileHeaderSize, 1, read.file) != 1) {
        return failBmpRead(&read, kFileHeaderReadFailed);
    }
    if (std::memcmp(fileHeader, kSignature, sizeof kSignature) != 0) {
        return failBmpRead(&read, kNotBitmap);
    }

    // The header block must hold the info-header fields and fit in the file: an offset beyond
    // the end would be a short read anyway, so refuse it before allocating.
    const uint32_t offBits = loadLe32(fileHeader + kOffBitsOffset);
    if (offBits < kFileHeaderSize + kInfoFieldsSize) {
        return failBmpRead(&read, kFormatUnsupported);
    }
    const size_t headerBlockSize = offBits - kFileHeaderSize;
    if (headerBlockSize > bytesLeftInFile(read.file, kFileHeaderSize)) {
        return failBmpRead(&read, kHeaderReadFailed);
    }
    read.headerBlock = static_cast<uint8_t*>(std::malloc(headerBlockSize));
    if (read.headerBlock == nullptr) {
        return failBmpRead(&read, kHeaderAllocFailed);
    }
    // Reading the whole block leaves the file at the pixel data: no seek is needed.
    if (std::fread(read.headerBlock, 1, headerBlockSize, read.file) != headerBlockSize) {
        return failBmpRead(&read, kHeaderReadFailed);
    }
    const BmpInfo info = decodeBmpInfo(read.headerBlock);
    if (const char* problem = checkBmpInfo(info)) {
        return failBmpRead(&read, problem);
    }

    *record = ImageRecord{info.width, info.height, padToPowerOfTwo(info.width),
                          padToPowerOfTwo(info.height)};
    const uint64_t rowSize = storedRowSize(info.width, kSupportedBitCount);
    const size_t bufferSize = static_cast<size_t>(record->paddedWidth) *
                              static_cast<size_t>(record->paddedHeight) * kBytesPerPixel;
    // The data may be as large as the padded picture, but no larger. Widths 1 and 2 store rows of
    // 4 and 8 bytes, longer than their padded rows of 3 and 6, so for them the limit grows to
    // every stored row: such small pictures are still read.
    const uint64_t storedSize = static_cast<uint64_t>(info.height) * rowSize;
    const uint64_t maxDataSize = storedSize > bufferSize ? storedSize : bufferSize;

    const uint64_t dataSize = info.sizeImage != 0 ? info.sizeImage
                                                  : absoluteHeight(info.height) *
                                                        storedRowSize(info.width, info.bitCount);
    // The data must fill every row the copy reads and fit the raw buffer.
    if (dataSize > maxDataSize || dataSize < storedSize) {
        return failBmpRead(&read, kDataSizeInvalid);
    }
    // Data the file does not hold would be a short read: refuse before allocating for it.
    if (dataSize > bytesLeftInFile(read.file, offBits)) {
        return failBmpRead(&read, kDataReadFailed);
    }

    // calloc hands large blocks over as untouched zero pages: the black beyond the picture costs
    // nothing until it is read.
    read.pixels = static_cast<uint8_t*>(std::calloc(bufferSize, 1));
    if (read.pixels == nullptr) {
        return failBmpRead(&read, kDataAllocFailed);
    }
    // The raw buffer only ever holds the stored data, so it need not be any larger.
    read.raw = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(dataSize)));
    if (read.raw == nullptr) {
        return failBmpRead(&read, kDataAllocFailed);
    }
    if (std::fread(read.raw, 1, dataSize, read.file) != dataSize) {
        return failBmpRead(&read, kDataReadFailed);
    }

    swapBmpRedBlue(read.raw, *record, rowSize);
    copyBmpRows(read.pixels, read.raw, *record, rowSize);
    std::fclose(read.file);
    std::free(read.raw);
    *headerBlock = read.headerBlock;
    return read.pixels;
}
