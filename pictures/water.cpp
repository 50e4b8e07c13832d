// Water pictures: caustics, lagoon shallows and storm swells.
// Frequencies are in lattice cells per sphere radius; tones are positions on a colour ramp.
#include "pictures/water.h"

#include "pictures/cellular.h"
#include "pictures/paint_kit.h"
#include "pictures/sphere_map.h"

namespace {

// --- water1: caustics ---
constexpr int kCausticWidth = 256;
constexpr int kCausticHeight = 256;
constexpr NoiseLayer kSeaDepth{1.6, 1101, {5}};
constexpr double kDepthContrast = 1.8;
constexpr RampStop kDeepRamp[] = {{0.0, decodeHexColour(0x041445)},
                                  {0.5, decodeHexColour(0x0A3A8C)},
                                  {1.0, decodeHexColour(0x1F74C8)}};
constexpr Colour kCausticColour = decodeHexColour(0x9BEBFF);

// A web of light: borders of warped cells, where light focused by the waves gathers.
struct CausticLayer {
    double frequency;
    uint32_t seed;
    double width; // in cells, measured as second - nearest
    double strength;
};
constexpr Warp kCausticWobble{0.5, 0.3, 0, {3}}; // seed taken from the layer
constexpr CausticLayer kBroadCaustics{3.2, 1103, 0.16, 0.75};
constexpr CausticLayer kFineCaustics{6.5, 1105, 0.12, 0.4};
// Caustics are brightest over the shallower, lighter water.
constexpr Ramp01 kShimmer{-0.3, 0.3};
constexpr double kShimmerFloor = 0.55;

double computeCausticLight(Vertex p, const CausticLayer& layer) {
    Warp wobble = kCausticWobble;
    wobble.seed = layer.seed;
    const Vertex q = warpPoint(vertexScale(p, layer.frequency), wobble);
    const CellSample cell = sampleCells(q, layer.seed + 1, 1.0);
    const double line = 1.0 - smoothStep(0.0, layer.width, cell.second - cell.nearest);
    return layer.strength * line * line;
}

Colour shadeCaustics(const SphereTexel& texel) {
    const Vertex p = texel.point;
    const double depth = sampleFbm(p, kSeaDepth);
    const Colour c = sampleRamp(kDeepRamp, 0.5 + kDepthContrast * depth);
    const double light =
        computeCausticLight(p, kBroadCaustics) + computeCausticLight(p, kFineCaustics);
    const double shimmer = kShimmerFloor + (1.0 - kShimmerFloor) * rampUp(kShimmer, depth);
    return addColours(c, scaleColour(kCausticColour, light * shimmer));
}

// --- water2: lagoon ---
constexpr int kLagoonWidth = 256;
constexpr int kLagoonHeight = 128;
constexpr double kSeabedFrequency = 1.7;
constexpr Warp kSeabedWarp{0.6, 0.4, 1202, {3}};
constexpr NoiseLayer kSeabed{1.0, 1203, {6, 2.0, 0.52}};
constexpr double kSeaLevel = 0.05;    // raising it floods more of the sand
constexpr double kShoreHeight = 0.16; // seabed height where the sand breaks the surface
constexpr double kSurfWidth = 0.03;   // seabed height below the shore where foam starts
constexpr double kRippleFrequency = 22.0;
constexpr uint32_t kRippleSeed = 1204;
constexpr double kRippleContrast = 0.06;
constexpr double kFoamFloor = 0.75; // foam opacity in a ripple's trough
// By seabed height: deep channels, then shallows paling towards the sand.
constexpr RampStop kLagoonRamp[] = {{-0.3, decodeHexColour(0x043F6E)},
                                    {-0.05, decodeHexColour(0x0A7EA3)},
                                    {0.08, decodeHexColour(0x2EC4C0)},
                                    {0.15, decodeHexColour(0x9EEBD8)}};
constexpr Colour kFoamColour = decodeHexColour(0xF4FFF9);
constexpr RampStop kIslandRamp[] = {{0.16, decodeHexColour(0xF6E8B4)},
                                    {0.24, decodeHexColour(0xE2CB90)},
                                    {0.3, decodeHexColour(0x7DA85A)},
                                    {0.4, decodeHexColour(0x457E3C)}};

Colour shadeLagoon(const SphereTexel& texel) {
    const Vertex p = texel.point;
    const Vertex q = warpPoint(vertexScale(p, kSeabedFrequency), kSeabedWarp);
    const double seabed = sampleFbm(q, kSeabed) - kSeaLevel;
    if (seabed > kShoreHeight) {
        return sampleRamp(kIslandRamp, seabed);
    }
    const double ripple = sampleGradientNoise(vertexScale(p, kRippleFrequency), kRippleSeed);
    const Colour water =
        scaleColour(sampleRamp(kLagoonRamp, seabed), 1.0 + kRippleContrast * ripple);
    const double foam = smoothStep(kShoreHeight - kSurfWidth, kShoreHeight, seabed);
    return mixColours(water, kFoamColour, foam * (kFoamFloor + (1.0 - kFoamFloor) * ripple));
}

// --- water3: storm sea ---
constexpr int kStormWidth = 128;
constexpr int kStormHeight = 128;
constexpr Warp kStormGusts{1.2, 0.25, 1303, {3}};
// Squashed along the axis (z) so the swells run east to west around the sphere.
constexpr double kSwellAcross = 2.5;
constexpr double kSwellAlong = 9.0;
constexpr NoiseLayer kSwell{1.0, 1304, {5}};
constexpr double kSwellContrast = 1.7;
constexpr double kCrestAcross = 4.0;
constexpr double kCrestAlong = 12.0;
constexpr NoiseLayer kCrest{1.0, 1305, {4}};
constexpr Ramp01 kCrestBreaks{0.74, 0.9}; // ridged value where a crest turns white
constexpr Ramp01 kSwellHigh{-0.05, 0.2};  // whitecaps only on the raised swells
constexpr RampStop kStormRamp[] = {{0.0, decodeHexColour(0x0F2C2F)},
                                   {0.4, decodeHexColour(0x275B56)},
                                   {0.75, decodeHexColour(0x528C7B)},
                                   {1.0, decodeHexColour(0x92BCAA)}};
constexpr Colour kWhitecapColour = decodeHexColour(0xE4EEE8);

Colour shadeStorm(const SphereTexel& texel) {
    const Vertex p = warpPoint(texel.point, kStormGusts);
    const double swell =
        sampleFbm(stretchPoint(p, kSwellAcross, kSwellAcross, kSwellAlong), kSwell);
    const Colour c = sampleRamp(kStormRamp, 0.5 + kSwellContrast * swell);
    const double crest =
        sampleRidged(stretchPoint(p, kCrestAcross, kCrestAcross, kCrestAlong), kCrest);
    const double caps = rampUp(kCrestBreaks, crest) * rampUp(kSwellHigh, swell);
    return mixColours(c, kWhitecapColour, caps);
}

} // namespace

Image paintWater1() {
    return paintSphere(kCausticWidth, kCausticHeight, shadeCaustics);
}
Image paintWater2() {
    return paintSphere(kLagoonWidth, kLagoonHeight, shadeLagoon);
}
Image paintWater3() {
    return paintSphere(kStormWidth, kStormHeight, shadeStorm);
}
