// Helpers for the picture tests: reading little-endian BMP fields, files and scratch folders.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "pictures/image.h"

uint32_t readU32(const std::vector<uint8_t>& bytes, size_t at);
uint16_t readU16(const std::vector<uint8_t>& bytes, size_t at);
std::vector<uint8_t> readFileBytes(const std::filesystem::path& path);

// Pixels of a 24-bit bottom-up BMP's bytes, top row first; an empty image if the header is not
// the one the writer makes.
Image decodeBmp(const std::vector<uint8_t>& bytes);

// A fresh, empty folder under the system's temporary folder, unique to this process and name;
// removed again when the ScratchDir goes.
struct ScratchDir {
    explicit ScratchDir(const char* name);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::filesystem::path path;
};

// Rec. 601 luma of a pixel, 0 to 255.
double measurePixelLuma(Rgb8 p);
