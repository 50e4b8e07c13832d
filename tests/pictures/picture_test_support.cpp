// Helpers for the picture tests.
#include "tests/pictures/picture_test_support.h"

#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include <unistd.h>

#include "pictures/colour.h"

uint32_t readU32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
           static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint16_t readU16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::vector<uint8_t> readFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Image decodeBmp(const std::vector<uint8_t>& bytes) {
    constexpr size_t kHeaderBytes = 54;
    if (bytes.size() < kHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M' ||
        readU16(bytes, 28) != 24 || readU32(bytes, 30) != 0) {
        return {};
    }
    const int width = static_cast<int>(readU32(bytes, 18));
    const int height = static_cast<int>(readU32(bytes, 22));
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t offset = readU32(bytes, 10);
    if (width <= 0 || height <= 0 || offset + stride * static_cast<size_t>(height) > bytes.size()) {
        return {};
    }
    Image image = makeImage(width, height);
    for (int y = 0; y < height; ++y) {
        const size_t row = offset + stride * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const size_t at = row + static_cast<size_t>(x) * 3;
            image.pixels[static_cast<size_t>(y * width + x)] = {bytes[at + 2], bytes[at + 1],
                                                                bytes[at]};
        }
    }
    return image;
}

ScratchDir::ScratchDir(const char* name)
    : path(std::filesystem::temp_directory_path() /
           ("velmorin-" + std::string(name) + "-" + std::to_string(::getpid()))) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    std::filesystem::create_directories(path);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

double measurePixelLuma(Rgb8 p) {
    return measureLuma(
        {static_cast<double>(p.r), static_cast<double>(p.g), static_cast<double>(p.b)});
}
