// The 24-bit uncompressed BMP file the demo reads: 54 bytes of header, then padded BGR rows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "pictures/image.h"

inline constexpr int kBmpFileHeaderBytes = 14;
inline constexpr int kBmpInfoHeaderBytes = 40;
inline constexpr int kBmpPixelOffset = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;

// Bytes of one stored row: 3 per pixel, padded up to a multiple of 4.
int computeBmpRowStride(int width);
// The whole file: headers, then rows bottom row first, each pixel blue, green, red.
std::vector<uint8_t> encodeBmp(const Image& image);
// Writes encodeBmp(image) to path; false if the file cannot be written completely.
bool writeBmp(const std::filesystem::path& path, const Image& image);
