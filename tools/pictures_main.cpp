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
constexpr uint32_t kLargestSide = 16384;
constexpr const char* kUsage = "usage: velmorin-pictures [--size WIDTHxHEIGHT] OUTDIR\n";

} // namespace

int main(int argc, char** argv) {
    int width = 0;
    int height = 0;
    const bool sized = argc == 4 && std::strcmp(argv[1], "--size") == 0;
    if (!(argc == 2 || (sized && parseSizeArg(argv[2], kLargestSide, &width, &height)))) {
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
