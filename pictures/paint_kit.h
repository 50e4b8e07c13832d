// Small helpers shared by the picture families: noise layers and moving sample points around.
#pragma once

#include <cstdint>

#include "math/vertex.h"
#include "pictures/noise.h"

// One fBm layer of a picture: how fine it is, which random numbers, how many octaves.
struct NoiseLayer {
    double frequency = 1.0; // lattice cells per unit of sample space (the sphere's radius is 1)
    uint32_t seed = 0;
    FbmShape shape;
};

// A smooth push of the sample point by an fBm vector field: swirls and folds plain noise lacks.
struct Warp {
    double frequency = 1.0; // of the pushing field
    double strength = 0.0;  // largest push, in sample-space units
    uint32_t seed = 0;
    FbmShape shape;
};

// A soft threshold: 0 at or below `from`, 1 at or above `to`.
struct Ramp01 {
    double from = 0.0;
    double to = 1.0;
};

inline Vertex addPoints(Vertex a, Vertex b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

// Scales each axis on its own: squashing one axis stretches the pattern along the other two.
inline Vertex stretchPoint(Vertex p, double sx, double sy, double sz) {
    return {p.x * sx, p.y * sy, p.z * sz};
}

double sampleFbm(Vertex p, const NoiseLayer& layer);
double sampleRidged(Vertex p, const NoiseLayer& layer);
Vertex warpPoint(Vertex p, const Warp& warp);
// smoothStep between the ramp's ends.
double rampUp(const Ramp01& ramp, double x);

// x^n for a small whole n, by repeated multiplication (sharpens a 0..1 mask towards 0).
double raisePower(double x, int n);
