// The colours of a logical palette for an indexed-colour pixel format.
#include "app/win32/win32_palette.h"

namespace {

constexpr int kMaxChannelBits = 8;
constexpr int kIndexBits = 32;
constexpr double kFullLevel = 255.0;

uint8_t channelLevel(const PaletteChannel& channel, uint32_t index) {
    // No bits means a mask of 0: the scaling would divide by it.
    if (channel.bits <= 0 || channel.shift < 0 || channel.shift >= kIndexBits) {
        return 0;
    }
    const int bits = channel.bits < kMaxChannelBits ? channel.bits : kMaxChannelBits;
    const uint32_t mask = (1u << bits) - 1u;
    const uint32_t level = (index >> channel.shift) & mask;
    // Floating-point scaling, truncated: 1 of 7 levels is 36, not the rounded 37.
    return static_cast<uint8_t>(static_cast<double>(level) * kFullLevel /
                                static_cast<double>(mask));
}

} // namespace

PaletteColour paletteColourAt(const PaletteLayout& layout, uint32_t index) {
    return PaletteColour{channelLevel(layout.red, index), channelLevel(layout.green, index),
                         channelLevel(layout.blue, index)};
}
