// Lattice noise and fractal sums.
#include "pictures/noise.h"

#include <cmath>

namespace {

// Constants of a well-tested 32-bit integer finaliser (xor-shift, multiply, twice).
constexpr uint32_t kMixFirst = 0x7FEB352Du;
constexpr uint32_t kMixSecond = 0x846CA68Bu;
// Golden-ratio increment: keeps seed 0 from mixing to 0.
constexpr uint32_t kGoldenStep = 0x9E3779B9u;
// Large odd multipliers, one per axis, so lattice coordinates spread over all 32 bits before
// they are combined; the final mix then scrambles the combination.
constexpr uint32_t kAxisX = 0x8DA6B343u;
constexpr uint32_t kAxisY = 0xD8163841u;
constexpr uint32_t kAxisZ = 0xCB1AB31Fu;
constexpr uint32_t kOctaveSeedStep = 0x632BE5ABu;
constexpr int kUnitBits = 24;
constexpr double kUnitScale = 1.0 / 16777216.0; // 2^-24
// Each octave is shifted so the lattices of different octaves never line up at the origin.
constexpr double kOctaveShift = 19.19;

uint32_t mixBits(uint32_t h) {
    h ^= h >> 16;
    h *= kMixFirst;
    h ^= h >> 15;
    h *= kMixSecond;
    h ^= h >> 16;
    return h;
}

// floor for the lattice coordinates, which stay far inside the int range: truncation, then one
// step down for negative fractions. It gives floor's exact result without a library call.
int floorToInt(double x) {
    const int truncated = static_cast<int>(x);
    return x < truncated ? truncated - 1 : truncated;
}

double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

// The 12 directions to the edge midpoints of a cube, four repeated to make 16 so the low four
// bits of a hash pick one evenly enough.
constexpr double kGradients[16][3] = {
    {1, 1, 0}, {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0}, {1, 0, 1}, {-1, 0, 1}, {1, 0, -1}, {-1, 0, -1},
    {0, 1, 1}, {0, -1, 1}, {0, 1, -1}, {0, -1, -1}, {1, 1, 0}, {-1, 1, 0}, {0, -1, 1}, {0, -1, -1}};

double dotGradient(uint32_t h, double x, double y, double z) {
    const double(&g)[3] = kGradients[h & 15u];
    return g[0] * x + g[1] * y + g[2] * z;
}

uint32_t mixSeed(uint32_t seed) {
    return mixBits(seed + kGoldenStep);
}

double toSignedUnit(uint32_t h) {
    return hashToUnit(h) * 2.0 - 1.0;
}

// Blends eight corner values of the lattice cube with weights fx, fy, fz.
double blendCorners(const double (&corner)[8], double fx, double fy, double fz) {
    const double x00 = lerp(corner[0], corner[1], fx);
    const double x10 = lerp(corner[2], corner[3], fx);
    const double x01 = lerp(corner[4], corner[5], fx);
    const double x11 = lerp(corner[6], corner[7], fx);
    return lerp(lerp(x00, x10, fy), lerp(x01, x11, fy), fz);
}

// hashLattice of the eight corners of the cube at (ix, iy, iz), corner c at offset
// (c & 1, c >> 1 & 1, c >> 2 & 1), sharing the seed and axis products between corners.
void hashCorners(int ix, int iy, int iz, uint32_t seed, uint32_t (&corner)[8]) {
    const uint32_t hs = mixSeed(seed);
    const uint32_t x0 = hs ^ static_cast<uint32_t>(ix) * kAxisX;
    const uint32_t x1 = hs ^ static_cast<uint32_t>(ix + 1) * kAxisX;
    const uint32_t y0 = static_cast<uint32_t>(iy) * kAxisY;
    const uint32_t y1 = static_cast<uint32_t>(iy + 1) * kAxisY;
    const uint32_t z0 = static_cast<uint32_t>(iz) * kAxisZ;
    const uint32_t z1 = static_cast<uint32_t>(iz + 1) * kAxisZ;
    corner[0] = mixBits(x0 ^ y0 ^ z0);
    corner[1] = mixBits(x1 ^ y0 ^ z0);
    corner[2] = mixBits(x0 ^ y1 ^ z0);
    corner[3] = mixBits(x1 ^ y1 ^ z0);
    corner[4] = mixBits(x0 ^ y0 ^ z1);
    corner[5] = mixBits(x1 ^ y0 ^ z1);
    corner[6] = mixBits(x0 ^ y1 ^ z1);
    corner[7] = mixBits(x1 ^ y1 ^ z1);
}

Vertex advanceOctave(Vertex p, double lacunarity) {
    return {p.x * lacunarity + kOctaveShift, p.y * lacunarity + kOctaveShift,
            p.z * lacunarity + kOctaveShift};
}

} // namespace

