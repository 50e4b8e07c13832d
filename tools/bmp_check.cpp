// velmorin-bmp: reads BMP files as the demo does and prints their sizes and a pixel digest.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/sha256.h"
#include "render/bmp.h"
#include "render/error_report.h"

namespace {

constexpr int kAllReadStatus = 0;
constexpr int kRefusedStatus = 1;
constexpr int kUsageStatus = 2;
constexpr const char* kUsage = "usage: velmorin-bmp FILE...\n";
constexpr size_t kBytesPerPixel = 3;

// The reader's message goes to this tool's output instead of to the user.
std::string gReportedText;

void captureReport(const char* text) {
    if (gReportedText.empty()) {
        gReportedText = text;
    }
}

// Digest of the picture's own RGB bytes, bottom row first, without the padding around it.
void hashPicture(const uint8_t* pixels, const ImageRecord& record, char hex[kSha256HexSize]) {
    const size_t paddedRowBytes = static_cast<size_t>(record.paddedWidth) * kBytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(record.width) * kBytesPerPixel;
    Sha256 sha;
    sha256Init(&sha);
    for (size_t r = 0; r < static_cast<size_t>(record.height); ++r) {
        sha256Update(&sha, pixels + r * paddedRowBytes, rowBytes);
    }
    sha256FinishHex(&sha, hex);
}

// Prints one line for the file; false when the reader refused it.
bool checkBmpFile(const char* fileName) {
    gReportedText.clear();
    uint8_t* headerBlock = nullptr;
    ImageRecord record{};
    uint8_t* pixels = readBmp(fileName, &headerBlock, &record);
    if (pixels == nullptr) {
        std::printf("%s\terror\t%s\n", fileName, gReportedText.c_str());
        return false;
    }
    char hex[kSha256HexSize];
    hashPicture(pixels, record, hex);
    std::printf("%s\tok\t%d\t%d\t%d\t%d\t%s\n", fileName, record.width, record.height,
                record.paddedWidth, record.paddedHeight, hex);
    std::free(pixels);
    std::free(headerBlock);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return kUsageStatus;
    }
    setErrorReporter(captureReport);
    bool allRead = true;
    for (int i = 1; i < argc; ++i) {
        allRead = checkBmpFile(argv[i]) && allRead;
    }
    return allRead ? kAllReadStatus : kRefusedStatus;
}
