// Star fields: which cells hold a star, and the light of those near a pixel.
#include "pictures/sky_stars.h"

#include <cmath>

#include "pictures/paint_kit.h"

namespace {

constexpr uint32_t kStarSeed = 4107;    // of the standard field; each finer field adds one
constexpr double kStarCell = 6.0;       // standard pixels, for the standard field
constexpr double kStarShare = 0.1;      // of cells that hold a star, away from the band
constexpr double kBandStarShare = 0.16; // extra share along the nebula band
constexpr int kMagnitudeSharpness = 7;  // higher: fewer bright stars
constexpr double kFinerDimming = 0.6;   // brightness of each finer field against the one before
constexpr double kFaintest = 0.2;
// Sizes are in output pixels whatever the scale, so stars stay sharp points on large screens.
constexpr double kCoreRadius = 0.75;      // for the faintest
constexpr double kGlowRadius = 2.4;       // added for the brightest
constexpr double kSpikeBrightness = 0.93; // stars brighter than this get a cross of rays
constexpr double kSpikeLength = 7.0;
constexpr double kSpikeHalfWidth = 0.5;
constexpr double kSpikeLight = 0.5;
constexpr RampStop kStarRamp[] = {{0.0, decodeHexColour(0xFFC890)},
                                  {0.45, decodeHexColour(0xFFF4E8)},
                                  {1.0, decodeHexColour(0xA8C4FF)}};

int floorToInt(double x) {
    return static_cast<int>(std::floor(x));
}

// Below the standard size the cells shrink under stars that do not: fewer cells hold one, so
// they crowd no more than at the standard size.
double thinStars(const SkyView& view) {
    return view.scale < 1.0 ? view.scale * view.scale : 1.0;
}

SkyStar makeStar(const SkyView& view, const StarField& field, int level, double dimming, int cx,
                 int cy) {
    SkyStar star;
    const uint32_t h = hashLattice(cx, cy, 0, kStarSeed + static_cast<uint32_t>(level));
    const double cellCentreX = (cx + 0.5) * field.cellSize;
    const double cellCentreY = (cy + 0.5) * field.cellSize;
    const double share =
        (kStarShare + kBandStarShare * weighBand(mapStandardToNoise(cellCentreX, cellCentreY))) *
        thinStars(view);
    if (hashToUnit(h) >= share) {
        return star;
    }
    const uint32_t hx = hashNext(h);
    const uint32_t hy = hashNext(hx);
    const uint32_t hm = hashNext(hy);
    const uint32_t ht = hashNext(hm);
    star.present = true;
    star.x = mapStandardToOutputX(view, (cx + hashToUnit(hx)) * field.cellSize);
    star.y = mapStandardToOutputY(view, (cy + hashToUnit(hy)) * field.cellSize);
    const double brightness = raisePower(hashToUnit(hm), kMagnitudeSharpness) * dimming;
    const double radius = kCoreRadius + kGlowRadius * brightness;
    star.radiusSquared = radius * radius;
    star.peak = kFaintest + (1.0 - kFaintest) * brightness;
    star.rays = brightness > kSpikeBrightness;
    star.colour = sampleRamp(kStarRamp, hashToUnit(ht));
    return star;
}

// The light of one star at pixel centre (px, py).
Colour measureStarLight(const SkyStar& star, double px, double py) {
    const double dx = px - star.x;
    const double dy = py - star.y;
    const double fall = clampUnit(1.0 - (dx * dx + dy * dy) / star.radiusSquared);
    double light = star.peak * fall * fall;
    if (star.rays) {
        const double nearAxis = std::fmin(std::fabs(dx), std::fabs(dy));
        const double alongAxis = std::fmax(std::fabs(dx), std::fabs(dy));
        if (nearAxis < kSpikeHalfWidth) {
            light = light + kSpikeLight * clampUnit(1.0 - alongAxis / kSpikeLength);
        }
    }
    return scaleColour(star.colour, light);
}

StarField makeStarField(const SkyView& view, int level, double dimming, int firstY, int endY) {
    StarField field;
    field.cellSize = kStarCell;
    for (int i = 0; i < level; ++i) {
        field.cellSize = field.cellSize * 0.5;
    }
    // Rays reach about one standard cell; smaller cells need more neighbours.
    const double cellPixels = field.cellSize * view.scale;
    while (field.reach * cellPixels < kStarCell) {
        ++field.reach;
    }
    const auto cellOf = [&](double standard) { return floorToInt(standard / field.cellSize); };
    field.firstColumn = cellOf(mapOutputToStandardX(view, 0.5)) - field.reach;
    const int lastColumn = cellOf(mapOutputToStandardX(view, view.width - 0.5)) + field.reach;
    field.firstRow = cellOf(mapOutputToStandardY(view, firstY + 0.5)) - field.reach;
    const int lastRow = cellOf(mapOutputToStandardY(view, endY - 0.5)) + field.reach;
    field.columns = lastColumn - field.firstColumn + 1;
    field.rows = lastRow - field.firstRow + 1;
    field.stars.reserve(static_cast<size_t>(field.columns) * static_cast<size_t>(field.rows));
    for (int row = 0; row < field.rows; ++row) {
        for (int column = 0; column < field.columns; ++column) {
            field.stars.push_back(makeStar(view, field, level, dimming, field.firstColumn + column,
                                           field.firstRow + row));
        }
    }
    return field;
}

} // namespace

std::vector<StarField> makeStarFields(const SkyView& view, int firstY, int endY) {
    std::vector<StarField> fields;
    double dimming = 1.0;
    for (int level = 0; level < view.starLevels; ++level) {
        fields.push_back(makeStarField(view, level, dimming, firstY, endY));
        dimming = dimming * kFinerDimming;
    }
    return fields;
}

Colour gatherStarLight(const SkyView& view, const std::vector<StarField>& fields, int x, int y) {
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double u = mapOutputToStandardX(view, px);
    const double v = mapOutputToStandardY(view, py);
    Colour light;
    for (const StarField& field : fields) {
        const int column = floorToInt(u / field.cellSize) - field.firstColumn;
        const int row = floorToInt(v / field.cellSize) - field.firstRow;
        for (int dy = -field.reach; dy <= field.reach; ++dy) {
            const size_t rowStart = static_cast<size_t>(row + dy) * field.columns;
            for (int dx = -field.reach; dx <= field.reach; ++dx) {
                const SkyStar& star = field.stars[rowStart + static_cast<size_t>(column + dx)];
                if (star.present) {
                    light = addColours(light, measureStarLight(star, px, py));
                }
            }
        }
    }
    return light;
}
