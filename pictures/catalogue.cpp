// The picture list and the loop that writes it.
#include "pictures/catalogue.h"

#include <system_error>

#include "pictures/background.h"
#include "pictures/bmp.h"
#include "pictures/cloud.h"
#include "pictures/metal.h"
#include "pictures/rock.h"
#include "pictures/water.h"

namespace {

constexpr const char* kBitmapDir = "bitmap";

// There is no rock2: the demo never asks for one.
constexpr PictureRecipe kPictures[] = {
    {"background.bmp", paintBackground}, {"rock1.bmp", paintRock1},   {"rock3.bmp", paintRock3},
    {"rock4.bmp", paintRock4},           {"rock5.bmp", paintRock5},   {"rock6.bmp", paintRock6},
    {"water1.bmp", paintWater1},         {"water2.bmp", paintWater2}, {"water3.bmp", paintWater3},
    {"metal1.bmp", paintMetal1},         {"metal2.bmp", paintMetal2}, {"cloud1.bmp", paintCloud1},
    {"cloud2.bmp", paintCloud2},
};

bool makeBitmapDir(const std::filesystem::path& dir, std::string* error) {
    std::error_code code;
    std::filesystem::create_directories(dir, code);
    if (code) {
        *error = "cannot create " + dir.string() + ": " + code.message();
        return false;
    }
    return true;
}

} // namespace

std::span<const PictureRecipe> listPictures() {
    return kPictures;
}

bool writeAllPictures(const std::filesystem::path& outDir, std::string* error) {
    const std::filesystem::path dir = outDir / kBitmapDir;
    if (!makeBitmapDir(dir, error)) {
        return false;
    }
    for (const PictureRecipe& recipe : kPictures) {
        const std::filesystem::path path = dir / recipe.fileName;
        if (!writeBmp(path, recipe.paint())) {
            *error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

bool writeBackgroundAt(const std::filesystem::path& outDir, int width, int height,
                       std::string* error) {
    const std::filesystem::path dir = outDir / kBitmapDir;
    if (!makeBitmapDir(dir, error)) {
        return false;
    }
    const std::filesystem::path path = dir / kPictures[0].fileName;
    if (!writeBmp(path, paintBackgroundAt(width, height, countPaintThreads()))) {
        *error = "cannot write " + path.string();
        return false;
    }
    return true;
}
