// The background: sky gradient, nebula gas, dust clouds and stars, at any size, in bands of rows
// painted side by side.
#include "pictures/background.h"

#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

#include "pictures/paint_kit.h"
#include "pictures/sky_stars.h"
#include "pictures/sky_view.h"

namespace {

// Without thread support (the browser build) every band is painted on the calling thread.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
constexpr bool kCanStartThreads = false;
#else
constexpr bool kCanStartThreads = true;
#endif
constexpr unsigned kMostPaintThreads = 8;

// Top of the standard picture to its bottom.
constexpr RampStop kSkyRamp[] = {{0.0, decodeHexColour(0x0B0E2A)},
                                 {0.55, decodeHexColour(0x1A1542)},
                                 {1.0, decodeHexColour(0x36204E)}};

// --- gas ---
constexpr double kGasFrequency = 1.1;
constexpr Warp kGasWarp{0.9, 0.6, 4101, {3}};
constexpr NoiseLayer kGas{1.8, 4102, {6, 2.0, 0.55}};
constexpr double kGasInBand = 0.3; // the band thickens the gas
constexpr double kGasThinning = 0.12;
constexpr Ramp01 kGasDensity{-0.1, 0.35};
constexpr double kGasBrightness = 0.5;
constexpr NoiseLayer kGasHue{0.9, 4103, {3}};
constexpr Ramp01 kHueSwitch{-0.18, 0.18}; // magenta to teal
constexpr double kGlowInBand = 0.2;
constexpr Ramp01 kGlowCore{0.25, 0.5};
constexpr double kGlowOpacity = 0.5;
constexpr Colour kGasMagenta = decodeHexColour(0xA8367F);
constexpr Colour kGasTeal = decodeHexColour(0x2A8A9A);
constexpr Colour kGasGlow = decodeHexColour(0xF0A070);

// --- dust: soft dark clouds in front of the gas, with a few sharper lanes inside them; they
// follow the same swirls as the gas ---
constexpr NoiseLayer kDust{1.5, 4105, {5, 2.0, 0.55}};
constexpr Ramp01 kDustCloud{0.02, 0.3};
constexpr NoiseLayer kDustLanes{2.2, 4106, {4}};
constexpr Ramp01 kDustLane{0.8, 0.95};
constexpr double kDustOpacity = 0.5;
constexpr double kLaneOpacity = 0.25;
constexpr double kDustOffBand = 0.4; // dust opacity away from the band, relative to on it

// The finer layers, with the octaves the size adds.
struct NebulaLayers {
    NoiseLayer gas;
    NoiseLayer dust;
    NoiseLayer lanes;
};

NoiseLayer addOctaves(NoiseLayer layer, int extra) {
    layer.shape.octaves += extra;
    return layer;
}

NebulaLayers makeNebulaLayers(const SkyView& view) {
    return {addOctaves(kGas, view.extraOctaves), addOctaves(kDust, view.extraOctaves),
            addOctaves(kDustLanes, view.extraOctaves)};
}

Colour shadeNebula(const NebulaLayers& layers, Vertex p, double band, double heightShare) {
    const Colour sky = sampleRamp(kSkyRamp, heightShare);
    const Vertex q = warpPoint(vertexScale(p, kGasFrequency), kGasWarp);
    const double gas = sampleFbm(q, layers.gas);
    const double density = rampUp(kGasDensity, gas + kGasInBand * band - kGasThinning);
    Colour glow = mixColours(kGasMagenta, kGasTeal, rampUp(kHueSwitch, sampleFbm(p, kGasHue)));
    glow = mixColours(glow, kGasGlow, kGlowOpacity * rampUp(kGlowCore, gas + kGlowInBand * band));
    const Colour lit = addColours(sky, scaleColour(glow, kGasBrightness * density));

    const double dust = rampUp(kDustCloud, sampleFbm(q, layers.dust));
    const double lane = rampUp(kDustLane, sampleRidged(q, layers.lanes));
    const double shadow = (kDustOpacity + kLaneOpacity * lane) * dust;
    return scaleColour(lit, 1.0 - shadow * (kDustOffBand + (1.0 - kDustOffBand) * band));
}

// Nebula colours at every nebulaStep-th pixel centre of one sample row, one column past the
// picture's right edge so every pixel has samples on both sides.
void sampleNebulaRow(const SkyView& view, const NebulaLayers& layers, int row,
                     std::vector<Colour>* samples) {
    const int columns = (view.width - 1) / view.nebulaStep + 2;
    samples->resize(static_cast<size_t>(columns));
    const double v = mapOutputToStandardY(view, row * view.nebulaStep + 0.5);
    for (int column = 0; column < columns; ++column) {
        const double u = mapOutputToStandardX(view, column * view.nebulaStep + 0.5);
        const Vertex p = mapStandardToNoise(u, v);
        (*samples)[static_cast<size_t>(column)] =
            shadeNebula(layers, p, weighBand(p), v / kBackgroundHeight);
    }
}

// Bilinear between the four nebula samples around pixel (x, y).
Colour blendNebulaAt(const SkyView& view, const std::vector<Colour>& top,
                     const std::vector<Colour>& bottom, int x, int y) {
    const int step = view.nebulaStep;
    const size_t column = static_cast<size_t>(x / step);
    const double fx = static_cast<double>(x % step) / step;
    const double fy = static_cast<double>(y % step) / step;
    const Colour above = mixColours(top[column], top[column + 1], fx);
    const Colour below = mixColours(bottom[column], bottom[column + 1], fx);
    return mixColours(above, below, fy);
}

// Rows [firstY, endY): each pixel depends only on its own position, so bands may be painted in
// any order and by any thread.
void paintBand(const SkyView& view, int firstY, int endY, Image* image) {
    const NebulaLayers layers = makeNebulaLayers(view);
    const std::vector<StarField> stars = makeStarFields(view, firstY, endY);
    std::vector<Colour> top;
    std::vector<Colour> bottom;
    int topRow = -1;
    for (int y = firstY; y < endY; ++y) {
        const int row = y / view.nebulaStep;
        if (row == topRow + 1 && topRow >= 0) {
            top.swap(bottom);
            sampleNebulaRow(view, layers, row + 1, &bottom);
        } else if (row != topRow) {
            sampleNebulaRow(view, layers, row, &top);
            sampleNebulaRow(view, layers, row + 1, &bottom);
        }
        topRow = row;
        for (int x = 0; x < view.width; ++x) {
            setPixel(*image, x, y,
                     addColours(blendNebulaAt(view, top, bottom, x, y),
                                gatherStarLight(view, stars, x, y)));
        }
    }
}

} // namespace

Image paintBackground() {
    return paintBackgroundAt(kBackgroundWidth, kBackgroundHeight, 1);
}

Image paintBackgroundAt(int width, int height, int threads) {
    Image image = makeImage(width, height);
    if (width <= 0 || height <= 0) {
        return image;
    }
    const SkyView view = makeSkyView(width, height);
    const int bands = !kCanStartThreads || threads < 1 ? 1 : (threads > height ? height : threads);
    std::vector<std::thread> helpers;
    for (int band = 1; band < bands; ++band) {
        helpers.emplace_back(paintBand, std::cref(view), height * band / bands,
                             height * (band + 1) / bands, &image);
    }
    paintBand(view, 0, height / bands, &image);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return image;
}

int countPaintThreads() {
    if (!kCanStartThreads) {
        return 1;
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return cores < 1 ? 1 : static_cast<int>(cores > kMostPaintThreads ? kMostPaintThreads : cores);
}
