// Colour blends and ramps.
#include "pictures/colour.h"

#include <cmath>

namespace {

constexpr double kLumaRed = 0.299;
constexpr double kLumaGreen = 0.587;
constexpr double kLumaBlue = 0.114;

} // namespace

double clampUnit(double x) {
    if (x < 0.0) {
        return 0.0;
    }
    return x > 1.0 ? 1.0 : x;
}

double smoothStep(double edge0, double edge1, double x) {
    const double s = clampUnit((x - edge0) / (edge1 - edge0));
    return s * s * (3.0 - 2.0 * s);
}

double takeFraction(double x) {
    return x - std::floor(x);
}

Colour mixColours(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scaleColour(Colour c, double s) {
    return {c.r * s, c.g * s, c.b * s};
}

Colour addColours(Colour a, Colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

double measureLuma(Colour c) {
    double luma = kLumaRed * c.r;
    luma = luma + kLumaGreen * c.g;
    return luma + kLumaBlue * c.b;
}

Colour sampleRamp(std::span<const RampStop> stops, double t) {
    if (stops.empty()) {
        return {};
    }
    if (t <= stops.front().at) {
        return stops.front().colour;
    }
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t < stops[i].at) {
            const RampStop& from = stops[i - 1];
            const double span = stops[i].at - from.at;
            return mixColours(from.colour, stops[i].colour, (t - from.at) / span);
        }
    }
    return stops.back().colour;
}
