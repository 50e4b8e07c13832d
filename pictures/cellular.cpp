// Cellular noise over the 27 cells around the sample point.
#include "pictures/cellular.h"

#include <cmath>
#include <limits>

#include "pictures/noise.h"

namespace {

constexpr double kCellCentre = 0.5;

double placeInCell(uint32_t h, double jitter) {
    return kCellCentre + jitter * (hashToUnit(h) - kCellCentre);
}

} // namespace

CellSample sampleCells(Vertex p, uint32_t seed, double jitter) {
    const int ix = static_cast<int>(std::floor(p.x));
    const int iy = static_cast<int>(std::floor(p.y));
    const int iz = static_cast<int>(std::floor(p.z));
    CellSample best;
    best.nearest = std::numeric_limits<double>::max();
    best.second = std::numeric_limits<double>::max();
    for (int dz = -1; dz <= 1; ++dz) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int cx = ix + dx;
                const int cy = iy + dy;
                const int cz = iz + dz;
                const uint32_t id = hashLattice(cx, cy, cz, seed);
                const uint32_t hy = hashNext(id);
                const uint32_t hz = hashNext(hy);
                const Vertex feature{cx + placeInCell(id, jitter), cy + placeInCell(hy, jitter),
                                     cz + placeInCell(hz, jitter)};
                const double distance = vertexLength(vertexSub(p, feature));
                if (distance < best.nearest) {
                    best.second = best.nearest;
                    best.nearest = distance;
                    best.cellId = id;
                    best.feature = feature;
                } else if (distance < best.second) {
                    best.second = distance;
                }
            }
        }
    }
    return best;
}
