// 24-bit BMP encoding: little-endian header fields, bottom-up rows padded to 4 bytes.
#include "pictures/bmp.h"

#include <cstddef>
#include <fstream>

namespace {

constexpr int kBytesPerPixel = 3;
constexpr int kRowAlignment = 4;
constexpr uint16_t kPlanes = 1;
constexpr uint16_t kBitsPerPixel = 24;
constexpr uint32_t kUncompressed = 0;
// 2835 pixels per metre is 72 dots per inch; readers ignore it, but 0 looks broken in viewers.
constexpr int32_t kPixelsPerMetre = 2835;

void appendU16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFFu));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void appendU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>((value >> shift) & 0xFFu));
    }
}

void appendI32(std::vector<uint8_t>& out, int32_t value) {
    appendU32(out, static_cast<uint32_t>(value));
}

} // namespace

int computeBmpRowStride(int width) {
    const int rowBytes = width * kBytesPerPixel;
    return (rowBytes + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
}

std::vector<uint8_t> encodeBmp(const Image& image) {
    const int stride = computeBmpRowStride(image.width);
    const uint32_t pixelBytes = static_cast<uint32_t>(stride) * static_cast<uint32_t>(image.height);
    const uint32_t fileBytes = static_cast<uint32_t>(kBmpPixelOffset) + pixelBytes;

    std::vector<uint8_t> out;
    out.reserve(fileBytes);
    out.push_back('B');
    out.push_back('M');
    appendU32(out, fileBytes);
    appendU32(out, 0); // two reserved 16-bit fields
    appendU32(out, static_cast<uint32_t>(kBmpPixelOffset));

    appendU32(out, static_cast<uint32_t>(kBmpInfoHeaderBytes));
    appendI32(out, image.width);
    appendI32(out, image.height); // positive: the rows are stored bottom row first
    appendU16(out, kPlanes);
    appendU16(out, kBitsPerPixel);
    appendU32(out, kUncompressed);
    appendU32(out, pixelBytes);
    appendI32(out, kPixelsPerMetre);
    appendI32(out, kPixelsPerMetre);
    appendU32(out, 0); // palette colours used: none
    appendU32(out, 0); // important colours: all

    const int padding = stride - image.width * kBytesPerPixel;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb8 p = readPixel(image, x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        out.insert(out.end(), static_cast<size_t>(padding), uint8_t{0});
    }
    return out;
}

bool writeBmp(const std::filesystem::path& path, const Image& image) {
    const std::vector<uint8_t> bytes = encodeBmp(image);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}
