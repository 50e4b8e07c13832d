// velmorin-pictures: paints the demo's background and sphere pictures into OUTDIR/bitmap/.
#include <cstdio>
#include <string>

#include "pictures/catalogue.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;
constexpr const char* kUsage = "usage: velmorin-pictures OUTDIR\n";

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs(kUsage, stderr);
        return kUsageStatus;
    }
    std::string error;
    if (!writeAllPictures(argv[1], &error)) {
        std::fprintf(stderr, "velmorin-pictures: %s\n", error.c_str());
        return kFailureStatus;
    }
    return 0;
}
