// Deterministic sine and the equirectangular texel-to-sphere mapping.
#include "pictures/sphere_map.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kQuarterTurn = 0.25;
constexpr double kHalfTurn = 0.5;
constexpr double kTexelCentre = 0.5;
// Taylor coefficients 1/3!, 1/5!, ... 1/13!: on [-pi/2, pi/2] the first term left out is below
// (pi/2)^15 / 15! < 1e-9.
constexpr double kSineTerms[] = {1.0 / 6.0,      1.0 / 120.0,      1.0 / 5040.0,
                                 1.0 / 362880.0, 1.0 / 39916800.0, 1.0 / 6227020800.0};

} // namespace

double sinTurns(double turns) {
    // Down to [-1/2, 1/2) turn, then mirrored into [-1/4, 1/4] where the series converges fast.
    double t = turns - std::floor(turns + kHalfTurn);
    if (t > kQuarterTurn) {
        t = kHalfTurn - t;
    } else if (t < -kQuarterTurn) {
        t = -kHalfTurn - t;
    }
    const double x = t * kTwoPi;
    const double x2 = x * x;
    // x - x^3/3! + x^5/5! - ... in Horner form, innermost term first.
    double sum = 0.0;
    for (int i = static_cast<int>(std::size(kSineTerms)) - 1; i >= 0; --i) {
        sum = x2 * (kSineTerms[i] - sum);
    }
    return x * (1.0 - sum);
}

double cosTurns(double turns) {
    return sinTurns(turns + kQuarterTurn);
}

SphereTexel locateSphereTexel(int x, int y, int width, int height) {
    SphereTexel texel;
    texel.u = (x + kTexelCentre) / width;
    texel.v = (y + kTexelCentre) / height;
    const double longitude = texel.u;         // turns
    const double polar = texel.v * kHalfTurn; // turns down from the north pole
    const double ring = sinTurns(polar);      // distance from the axis
    texel.point = {ring * cosTurns(longitude), ring * sinTurns(longitude), cosTurns(polar)};
    return texel;
}
