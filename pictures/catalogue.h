// Every picture the demo loads, by file name, and the routine that writes them all.
#pragma once

#include <filesystem>
#include <span>
#include <string>

#include "pictures/image.h"

struct PictureRecipe {
    const char* fileName; // inside the bitmap directory
    Image (*paint)();
};

// The thirteen pictures: the background, then the sphere surfaces.
std::span<const PictureRecipe> listPictures();
// Paints every picture into outDir/bitmap/, creating the directory. On failure returns false
// with a message in *error and stops at the first picture that cannot be written.
bool writeAllPictures(const std::filesystem::path& outDir, std::string* error);
// Paints the background alone at width x height into outDir/bitmap/background.bmp, creating the
// directory; false with a message in *error when it cannot be written.
bool writeBackgroundAt(const std::filesystem::path& outDir, int width, int height,
                       std::string* error);
