// Backgrounds painted at window sizes, kept between runs so a known size starts crisp.
#pragma once

#include <filesystem>
#include <vector>

#include "pictures/image.h"

// How many sizes are kept; the ones written longest ago go first.
inline constexpr int kPaintCacheSizes = 4;

// $XDG_CACHE_HOME/velmorin, else ~/.cache/velmorin; on Windows %LOCALAPPDATA%\Velmorin. Empty
// when the environment names no such place.
std::filesystem::path findPaintCacheFolder();
// The file for one size of the current painter's background.
std::filesystem::path namePaintCacheFile(const std::filesystem::path& folder, int width,
                                         int height);
// The cached background of that size as RGB, bottom row first, read by the demo's own BMP
// reader. False, quietly, when there is none or it is refused (damaged, or of another size).
bool readPaintCache(const std::filesystem::path& folder, int width, int height,
                    std::vector<uint8_t>* rgb);
// Stores the picture (a temporary file renamed into place, so readers never see half of one)
// and drops all but the newest kPaintCacheSizes. False when it could not be stored, which only
// means painting again next time.
bool writePaintCache(const std::filesystem::path& folder, const Image& image);
