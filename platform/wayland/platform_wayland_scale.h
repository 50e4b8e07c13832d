// A length in a fractional-scale buffer's pixels, without any Wayland header.
#pragma once

#include <cstdint>

// wp_fractional_scale_v1 gives scales in 120ths.
inline constexpr uint32_t kFractionalScaleDenominator = 120;

// The buffer pixels of logical surface pixels at scale120 / 120, rounded to the nearest as the
// protocol asks: cut short, the picture would miss a pixel and be scaled soft by the viewport.
inline int waylandScaledLength(int logical, uint32_t scale120) {
    return static_cast<int>(
        (static_cast<uint32_t>(logical) * scale120 + kFractionalScaleDenominator / 2) /
        kFractionalScaleDenominator);
}
