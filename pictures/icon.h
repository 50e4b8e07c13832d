// The application icon: one lit, textured sphere on a transparent square.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/image.h"

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes; // r, g, b, a per pixel, top row first; alpha not premultiplied
};

// A size x size picture of a sphere wearing `surface` (an equirectangular sphere picture, north
// pole on the top row), lit from the upper left, its north pole leaning towards the viewer. The
// sphere fills the square but for a thin margin; outside it the picture is transparent, and its
// rim is smoothed into the alpha channel.
RgbaImage paintSphereIcon(const Image& surface, int size);
