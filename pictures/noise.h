// Deterministic lattice noise: an integer hash, value and gradient noise, and their fractal sums.
// Only exactly rounded operations (+, -, *, /, floor, fabs) are used, so every machine that
// rounds to IEEE doubles paints the same bytes.
#pragma once

#include <cstdint>

#include "math/vertex.h"

// A well-mixed 32 bits for an integer lattice point and a seed.
uint32_t hashLattice(int x, int y, int z, uint32_t seed);
// Another well-mixed 32 bits derived from h, for a second or third number at the same point.
uint32_t hashNext(uint32_t h);
// The top 24 bits of h as a double in [0, 1).
double hashToUnit(uint32_t h);

// Quintic 6t^5 - 15t^4 + 10t^3: flat first and second derivatives at 0 and 1.
double fadeQuintic(double t);

// Random values in [-1, 1) at lattice points, smoothly blended between them.
double sampleValueNoise(Vertex p, uint32_t seed);
// Random slopes at lattice points (zero value there); roughly in [-1, 1].
double sampleGradientNoise(Vertex p, uint32_t seed);

struct FbmShape {
    int octaves = 5;
    double lacunarity = 2.0; // frequency factor from one octave to the next
    double gain = 0.5;       // amplitude factor from one octave to the next
};

// Octaves of gradient noise, divided by the sum of amplitudes so it stays in about [-1, 1];
// typical values are much smaller, about +-0.3.
double sumFbm(Vertex p, uint32_t seed, FbmShape shape);
// Octaves of (1 - |noise|)^2, normalised to [0, 1]: sharp bright creases where noise is zero.
double sumRidgedFbm(Vertex p, uint32_t seed, FbmShape shape);
