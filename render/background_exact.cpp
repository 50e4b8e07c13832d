// Holds the exact-size background until the drawing side takes it up.
#include "render/background_exact.h"

#include <cstddef>
#include <vector>

namespace {

std::vector<uint8_t> gExactPixels;

} // namespace

void backgroundSetExact(const uint8_t* rgb, int width, int height) {
    gExactPixels.assign(rgb, rgb + static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
}
