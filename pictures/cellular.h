// Cellular noise: one random feature point per unit lattice cell, and the distances to the nearest.
// Distances use sqrt, which IEEE rounds exactly, so they too are the same on every machine.
#pragma once

#include <cstdint>

#include "math/vertex.h"

struct CellSample {
    double nearest = 0.0; // distance to the closest feature point
    double second = 0.0;  // distance to the next closest; second - nearest is 0 on cell borders
    uint32_t cellId = 0;  // hashLattice of the closest point's cell: a stable random per cell
    Vertex feature;       // the closest feature point itself
};

// jitter 0 puts every feature at its cell centre; 1 lets it roam the whole cell.
CellSample sampleCells(Vertex p, uint32_t seed, double jitter);
