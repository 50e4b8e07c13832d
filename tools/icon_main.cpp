// velmorin-icon: paints the application icon, a textured sphere, as a square RGBA PNG, or as a
// Windows .ico holding that PNG.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "common/cli_args.h"
#include "pictures/catalogue.h"
#include "pictures/icon.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;
constexpr const char* kUsage = "usage: velmorin-icon SIZE OUT.png|OUT.ico\n";
constexpr unsigned long long kMaxSize = 1024;
// An .ico records each side in one byte, 0 standing for 256, its largest.
constexpr unsigned long long kMaxIcoSize = 256;
constexpr const char* kIcoSuffix = ".ico";
// ICONDIR (reserved, type 1 = icon, one image) then its one ICONDIRENTRY; the PNG follows.
constexpr uint32_t kIcoHeaderBytes = 6 + 16;
constexpr uint16_t kIcoTypeIcon = 1;
constexpr uint16_t kIcoBitsPerPixel = 32;
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

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Little-endian fields, as the .ico header has them.
void appendLittleEndian(std::string* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; i++) {
        out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A PNG inside an .ico: what Windows shows for 256 pixels, scaled down for the small views.
bool writeIco(const char* path, const RgbaImage& icon) {
    int pngBytes = 0;
    unsigned char* png = stbi_write_png_to_mem(icon.bytes.data(), icon.width * kRgbaChannels,
                                               icon.width, icon.height, kRgbaChannels, &pngBytes);
    if (png == nullptr) {
        return false;
    }
    std::string file;
    appendLittleEndian(&file, 0, 2);
    appendLittleEndian(&file, kIcoTypeIcon, 2);
    appendLittleEndian(&file, 1, 2);
    appendLittleEndian(&file, static_cast<uint32_t>(icon.width) & 0xFF, 1);
    appendLittleEndian(&file, static_cast<uint32_t>(icon.height) & 0xFF, 1);
    appendLittleEndian(&file, 0, 2); // no palette, reserved
    appendLittleEndian(&file, 1, 2); // colour planes
    appendLittleEndian(&file, kIcoBitsPerPixel, 2);
    appendLittleEndian(&file, static_cast<uint32_t>(pngBytes), 4);
    appendLittleEndian(&file, kIcoHeaderBytes, 4);
    file.append(reinterpret_cast<const char*>(png), static_cast<size_t>(pngBytes));
    std::free(png);
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    unsigned long long size = 0;
    const bool ico = argc == 3 && endsWith(argv[2], kIcoSuffix);
    if (argc != 3 || !parseUnsignedArg(argv[1], ico ? kMaxIcoSize : kMaxSize, &size) || size == 0 ||
        *argv[2] == '\0') {
        std::fputs(kUsage, stderr);
        return kUsageStatus;
    }
    const PictureRecipe* recipe = findRecipe(kIconSurface);
    if (recipe == nullptr) {
        std::fprintf(stderr, "velmorin-icon: no picture named %s\n", kIconSurface);
        return kFailureStatus;
    }
    const RgbaImage icon = paintSphereIcon(recipe->paint(), static_cast<int>(size));
    const bool written = ico ? writeIco(argv[2], icon)
                             : stbi_write_png(argv[2], icon.width, icon.height, kRgbaChannels,
                                              icon.bytes.data(), icon.width * kRgbaChannels) != 0;
    if (!written) {
        std::fprintf(stderr, "velmorin-icon: could not write %s\n", argv[2]);
        return kFailureStatus;
    }
    return 0;
}
