// Rock pictures: craters, folded strata, veined marble, lava cracks and pebbles.
// Frequencies are in lattice cells per sphere radius; tones are positions on a colour ramp.
#include "pictures/rock.h"

#include <cmath>

#include "pictures/cellular.h"
#include "pictures/paint_kit.h"
#include "pictures/sphere_map.h"

namespace {

// --- rock1: moon rock ---
constexpr int kMoonWidth = 256;
constexpr int kMoonHeight = 256;
constexpr NoiseLayer kMoonGround{2.5, 101, {6, 2.0, 0.55}};
constexpr NoiseLayer kMoonLowland{1.2, 102, {4}};
constexpr Ramp01 kLowlandEdge{0.0, 0.18};
constexpr double kMoonTone = 0.62;
constexpr double kGroundContrast = 0.55;
constexpr double kLowlandDarkening = 0.26;
constexpr RampStop kMoonRamp[] = {{0.0, decodeHexColour(0x2E2C2B)},
                                  {0.35, decodeHexColour(0x5E5A56)},
                                  {0.65, decodeHexColour(0x9C9690)},
                                  {1.0, decodeHexColour(0xE2DDD4)}};

// Three sizes of crater, the small ones many and faint.
struct CraterLayer {
    double frequency;
    uint32_t seed;
    double strength;
};
constexpr CraterLayer kCraterLayers[] = {{2.2, 103, 1.0}, {4.6, 104, 0.7}, {9.0, 105, 0.45}};
constexpr double kCraterJitter = 0.9;
constexpr double kCraterlessShare = 0.35;
constexpr double kCraterMinRadius = 0.18; // in cells
constexpr double kCraterRadiusSpread = 0.22;
constexpr double kBowlDepth = 0.28;
constexpr int kBowlWallSharpness = 6; // higher: flatter floor, steeper wall up to the rim
constexpr double kRimHeight = 0.3;
constexpr double kRimWidth = 0.22;   // in crater radii
constexpr double kEjectaReach = 2.2; // in crater radii
constexpr double kEjectaHeight = 0.06;

// Tone change from one crater layer: a dark bowl, a bright rim just outside it and a faint
// apron of ejecta beyond. Some cells hold no crater.
double computeCraterRelief(Vertex p, const CraterLayer& layer) {
    const CellSample cell = sampleCells(vertexScale(p, layer.frequency), layer.seed, kCraterJitter);
    if (hashToUnit(cell.cellId) < kCraterlessShare) {
        return 0.0;
    }
    const double radius =
        kCraterMinRadius + kCraterRadiusSpread * hashToUnit(hashNext(cell.cellId));
    const double s = cell.nearest / radius; // 1 on the rim
    if (s < 1.0) {
        const double bowl = -kBowlDepth * (1.0 - s * s);
        return layer.strength * (bowl + kRimHeight * raisePower(s, kBowlWallSharpness));
    }
    const double rim = clampUnit(1.0 - (s - 1.0) / kRimWidth);
    const double ejecta = clampUnit(1.0 - (s - 1.0) / kEjectaReach);
    return layer.strength * (kRimHeight * rim * rim + kEjectaHeight * ejecta);
}

Colour shadeMoon(const SphereTexel& texel) {
    const Vertex p = texel.point;
    const double lowland = rampUp(kLowlandEdge, sampleFbm(p, kMoonLowland));
    double tone = kMoonTone + kGroundContrast * sampleFbm(p, kMoonGround);
    tone = tone - kLowlandDarkening * lowland;
    for (const CraterLayer& layer : kCraterLayers) {
        tone = tone + computeCraterRelief(p, layer);
    }
    return sampleRamp(kMoonRamp, tone);
}

// --- rock3: desert strata ---
constexpr int kStrataWidth = 256;
constexpr int kStrataHeight = 128;
constexpr Warp kStrataFolds{1.3, 0.55, 303, {4}};
constexpr double kStrataPerRadius = 1.6; // bands from the equator to a pole
constexpr NoiseLayer kStrataWobble{6.0, 304, {3}};
constexpr double kWobbleDepth = 0.25; // in bands
constexpr double kGritFrequency = 40.0;
constexpr uint32_t kGritSeed = 305;
constexpr double kGritContrast = 0.12;
constexpr NoiseLayer kWeathering{2.0, 306, {5}};
constexpr Ramp01 kWeatheringEdge{0.05, 0.3};
constexpr double kWeatheringDarkening = 0.3;
// Wraps around: the first and last stops match so the bands repeat without a jump.
constexpr RampStop kStrataRamp[] = {
    {0.0, decodeHexColour(0x6E2414)},  {0.16, decodeHexColour(0xA9411F)},
    {0.3, decodeHexColour(0xD9773A)},  {0.42, decodeHexColour(0xEFC48A)},
    {0.5, decodeHexColour(0xC8683A)},  {0.64, decodeHexColour(0x8A2F18)},
    {0.78, decodeHexColour(0xE09A55)}, {0.9, decodeHexColour(0xB4502A)},
    {1.0, decodeHexColour(0x6E2414)}};

Colour shadeStrata(const SphereTexel& texel) {
    const Vertex p = texel.point;
    const Vertex folded = warpPoint(p, kStrataFolds);
    const double layer = folded.z * kStrataPerRadius + kWobbleDepth * sampleFbm(p, kStrataWobble);
    const Colour c = sampleRamp(kStrataRamp, takeFraction(layer));
    const double grit = sampleGradientNoise(vertexScale(p, kGritFrequency), kGritSeed);
    const double weathering = rampUp(kWeatheringEdge, sampleFbm(p, kWeathering));
    return scaleColour(c, (1.0 + kGritContrast * grit) * (1.0 - kWeatheringDarkening * weathering));
}

// --- rock4: serpentine marble ---
constexpr int kMarbleWidth = 128;
constexpr int kMarbleHeight = 128;
constexpr double kMarbleFrequency = 1.8;
constexpr Warp kMarbleSwirl{0.8, 0.6, 404, {4}};
constexpr NoiseLayer kMarbleCloud{1.0, 405, {5}};
constexpr double kMarbleContrast = 1.6;
constexpr RampStop kMarbleRamp[] = {{0.0, decodeHexColour(0x0C2E22)},
                                    {0.4, decodeHexColour(0x1D6146)},
                                    {0.7, decodeHexColour(0x3C9469)},
                                    {1.0, decodeHexColour(0x86C9A0)}};

struct VeinLayer {
    double frequency;
    uint32_t seed;
    double sharpness; // higher: thinner veins
    Colour colour;
    double opacity;
};
constexpr Warp kVeinWander{0.7, 0.9, 0, {4}}; // seed taken from the vein layer
constexpr FbmShape kVeinShape{3, 2.0, 0.45};
constexpr int kVeinFalloff = 4;
constexpr VeinLayer kDarkVeins{1.9, 406, 12.0, decodeHexColour(0x08140F), 0.6};
constexpr VeinLayer kPaleVeins{1.5, 408, 7.0, decodeHexColour(0xE8F6EC), 1.0};

// 1 on the zero line of a warped noise, falling to 0 a short way off: a thin winding vein.
double traceVein(Vertex p, const VeinLayer& vein) {
    Warp wander = kVeinWander;
    wander.seed = vein.seed;
    const Vertex q = warpPoint(vertexScale(p, vein.frequency), wander);
    const double n = sumFbm(q, vein.seed + 1, kVeinShape);
    return raisePower(clampUnit(1.0 - std::fabs(n) * vein.sharpness), kVeinFalloff);
}

Colour shadeMarble(const SphereTexel& texel) {
    const Vertex p = texel.point;
    const Vertex swirled = warpPoint(vertexScale(p, kMarbleFrequency), kMarbleSwirl);
    Colour c = sampleRamp(kMarbleRamp, 0.5 + kMarbleContrast * sampleFbm(swirled, kMarbleCloud));
    for (const VeinLayer& vein : {kDarkVeins, kPaleVeins}) {
        c = mixColours(c, vein.colour, vein.opacity * traceVein(p, vein));
    }
    return c;
}

// --- rock5: lava ---
constexpr int kLavaWidth = 256;
constexpr int kLavaHeight = 256;
constexpr double kPlateFrequency = 3.0;
constexpr Warp kPlateWarp{0.6, 0.35, 505, {4}};
constexpr uint32_t kPlateSeed = 506;
constexpr NoiseLayer kCrustTexture{9.0, 507, {4}};
constexpr double kCrustContrast = 1.2;
constexpr double kPlateToneSpread = 0.25;
constexpr NoiseLayer kCrackWidthField{1.0, 508, {3}};
constexpr Ramp01 kCrackWidening{-0.2, 0.3};
constexpr double kHairlineWidth = 0.06; // in cells, measured as second - nearest
constexpr double kCrackWidthSpread = 0.1;
constexpr double kHaloReach = 3.5; // in crack widths
constexpr double kGlowShare = 0.5; // heat at which the crack is all glow and no crust
constexpr Colour kHaloColour = decodeHexColour(0x6A1406);
constexpr RampStop kCrustRamp[] = {{0.0, decodeHexColour(0x141216)},
                                   {0.6, decodeHexColour(0x2E2A2E)},
                                   {1.0, decodeHexColour(0x4A4142)}};
constexpr RampStop kGlowRamp[] = {{0.0, decodeHexColour(0x3A0A04)},
                                  {0.35, decodeHexColour(0xA8200A)},
                                  {0.7, decodeHexColour(0xF26A12)},
                                  {1.0, decodeHexColour(0xFFE27A)}};

Colour shadeLava(const SphereTexel& texel) {
    const Vertex p = texel.point;
    const Vertex q = warpPoint(vertexScale(p, kPlateFrequency), kPlateWarp);
    const CellSample cell = sampleCells(q, kPlateSeed, 1.0);
    const double border = cell.second - cell.nearest;
    const double plateTone = kPlateToneSpread * (hashToUnit(cell.cellId) - 0.5);
    Colour c =
        sampleRamp(kCrustRamp, 0.5 + kCrustContrast * sampleFbm(p, kCrustTexture) + plateTone);
    // Wide cracks in some places, hairlines in others, so the glow does not look stamped out.
    const double width =
        kHairlineWidth + kCrackWidthSpread * rampUp(kCrackWidening, sampleFbm(p, kCrackWidthField));
    const double heat = 1.0 - smoothStep(0.0, width, border);
    const double halo = 1.0 - smoothStep(0.0, width * kHaloReach, border);
    c = addColours(c, scaleColour(kHaloColour, halo * halo));
    return mixColours(c, sampleRamp(kGlowRamp, heat), smoothStep(0.0, kGlowShare, heat));
}

// --- rock6: pebbles ---
constexpr int kPebbleWidth = 202;
constexpr int kPebbleHeight = 101;
constexpr double kPebbleFrequency = 4.2;
constexpr Warp kPebbleWarp{0.5, 0.25, 606, {3}};
constexpr uint32_t kPebbleSeed = 607;
constexpr double kPebbleJitter = 0.9;
constexpr double kDomeRim = 0.72;   // brightness at the pebble's edge
constexpr double kDomeLift = 0.45;  // added towards its middle
constexpr double kDomeReach = 0.45; // in cells from the edge to full brightness
constexpr double kPebbleShadeLow = 0.85;
constexpr double kPebbleShadeSpread = 0.3;
constexpr double kSpeckleFrequency = 60.0;
constexpr uint32_t kSpeckleSeed = 608;
constexpr double kSpeckleOnStone = 0.08;
constexpr double kSpeckleOnSand = 0.5;
constexpr Ramp01 kSandGap{0.03, 0.1}; // in cells: where the stone ends and sand shows
constexpr Colour kPebbleColours[] = {decodeHexColour(0xB9AA94), decodeHexColour(0x8C8F93),
                                     decodeHexColour(0xC58E6E), decodeHexColour(0x6F7A86),
                                     decodeHexColour(0xD8CDB8), decodeHexColour(0x9A6A55)};
constexpr Colour kSandColour = decodeHexColour(0x2F271F);

Colour shadePebbles(const SphereTexel& texel) {
    const Vertex p = texel.point;
    const Vertex q = warpPoint(vertexScale(p, kPebbleFrequency), kPebbleWarp);
    const CellSample cell = sampleCells(q, kPebbleSeed, kPebbleJitter);
    const uint32_t pick = hashNext(cell.cellId);
    const double border = cell.second - cell.nearest;
    // Domed: brightest in the middle of the pebble, darker towards its rim.
    const double dome = kDomeRim + kDomeLift * smoothStep(0.0, kDomeReach, border);
    const double speckle = sampleValueNoise(vertexScale(p, kSpeckleFrequency), kSpeckleSeed);
    const double shade = kPebbleShadeLow + kPebbleShadeSpread * hashToUnit(hashNext(pick));
    const Colour stone = scaleColour(kPebbleColours[pick % std::size(kPebbleColours)],
                                     dome * (1.0 + kSpeckleOnStone * speckle) * shade);
    const Colour sand = scaleColour(kSandColour, 1.0 + kSpeckleOnSand * speckle);
    return mixColours(sand, stone, rampUp(kSandGap, border));
}

} // namespace

Image paintRock1() {
    return paintSphere(kMoonWidth, kMoonHeight, shadeMoon);
}
Image paintRock3() {
    return paintSphere(kStrataWidth, kStrataHeight, shadeStrata);
}
Image paintRock4() {
    return paintSphere(kMarbleWidth, kMarbleHeight, shadeMarble);
}
Image paintRock5() {
    return paintSphere(kLavaWidth, kLavaHeight, shadeLava);
}
Image paintRock6() {
    return paintSphere(kPebbleWidth, kPebbleHeight, shadePebbles);
}
