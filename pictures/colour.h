// Colours as three doubles in [0, 1], and the blends and ramps the pictures are painted with.
#pragma once

#include <cstdint>
#include <span>

struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

// One point of a colour ramp: the colour at position `at`.
struct RampStop {
    double at = 0.0;
    Colour colour;
};

// 0xRRGGBB as written in any paint program, so palettes read like one.
constexpr Colour decodeHexColour(uint32_t rgb) {
    constexpr double kByteMax = 255.0;
    return {static_cast<double>((rgb >> 16) & 0xFFu) / kByteMax,
            static_cast<double>((rgb >> 8) & 0xFFu) / kByteMax,
            static_cast<double>(rgb & 0xFFu) / kByteMax};
}

double clampUnit(double x);
// 0 below edge0, 1 above edge1, the cubic 3s^2 - 2s^3 between.
double smoothStep(double edge0, double edge1, double x);
// x - floor(x): the position inside the current unit step, in [0, 1).
double takeFraction(double x);

// a at t = 0, b at t = 1; t is not clamped.
Colour mixColours(Colour a, Colour b, double t);
Colour scaleColour(Colour c, double s);
Colour addColours(Colour a, Colour b);
// Rec. 601 weights: how bright the colour looks, in [0, 1] for colours in range.
double measureLuma(Colour c);
// Linear between stops sorted by `at`; the end colours outside them.
Colour sampleRamp(std::span<const RampStop> stops, double t);
