// The background: sky gradient, nebula gas, dust clouds and stars.
#include "pictures/background.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "pictures/paint_kit.h"

namespace {

constexpr double kHalfWidth = kBackgroundWidth * 0.5;
constexpr double kHalfHeight = kBackgroundHeight * 0.5;
// Noise coordinates: the picture's half-height is one unit, so features keep their aspect.
constexpr double kUnitPixels = kHalfHeight;
constexpr double kNoisePlane = 0.37; // a z slice of the 3D noise away from its lattice planes

// The gas and dust are soft, so they are sampled every second pixel each way and blended in
// between: a quarter of the noise work for no visible change. Stars are drawn at every pixel.
constexpr int kNebulaStep = 2;
constexpr int kNebulaColumns = kBackgroundWidth / kNebulaStep + 1;
constexpr int kNebulaRows = kBackgroundHeight / kNebulaStep + 1;

// Top of the picture to the bottom.
constexpr RampStop kSkyRamp[] = {{0.0, decodeHexColour(0x0B0E2A)},
                                 {0.55, decodeHexColour(0x1A1542)},
                                 {1.0, decodeHexColour(0x36204E)}};

// The nebula band runs from lower left to upper right: its centre line is y = kBandSlope * x.
constexpr double kBandSlope = -0.45;
constexpr double kBandHalfWidth = 0.75;

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

// --- stars: at most one per square cell, placed, sized and coloured by the cell's hash ---
constexpr uint32_t kStarSeed = 4107;
constexpr int kStarCell = 6;            // pixels
constexpr double kStarShare = 0.1;      // of cells that hold a star, away from the band
constexpr double kBandStarShare = 0.16; // extra share along the band
constexpr int kMagnitudeSharpness = 7;  // higher: fewer bright stars
constexpr double kFaintest = 0.2;
constexpr double kCoreRadius = 0.75;      // pixels, for the faintest
constexpr double kGlowRadius = 2.4;       // pixels added for the brightest
constexpr double kSpikeBrightness = 0.93; // stars brighter than this get a cross of rays
constexpr double kSpikeLength = 7.0;      // pixels
constexpr double kSpikeHalfWidth = 0.5;   // pixels
constexpr double kSpikeLight = 0.5;
constexpr RampStop kStarRamp[] = {{0.0, decodeHexColour(0xFFC890)},
                                  {0.45, decodeHexColour(0xFFF4E8)},
                                  {1.0, decodeHexColour(0xA8C4FF)}};

Vertex mapPixelToNoise(double x, double y) {
    return {(x - kHalfWidth) / kUnitPixels, (y - kHalfHeight) / kUnitPixels, kNoisePlane};
}

// 1 on the band's centre line, 0 beyond its half-width.
double weighBand(Vertex p) {
    const double across = (p.y - kBandSlope * p.x) / std::sqrt(1.0 + kBandSlope * kBandSlope);
    return 1.0 - smoothStep(0.0, kBandHalfWidth, std::fabs(across));
}

Colour shadeNebula(Vertex p, double band, double heightShare) {
    const Colour sky = sampleRamp(kSkyRamp, heightShare);
    const Vertex q = warpPoint(vertexScale(p, kGasFrequency), kGasWarp);
    const double gas = sampleFbm(q, kGas);
    const double density = rampUp(kGasDensity, gas + kGasInBand * band - kGasThinning);
    Colour glow = mixColours(kGasMagenta, kGasTeal, rampUp(kHueSwitch, sampleFbm(p, kGasHue)));
    glow = mixColours(glow, kGasGlow, kGlowOpacity * rampUp(kGlowCore, gas + kGlowInBand * band));
    const Colour lit = addColours(sky, scaleColour(glow, kGasBrightness * density));

    const double dust = rampUp(kDustCloud, sampleFbm(q, kDust));
    const double lane = rampUp(kDustLane, sampleRidged(q, kDustLanes));
    const double shadow = (kDustOpacity + kLaneOpacity * lane) * dust;
    return scaleColour(lit, 1.0 - shadow * (kDustOffBand + (1.0 - kDustOffBand) * band));
}

// The light of the star in cell (cx, cy), if any, at pixel centre (px, py).
Colour measureStarLight(int cx, int cy, double px, double py) {
    const uint32_t h = hashLattice(cx, cy, 0, kStarSeed);
    const double cellCentreX = (cx + 0.5) * kStarCell;
    const double cellCentreY = (cy + 0.5) * kStarCell;
    const double share =
        kStarShare + kBandStarShare * weighBand(mapPixelToNoise(cellCentreX, cellCentreY));
    if (hashToUnit(h) >= share) {
        return {};
    }
    const uint32_t hx = hashNext(h);
    const uint32_t hy = hashNext(hx);
    const uint32_t hm = hashNext(hy);
    const uint32_t ht = hashNext(hm);
    const double dx = px - (cx + hashToUnit(hx)) * kStarCell;
    const double dy = py - (cy + hashToUnit(hy)) * kStarCell;
    const double brightness = raisePower(hashToUnit(hm), kMagnitudeSharpness);
    const double radius = kCoreRadius + kGlowRadius * brightness;
    const double fall = clampUnit(1.0 - (dx * dx + dy * dy) / (radius * radius));
    double light = (kFaintest + (1.0 - kFaintest) * brightness) * fall * fall;
    if (brightness > kSpikeBrightness) {
        const double nearAxis = std::fmin(std::fabs(dx), std::fabs(dy));
        const double alongAxis = std::fmax(std::fabs(dx), std::fabs(dy));
        if (nearAxis < kSpikeHalfWidth) {
            light = light + kSpikeLight * clampUnit(1.0 - alongAxis / kSpikeLength);
        }
    }
    return scaleColour(sampleRamp(kStarRamp, hashToUnit(ht)), light);
}

// Nebula colours at every kNebulaStep-th pixel centre, row by row.
std::vector<Colour> sampleNebulaGrid() {
    std::vector<Colour> samples;
    samples.reserve(static_cast<size_t>(kNebulaColumns) * kNebulaRows);
    for (int row = 0; row < kNebulaRows; ++row) {
        for (int column = 0; column < kNebulaColumns; ++column) {
            const double px = column * kNebulaStep + 0.5;
            const double py = row * kNebulaStep + 0.5;
            const Vertex p = mapPixelToNoise(px, py);
            samples.push_back(shadeNebula(p, weighBand(p), py / kBackgroundHeight));
        }
    }
    return samples;
}

// Bilinear between the four nebula samples around pixel (x, y).
Colour blendNebulaAt(const std::vector<Colour>& samples, int x, int y) {
    const int column = x / kNebulaStep;
    const int row = y / kNebulaStep;
    const double fx = static_cast<double>(x % kNebulaStep) / kNebulaStep;
    const double fy = static_cast<double>(y % kNebulaStep) / kNebulaStep;
    const auto at = [&](int c, int r) {
        return samples[static_cast<size_t>(r) * kNebulaColumns + static_cast<size_t>(c)];
    };
    const Colour top = mixColours(at(column, row), at(column + 1, row), fx);
    const Colour bottom = mixColours(at(column, row + 1), at(column + 1, row + 1), fx);
    return mixColours(top, bottom, fy);
}

// The stars' light at pixel (x, y): from its own star cell and the eight around it, since
// glows and rays reach across cell borders.
Colour gatherStarLight(int x, int y) {
    const double px = x + 0.5;
    const double py = y + 0.5;
    const int cx = x / kStarCell;
    const int cy = y / kStarCell;
    Colour light;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            light = addColours(light, measureStarLight(cx + dx, cy + dy, px, py));
        }
    }
    return light;
}

} // namespace

Image paintBackground() {
    const std::vector<Colour> nebula = sampleNebulaGrid();
    return paintImage(kBackgroundWidth, kBackgroundHeight, [&](int x, int y) {
        return addColours(blendNebulaAt(nebula, x, y), gatherStarLight(x, y));
    });
}
