// Round spray points: the sizes and the anti-aliased rim that both backends draw and the damage
// bounds allow for.
#pragma once

#include <algorithm>

// At or below this diameter in pixels points are square, unblended, one pixel each.
inline constexpr float kSquarePointSize = 1.0f;
// A round point is drawn in a square reaching this many pixels beyond its circle on every side,
// room for the rim's fade, which lies half a pixel inside the circle and half outside.
inline constexpr float kRoundPointMargin = 1.0f;
// Larger sizes are drawn this large (the shader backend's driver may allow less).
inline constexpr float kLargestRoundPoint = 1024.0f;

// How much of the point's colour a pixel takes, 0 to 1, whose centre lies fromCentre pixels from
// the centre of a round point diameter pixels across.
inline float roundPointCoverage(float diameter, float fromCentre) {
    return std::clamp(0.5f * diameter + 0.5f - fromCentre, 0.0f, 1.0f);
}
