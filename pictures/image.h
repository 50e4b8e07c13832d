// Image: an 8-bit RGB picture in memory, top row first, and the loop that paints one.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/colour.h"

struct Rgb8 {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb8> pixels; // row 0 is the top row, left to right within a row
};

// A black picture of the given size.
Image makeImage(int width, int height);
// Clamps each channel to [0, 1] and rounds c * 255 half up.
Rgb8 quantiseColour(Colour c);
Rgb8 readPixel(const Image& image, int x, int y);
void setPixel(Image& image, int x, int y, Colour c);

// Calls paint(x, y) -> Colour for every pixel, top row first.
template <typename Paint>
Image paintImage(int width, int height, Paint paint) {
    Image image = makeImage(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setPixel(image, x, y, paint(x, y));
        }
    }
    return image;
}
