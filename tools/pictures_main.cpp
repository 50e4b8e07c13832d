// velmorin-pictures: paints the demo's background and sphere pictures into OUTDIR/bitmap/, or
// with --size WxH the background alone at that size.
#include <cstdio>
#include <cstring>
#include <string>

#include "common/cli_args.h"
#include "pictures/catalogue.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;
constexpr unsigned long long kLargestSide = 16384;
constexpr const char* kUsage = "usage: velmorin-pictures [--size WIDTHxHEIGHT] OUTDIR\n";

// "WIDTHxHEIGHT", each side 1 to kLargestSide.
bool parseSize(const char* text, int* width, int* height) {
    const char* cross = std::strchr(text, 'x');
    if (cross == nullptr) {
        return false;
    }
    const std::string widthText(text, cross);
    unsigned long long w = 0;
    unsigned long long h = 0;
    if (!parseUnsignedArg(widthText.c_str(), kLargestSide, &w) ||
        !parseUnsignedArg(cross + 1, kLargestSide, &h) || w == 0 || h == 0) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int width = 0;
    int height = 0;
    const bool sized = argc == 4 && std::strcmp(argv[1], "--size") == 0;
    if (!(argc == 2 || (sized && parseSize(argv[2], &width, &height)))) {
        std::fputs(kUsage, stderr);
        return kUsageStatus;
    }
    std::string error;
    const char* outDir = argv[argc - 1];
    if (!(sized ? writeBackgroundAt(outDir, width, height, &error)
                : writeAllPictures(outDir, &error))) {
        std::fprintf(stderr, "velmorin-pictures: %s\n", error.c_str());
        return kFailureStatus;
    }
    return 0;
}
