// Cloud pictures: a cumulus cover and sunset bands.
// Frequencies are in lattice cells per sphere radius; tones are positions on a colour ramp.
#include "pictures/cloud.h"

#include "pictures/paint_kit.h"
#include "pictures/sphere_map.h"

namespace {

// --- cloud1: cumulus ---
constexpr int kCumulusWidth = 256;
constexpr int kCumulusHeight = 256;
constexpr double kCloudFrequency = 1.9;
constexpr Warp kCloudBillow{0.7, 0.45, 3101, {3}};
constexpr NoiseLayer kCloudDensity{1.0, 3102, {7}};
constexpr NoiseLayer kSkyHaze{1.0, 3103, {3}};
constexpr double kSkyContrast = 2.0;
constexpr Ramp01 kCloudCover{-0.04, 0.16}; // density from clear sky to full cloud
// Where the sunlight comes from, in sphere space: cloud is lit where it thins towards it.
constexpr Vertex kSunShift{0.05, 0.04, 0.06};
constexpr Ramp01 kSunlit{-0.06, 0.06}; // density drop towards the sun: shaded to lit
constexpr double kShadeFloor = 0.25;   // even the shaded side catches some light
constexpr RampStop kSkyRamp[] = {{0.0, decodeHexColour(0x2A66C2)},
                                 {1.0, decodeHexColour(0x6AAEF0)}};
constexpr Colour kCloudLit = decodeHexColour(0xFFFFFF);
constexpr Colour kCloudShade = decodeHexColour(0x8E9CB8);

double measureCloudDensity(Vertex p) {
    return sampleFbm(warpPoint(vertexScale(p, kCloudFrequency), kCloudBillow), kCloudDensity);
}

Colour shadeCumulus(const SphereTexel& texel) {
    const Vertex p = texel.point;
    const double density = measureCloudDensity(p);
    const Colour sky = sampleRamp(kSkyRamp, 0.5 + kSkyContrast * sampleFbm(p, kSkyHaze));
    const double lit = rampUp(kSunlit, density - measureCloudDensity(addPoints(p, kSunShift)));
    const Colour cloud =
        mixColours(kCloudShade, kCloudLit, kShadeFloor + (1.0 - kShadeFloor) * lit);
    return mixColours(sky, cloud, rampUp(kCloudCover, density));
}

// --- cloud2: sunset bands ---
constexpr int kBandWidth = 95;
constexpr int kBandHeight = 77;
constexpr double kBandsPerRadius = 2.8; // from the equator to a pole
constexpr Warp kBandFlow{1.2, 0.3, 3202, {3}};
constexpr double kEddyAcross = 3.0;
constexpr double kEddyAlong = 8.0; // squashed along the axis: eddies stretched east to west
constexpr NoiseLayer kEddies{1.0, 3203, {3}};
constexpr double kEddyDepth = 0.12;             // in bands
constexpr Vertex kEyeCentre{0.72, 0.45, -0.52}; // near the unit sphere, south of the equator
constexpr double kEyeRadius = 0.5;              // chord length on the unit sphere
constexpr double kEyeSquash = 1.6;              // wider east-west than north-south
constexpr double kSwirlTurns = 0.6;             // how far the wind winds the bands at the eye
constexpr double kSwirlReach = 2.2;             // in eye radii
constexpr Ramp01 kEyeCore{0.15, 0.5};           // in eye radii: core to band colour
constexpr double kEyeCoreOpacity = 0.85;
constexpr Ramp01 kRimInner{0.35, 0.6};
constexpr Ramp01 kRimOuter{0.65, 0.95};
constexpr double kRimOpacity = 0.55;
// Wraps around: first and last stops match.
constexpr RampStop kBandRamp[] = {
    {0.0, decodeHexColour(0xFCE6C4)},  {0.18, decodeHexColour(0xF6AE78)},
    {0.34, decodeHexColour(0xE07A86)}, {0.5, decodeHexColour(0x9A6CB4)},
    {0.64, decodeHexColour(0xE58E8A)}, {0.8, decodeHexColour(0xF8C66E)},
    {1.0, decodeHexColour(0xFCE6C4)}};
constexpr Colour kEyeColour = decodeHexColour(0xB03C58);
constexpr Colour kEyeRimColour = decodeHexColour(0xFFF1D8);

// p turned about the unit axis by the given turns (Rodrigues' rotation formula).
Vertex rotateAbout(Vertex p, Vertex axis, double turns) {
    const double c = cosTurns(turns);
    const double s = sinTurns(turns);
    const Vertex cross{axis.y * p.z - axis.z * p.y, axis.z * p.x - axis.x * p.z,
                       axis.x * p.y - axis.y * p.x};
    const Vertex along = vertexScale(axis, vertexDot(axis, p) * (1.0 - c));
    return addPoints(addPoints(vertexScale(p, c), vertexScale(cross, s)), along);
}

Colour shadeBands(const SphereTexel& texel) {
    const Vertex p = texel.point;
    const Vertex offset = vertexSub(p, kEyeCentre);
    const double eye = vertexLength(stretchPoint(offset, 1.0, 1.0, kEyeSquash)) / kEyeRadius;
    // The wind winds the bands into a spiral: turned most at the eye, not at all far away.
    const double wind = 1.0 - smoothStep(0.0, kSwirlReach, eye);
    const Vertex wound = rotateAbout(p, kEyeCentre, kSwirlTurns * wind * wind);
    const double eddy =
        sampleFbm(stretchPoint(wound, kEddyAcross, kEddyAcross, kEddyAlong), kEddies);
    const double band = warpPoint(wound, kBandFlow).z * kBandsPerRadius + kEddyDepth * eddy;
    Colour c = sampleRamp(kBandRamp, takeFraction(band));
    const double rim = rampUp(kRimInner, eye) * (1.0 - rampUp(kRimOuter, eye));
    c = mixColours(c, kEyeRimColour, kRimOpacity * rim);
    return mixColours(c, kEyeColour, kEyeCoreOpacity * (1.0 - rampUp(kEyeCore, eye)));
}

} // namespace

Image paintCloud1() {
    return paintSphere(kCumulusWidth, kCumulusHeight, shadeCumulus);
}
Image paintCloud2() {
    return paintSphere(kBandWidth, kBandHeight, shadeBands);
}
