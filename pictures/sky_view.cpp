// Fitting the standard background over a picture of any size.
#include "pictures/sky_view.h"

#include <cmath>

#include "pictures/background.h"
#include "pictures/colour.h"

namespace {

constexpr double kHalfWidth = kBackgroundWidth * 0.5;
constexpr double kHalfHeight = kBackgroundHeight * 0.5;
constexpr double kUnitPixels = kHalfHeight;
constexpr double kNoisePlane = 0.37; // a z slice of the 3D noise away from its lattice planes

// The gas is soft: at the standard size it is sampled every second pixel each way and blended
// in between. Each doubling of the scale adds an octave of finer gas, which halves the spacing
// its samples need, so the step stays at two or three output pixels.
constexpr double kStandardNebulaStep = 2.5; // gives 2 at the standard size
constexpr int kLargestNebulaStep = 3;
constexpr int kMostExtraOctaves = 4;
constexpr int kMostStarLevels = 5;

// The band's centre line is y = kBandSlope * x in noise space.
constexpr double kBandSlope = -0.45;
constexpr double kBandHalfWidth = 0.75;

} // namespace

SkyView makeSkyView(int width, int height) {
    SkyView view;
    view.width = width;
    view.height = height;
    const double sx = width / static_cast<double>(kBackgroundWidth);
    const double sy = height / static_cast<double>(kBackgroundHeight);
    view.scale = sx > sy ? sx : sy;
    view.centreX = width * 0.5;
    view.centreY = height * 0.5;
    double octaveScale = 1.0;
    while (view.extraOctaves < kMostExtraOctaves && octaveScale * 2.0 <= view.scale) {
        octaveScale = octaveScale * 2.0;
        ++view.extraOctaves;
    }
    const int step = static_cast<int>(kStandardNebulaStep * view.scale / octaveScale);
    view.nebulaStep = step < 1 ? 1 : (step > kLargestNebulaStep ? kLargestNebulaStep : step);
    double starScale = 2.0;
    while (view.starLevels < kMostStarLevels && starScale <= view.scale) {
        starScale = starScale * 2.0;
        ++view.starLevels;
    }
    return view;
}

double mapOutputToStandardX(const SkyView& view, double x) {
    return (x - view.centreX) / view.scale + kHalfWidth;
}

double mapOutputToStandardY(const SkyView& view, double y) {
    return (y - view.centreY) / view.scale + kHalfHeight;
}

double mapStandardToOutputX(const SkyView& view, double u) {
    return (u - kHalfWidth) * view.scale + view.centreX;
}

double mapStandardToOutputY(const SkyView& view, double v) {
    return (v - kHalfHeight) * view.scale + view.centreY;
}

Vertex mapStandardToNoise(double u, double v) {
    return {(u - kHalfWidth) / kUnitPixels, (v - kHalfHeight) / kUnitPixels, kNoisePlane};
}

double weighBand(Vertex p) {
    const double across = (p.y - kBandSlope * p.x) / std::sqrt(1.0 + kBandSlope * kBandSlope);
    return 1.0 - smoothStep(0.0, kBandHalfWidth, std::fabs(across));
}
