// Metal pictures: riveted steel plates and hammered copper.
// Frequencies are in lattice cells per sphere radius; tones are positions on a colour ramp.
#include "pictures/metal.h"

#include <cmath>

#include "pictures/cellular.h"
#include "pictures/paint_kit.h"
#include "pictures/sphere_map.h"

namespace {

// --- metal1: riveted steel plates, laid out in texels rather than on the sphere ---
constexpr int kPlateWidth = 256;
constexpr int kPlateHeight = 128;
constexpr uint32_t kPlateSeed = 2101;
constexpr int kPlateColumns = 8; // around the equator; divides the width so plates tile
constexpr int kPlateRows = 4;    // pole to pole
constexpr double kPlateTexelsX = static_cast<double>(kPlateWidth) / kPlateColumns;
constexpr double kPlateTexelsY = static_cast<double>(kPlateHeight) / kPlateRows;
constexpr double kSeamTexels = 1.5;
constexpr double kBevelTexels = 3.0;
constexpr double kBevelLight = 1.25;       // top and left edges catch the light
constexpr double kBevelShade = 0.7;        // bottom and right edges fall into shade
constexpr double kRivetInset = 5.0;        // texels from the plate corner to the rivet centre
constexpr double kRivetRadius = 2.6;       // texels
constexpr double kRivetShadowRadius = 1.3; // in rivet radii
constexpr double kRivetShadow = -0.35;
constexpr double kRivetLift = 0.25;
constexpr double kRivetSideLight = 0.175; // per rivet radius towards the upper left
constexpr double kRivetDome = 0.2;
constexpr double kGrainAcross = 1.7; // per texel: fine streaks
constexpr double kGrainAlong = 0.05; // per texel: long streaks
constexpr double kGrainContrast = 0.1;
constexpr double kPlateToneLow = 0.45;
constexpr double kPlateToneSpread = 0.3;
constexpr NoiseLayer kGrime{2.5, 2103, {4}};
constexpr double kGrimeDarkening = 0.5;
constexpr RampStop kSteelRamp[] = {{0.0, decodeHexColour(0x4C5866)},
                                   {0.5, decodeHexColour(0x8D9AA8)},
                                   {1.0, decodeHexColour(0xD3DCE6)}};
constexpr Colour kSeamColour = decodeHexColour(0x1A1F26);

// Brightness change from a rivet at offset (dx, dy) texels: a dome lit from the upper left,
// ringed by its shadow.
double shadeRivet(double dx, double dy) {
    const double r = std::sqrt(dx * dx + dy * dy) / kRivetRadius;
    if (r >= kRivetShadowRadius) {
        return 0.0;
    }
    if (r >= 1.0) {
        return kRivetShadow;
    }
    return kRivetLift - kRivetSideLight * (dx + dy) / kRivetRadius + kRivetDome * (1.0 - r * r);
}

Colour shadePlates(const SphereTexel& texel) {
    const double px = texel.u * kPlateColumns;
    const double py = texel.v * kPlateRows;
    const int column = static_cast<int>(px);
    const int row = static_cast<int>(py);
    const uint32_t plate = hashLattice(column, row, 0, kPlateSeed);
    const double x = takeFraction(px) * kPlateTexelsX; // texels inside the plate
    const double y = takeFraction(py) * kPlateTexelsY;
    if (x < kSeamTexels || y < kSeamTexels) {
        return kSeamColour;
    }

    // Brushed grain: fine streaks along one direction, which alternates like a chequerboard.
    const bool alongX = ((column + row) & 1) == 0;
    const double across = alongX ? y : x;
    const double along = alongX ? x : y;
    const Vertex grainPoint{across * kGrainAcross, along * kGrainAlong, static_cast<double>(row)};
    const double grain =
        sampleValueNoise(grainPoint, kPlateSeed + 1 + static_cast<uint32_t>(column));
    const double grime = std::fabs(sampleFbm(texel.point, kGrime));
    const double tone = kPlateToneLow + kPlateToneSpread * hashToUnit(plate) +
                        kGrainContrast * grain - kGrimeDarkening * grime;
    Colour c = sampleRamp(kSteelRamp, tone);

    if (std::fmin(x, y) < kBevelTexels) {
        c = scaleColour(c, kBevelLight);
    } else if (std::fmin(kPlateTexelsX - x, kPlateTexelsY - y) < kBevelTexels) {
        c = scaleColour(c, kBevelShade);
    }
    // Offset to the nearest of the four rivets, one inset from each plate corner.
    const double rivetX =
        x < kPlateTexelsX * 0.5 ? x - kRivetInset : x - (kPlateTexelsX - kRivetInset);
    const double rivetY =
        y < kPlateTexelsY * 0.5 ? y - kRivetInset : y - (kPlateTexelsY - kRivetInset);
    return scaleColour(c, 1.0 + shadeRivet(rivetX, rivetY));
}

// --- metal2: hammered copper ---
constexpr int kCopperWidth = 256;
constexpr int kCopperHeight = 128;
constexpr double kDentFrequency = 5.5;
constexpr uint32_t kDentSeed = 2202;
constexpr double kDentJitter = 0.9;
// Fixed unit direction the dents are shaded from, in the cells' space.
constexpr Vertex kDentLight{0.6, 0.48, 0.64};
constexpr double kDentFade = 0.25;     // in cells from the dent's edge to its full tilt
constexpr double kDentRimWidth = 0.05; // in cells: the dark line where two dents meet
constexpr double kCopperTone = 0.6;
constexpr double kDentContrast = 0.35;
constexpr double kRimDarkening = 0.12;
constexpr NoiseLayer kTarnish{1.5, 2203, {4}};
constexpr double kTarnishContrast = 0.35;
constexpr double kPatchFrequency = 1.6;
constexpr Warp kPatchWarp{0.8, 0.5, 2204, {3}};
constexpr NoiseLayer kPatches{1.0, 2205, {5}};
constexpr Ramp01 kPatinaEdge{0.0, 0.2};
constexpr double kPatinaInRims = 0.1; // verdigris settles first where dents meet
constexpr double kPatinaTone = 0.3;
constexpr double kPatinaContrast = 2.0;
constexpr double kPatinaDentShading = 0.4;
constexpr RampStop kCopperRamp[] = {{0.0, decodeHexColour(0x3E160A)},
                                    {0.35, decodeHexColour(0x9A4424)},
                                    {0.7, decodeHexColour(0xD9804A)},
                                    {1.0, decodeHexColour(0xFFD0A0)}};
constexpr RampStop kPatinaRamp[] = {{0.0, decodeHexColour(0x2A6658)},
                                    {0.6, decodeHexColour(0x55A88E)},
                                    {1.0, decodeHexColour(0xA2D8C2)}};

Colour shadeCopper(const SphereTexel& texel) {
    const Vertex p = texel.point;
    const Vertex q = vertexScale(p, kDentFrequency);
    const CellSample dent = sampleCells(q, kDentSeed, kDentJitter);
    const double border = dent.second - dent.nearest;
    // Each dent is a shallow bowl: its surface tilts towards the centre, the more the further
    // out, so every dent runs from bright on one side to dark on the other. The tilt fades out
    // at the edge, where the neighbouring dent tilts the other way.
    const Vertex tilt = vertexSub(dent.feature, q);
    const double facing = vertexDot(tilt, kDentLight) * smoothStep(0.0, kDentFade, border);
    const double rim = 1.0 - smoothStep(0.0, kDentRimWidth, border);
    const double tone = kCopperTone + kDentContrast * facing - kRimDarkening * rim +
                        kTarnishContrast * sampleFbm(p, kTarnish);
    const Colour copper = sampleRamp(kCopperRamp, tone);
    const double patches =
        sampleFbm(warpPoint(vertexScale(p, kPatchFrequency), kPatchWarp), kPatches);
    const double patina = rampUp(kPatinaEdge, patches + kPatinaInRims * rim);
    const Colour green = sampleRamp(kPatinaRamp, kPatinaTone + kPatinaContrast * patches +
                                                     kPatinaDentShading * facing);
    return mixColours(copper, green, patina);
}

} // namespace

Image paintMetal1() {
    return paintSphere(kPlateWidth, kPlateHeight, shadePlates);
}
Image paintMetal2() {
    return paintSphere(kCopperWidth, kCopperHeight, shadeCopper);
}
