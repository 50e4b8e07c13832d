// libFuzzer target for readBmp: any input is read or refused with one report, never overrun.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "render/bmp.h"
#include "render/error_report.h"

namespace {

constexpr size_t kBytesPerPixel = 3;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kOffBitsOffset = 10;

int gReports = 0;

void countReport(const char*) {
    ++gReports;
}

// The reader takes a file name, so each input goes through one file per fuzzing process;
// /dev/shm keeps it in memory where there is one.
const std::string& inputPath() {
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/velmorin-bmp-fuzz-" +
        std::to_string(getpid()) + ".bmp";
    return path;
}

// bfOffBits of an input the reader accepted, which therefore holds a whole file header.
size_t loadOffBits(const uint8_t* data) {
    const uint8_t* field = data + kOffBitsOffset;
    return static_cast<size_t>(field[0]) | static_cast<size_t>(field[1]) << 8 |
           static_cast<size_t>(field[2]) << 16 | static_cast<size_t>(field[3]) << 24;
}

void removeInputFile() {
    std::remove(inputPath().c_str());
}

bool writeInputFile(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(inputPath().c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setErrorReporter(countReport);
    std::atexit(removeInputFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!writeInputFile(data, size)) {
        std::abort(); // cannot test anything without the file
    }
    gReports = 0;
    uint8_t* headerBlock = nullptr;
    ImageRecord record{};
    uint8_t* pixels = readBmp(inputPath().c_str(), &headerBlock, &record);
    if (pixels == nullptr) {
        if (gReports != 1) {
            std::abort(); // a refusal reports exactly once
        }
        return 0;
    }
    if (gReports != 0 || record.width <= 0 || record.height <= 0 ||
        record.width > record.paddedWidth || record.height > record.paddedHeight) {
        std::abort();
    }
    // Touch every byte the caller may use, so AddressSanitizer sees a short buffer, and check
    // that everything outside the picture is black.
    const size_t paddedRowBytes = static_cast<size_t>(record.paddedWidth) * kBytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(record.width) * kBytesPerPixel;
    const size_t pixelBytes = paddedRowBytes * static_cast<size_t>(record.paddedHeight);
    for (size_t i = 0; i < pixelBytes; ++i) {
        const bool inPicture = i / paddedRowBytes < static_cast<size_t>(record.height) &&
                               i % paddedRowBytes < rowBytes;
        if (!inPicture && pixels[i] != 0) {
            std::abort();
        }
    }
    volatile uint8_t sink = 0;
    for (size_t i = 0; i < pixelBytes; ++i) {
        sink = sink ^ pixels[i];
    }
    const size_t headerBlockSize = loadOffBits(data) - kFileHeaderSize;
    for (size_t i = 0; i < headerBlockSize; ++i) {
        sink = sink ^ headerBlock[i];
    }
    std::free(pixels);
    std::free(headerBlock);
    return 0;
}
