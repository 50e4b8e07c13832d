// Pixel access and quantisation for Image.
#include "pictures/image.h"

#include <cstddef>

namespace {

constexpr double kByteMax = 255.0;
constexpr double kRoundHalfUp = 0.5;

uint8_t quantiseChannel(double c) {
    return static_cast<uint8_t>(clampUnit(c) * kByteMax + kRoundHalfUp);
}

size_t computeIndex(const Image& image, int x, int y) {
    return static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x);
}

} // namespace

Image makeImage(int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    return image;
}

Rgb8 quantiseColour(Colour c) {
    return {quantiseChannel(c.r), quantiseChannel(c.g), quantiseChannel(c.b)};
}

Rgb8 readPixel(const Image& image, int x, int y) {
    return image.pixels[computeIndex(image, x, y)];
}

void setPixel(Image& image, int x, int y, Colour c) {
    image.pixels[computeIndex(image, x, y)] = quantiseColour(c);
}
