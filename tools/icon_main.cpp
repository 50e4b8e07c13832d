// velmorin-icon: paints the application icon, a textured sphere, as a square RGBA PNG.
#include <cstdio>
#include <cstring>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "common/cli_args.h"
#include "pictures/catalogue.h"
#include "pictures/icon.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;
constexpr const char* kUsage = "usage: velmorin-icon SIZE OUT.png\n";
constexpr unsigned long long kMaxSize = 1024;
constexpr int kRgbaChannels = 4;
// The sphere picture the icon wears: blue water reads well at every icon size.
constexpr const char* kIconSurface = "water1.bmp";

const PictureRecipe* findRecipe(const char* fileName) {
    for (const PictureRecipe& recipe : listPictures()) {
        if (std::strcmp(recipe.fileName, fileName) == 0) {
            return &recipe;
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    unsigned long long size = 0;
    if (argc != 3 || !parseUnsignedArg(argv[1], kMaxSize, &size) || size == 0 || *argv[2] == '\0') {
        std::fputs(kUsage, stderr);
        return kUsageStatus;
    }
    const PictureRecipe* recipe = findRecipe(kIconSurface);
    if (recipe == nullptr) {
        std::fprintf(stderr, "velmorin-icon: no picture named %s\n", kIconSurface);
        return kFailureStatus;
    }
    const RgbaImage icon = paintSphereIcon(recipe->paint(), static_cast<int>(size));
    if (stbi_write_png(argv[2], icon.width, icon.height, kRgbaChannels, icon.bytes.data(),
                       icon.width * kRgbaChannels) == 0) {
        std::fprintf(stderr, "velmorin-icon: could not write %s\n", argv[2]);
        return kFailureStatus;
    }
    return 0;
}