uint32_t hashLattice(int x, int y, int z, uint32_t seed) {
    return mixBits(mixSeed(seed) ^ static_cast<uint32_t>(x) * kAxisX ^
                   static_cast<uint32_t>(y) * kAxisY ^ static_cast<uint32_t>(z) * kAxisZ);
}

uint32_t hashNext(uint32_t h) {
    return mixBits(h + kGoldenStep);
}

double hashToUnit(uint32_t h) {
    return static_cast<double>(h >> (32 - kUnitBits)) * kUnitScale;
}

double fadeQuintic(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

double sampleValueNoise(Vertex p, uint32_t seed) {
    const int ix = floorToInt(p.x);
    const int iy = floorToInt(p.y);
    const int iz = floorToInt(p.z);
    uint32_t hash[8];
    hashCorners(ix, iy, iz, seed, hash);
    double corner[8];
    for (int c = 0; c < 8; ++c) {
        corner[c] = toSignedUnit(hash[c]);
    }
    return blendCorners(corner, fadeQuintic(p.x - ix), fadeQuintic(p.y - iy),
                        fadeQuintic(p.z - iz));
}

double sampleGradientNoise(Vertex p, uint32_t seed) {
    const int ix = floorToInt(p.x);
    const int iy = floorToInt(p.y);
    const int iz = floorToInt(p.z);
    const double fx = p.x - ix;
    const double fy = p.y - iy;
    const double fz = p.z - iz;
    uint32_t hash[8];
    hashCorners(ix, iy, iz, seed, hash);
    // Offsets from each corner, written out: the hottest loop of the painter.
    const double gx = fx - 1.0;
    const double gy = fy - 1.0;
    const double gz = fz - 1.0;
    const double corner[8] = {dotGradient(hash[0], fx, fy, fz), dotGradient(hash[1], gx, fy, fz),
                              dotGradient(hash[2], fx, gy, fz), dotGradient(hash[3], gx, gy, fz),
                              dotGradient(hash[4], fx, fy, gz), dotGradient(hash[5], gx, fy, gz),
                              dotGradient(hash[6], fx, gy, gz), dotGradient(hash[7], gx, gy, gz)};
    return blendCorners(corner, fadeQuintic(fx), fadeQuintic(fy), fadeQuintic(fz));
}

double sumFbm(Vertex p, uint32_t seed, FbmShape shape) {
    double sum = 0.0;
    double amplitudeSum = 0.0;
    double amplitude = 1.0;
    for (int octave = 0; octave < shape.octaves; ++octave) {
        sum = sum + amplitude * sampleGradientNoise(p, seed + static_cast<uint32_t>(octave) *
                                                                  kOctaveSeedStep);
        amplitudeSum = amplitudeSum + amplitude;
        amplitude = amplitude * shape.gain;
        p = advanceOctave(p, shape.lacunarity);
    }
    return amplitudeSum > 0.0 ? sum / amplitudeSum : 0.0;
}

double sumRidgedFbm(Vertex p, uint32_t seed, FbmShape shape) {
    double sum = 0.0;
    double amplitudeSum = 0.0;
    double amplitude = 1.0;
    for (int octave = 0; octave < shape.octaves; ++octave) {
        const double n =
            sampleGradientNoise(p, seed + static_cast<uint32_t>(octave) * kOctaveSeedStep);
        const double crease = 1.0 - std::fabs(n);
        sum = sum + amplitude * crease * crease;
        amplitudeSum = amplitudeSum + amplitude;
        amplitude = amplitude * shape.gain;
        p = advanceOctave(p, shape.lacunarity);
    }
    return amplitudeSum > 0.0 ? sum / amplitudeSum : 0.0;
}
