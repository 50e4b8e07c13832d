// The hash, lattice noise, fBm and cellular noise the pictures are built from.
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "pictures/cellular.h"
#include "pictures/noise.h"

namespace {

constexpr uint32_t kSeed = 7;

double toSignedUnit(uint32_t h) {
    return hashToUnit(h) * 2.0 - 1.0;
}

TEST(PictureHash, DependsOnEveryCoordinateAndTheSeed) {
    const uint32_t base = hashLattice(3, -4, 5, kSeed);
    EXPECT_EQ(hashLattice(3, -4, 5, kSeed), base);
    EXPECT_NE(hashLattice(4, -4, 5, kSeed), base);
    EXPECT_NE(hashLattice(3, -3, 5, kSeed), base);
    EXPECT_NE(hashLattice(3, -4, 6, kSeed), base);
    EXPECT_NE(hashLattice(3, -4, 5, kSeed + 1), base);
    // Swapped coordinates are a different lattice point.
    EXPECT_NE(hashLattice(-4, 3, 5, kSeed), base);
    EXPECT_NE(hashLattice(0, 0, 0, 0), 0u);
}

TEST(PictureHash, UnitValueUsesTheTop24Bits) {
    EXPECT_EQ(hashToUnit(0u), 0.0);
    EXPECT_EQ(hashToUnit(0x000000FFu), 0.0); // low bits dropped
    EXPECT_EQ(hashToUnit(0x80000000u), 0.5);
    EXPECT_EQ(hashToUnit(0xFFFFFFFFu), 1.0 - 1.0 / 16777216.0);
}

TEST(PictureHash, UnitValuesSpreadEvenly) {
    // 4096 lattice points into 8 bins: each bin expects 512; a broken mix piles them up.
    int bins[8] = {};
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            ++bins[static_cast<int>(hashToUnit(hashLattice(x, y, 0, kSeed)) * 8.0)];
        }
    }
    for (int count : bins) {
        EXPECT_GT(count, 400);
        EXPECT_LT(count, 624);
    }
}

TEST(PictureFade, QuinticHitsItsEndsAndMiddle) {
    EXPECT_EQ(fadeQuintic(0.0), 0.0);
    EXPECT_EQ(fadeQuintic(1.0), 1.0);
    EXPECT_EQ(fadeQuintic(0.5), 0.5);
    EXPECT_DOUBLE_EQ(fadeQuintic(0.25), 0.103515625); // 10/64 - 15/256 + 6/1024
}

TEST(PictureValueNoise, EqualsTheHashedValueAtLatticePoints) {
    EXPECT_DOUBLE_EQ(sampleValueNoise({2.0, -1.0, 3.0}, kSeed),
                     toSignedUnit(hashLattice(2, -1, 3, kSeed)));
    EXPECT_DOUBLE_EQ(sampleValueNoise({0.0, 0.0, 0.0}, kSeed),
                     toSignedUnit(hashLattice(0, 0, 0, kSeed)));
}

TEST(PictureValueNoise, HalfwayAlongAnEdgeIsTheAverageOfItsEnds) {
    // The fade of 0.5 is 0.5, so the blend is the plain mean of the two corner values.
    const double left = toSignedUnit(hashLattice(1, 2, 3, kSeed));
    const double right = toSignedUnit(hashLattice(2, 2, 3, kSeed));
    EXPECT_NEAR(sampleValueNoise({1.5, 2.0, 3.0}, kSeed), 0.5 * (left + right), 1e-15);
}

TEST(PictureGradientNoise, IsZeroAtEveryLatticePoint) {
    for (int x = -2; x <= 2; ++x) {
        for (int z = -2; z <= 2; ++z) {
            const Vertex p{static_cast<double>(x), 5.0, static_cast<double>(z)};
            EXPECT_EQ(sampleGradientNoise(p, kSeed), 0.0) << x << "," << z;
        }
    }
}

TEST(PictureGradientNoise, StaysInRangeAndVaries) {
    double lowest = 0.0;
    double highest = 0.0;
    for (int i = 0; i < 4000; ++i) {
        const Vertex p{i * 0.137, i * 0.071 - 20.0, i * 0.029};
        const double n = sampleGradientNoise(p, kSeed);
        lowest = std::fmin(lowest, n);
        highest = std::fmax(highest, n);
    }
    EXPECT_GE(lowest, -1.1);
    EXPECT_LE(highest, 1.1);
    EXPECT_LT(lowest, -0.4);
    EXPECT_GT(highest, 0.4);
}

TEST(PictureGradientNoise, IsContinuous) {
    // Slopes are at most about 3 per unit, so a step of 1e-4 moves the value well under 1e-3.
    for (int i = 0; i < 200; ++i) {
        const Vertex p{i * 0.31, 1.7 - i * 0.13, i * 0.05};
        const Vertex q{p.x + 1e-4, p.y, p.z};
        EXPECT_NEAR(sampleGradientNoise(p, kSeed), sampleGradientNoise(q, kSeed), 1e-3);
    }
}

TEST(PictureFbm, OneOctaveIsPlainGradientNoise) {
    const Vertex p{0.3, 1.9, -2.2};
    EXPECT_EQ(sumFbm(p, kSeed, {1, 2.0, 0.5}), sampleGradientNoise(p, kSeed));
}

TEST(PictureFbm, ZeroGainLeavesOnlyTheFirstOctave) {
    // Amplitudes 1, 0, 0, 0: the sum is the first octave and the divisor is 1.
    const Vertex p{2.6, -0.4, 0.9};
    EXPECT_EQ(sumFbm(p, kSeed, {4, 2.0, 0.0}), sampleGradientNoise(p, kSeed));
}

TEST(PictureFbm, SumsStayInTheirRanges) {
    for (int i = 0; i < 2000; ++i) {
        const Vertex p{i * 0.21, i * 0.093, 3.0 - i * 0.017};
        const double value = sumFbm(p, kSeed, {6, 2.0, 0.5});
        EXPECT_GE(value, -1.0);
        EXPECT_LE(value, 1.0);
        const double ridged = sumRidgedFbm(p, kSeed, {4, 2.0, 0.5});
        EXPECT_GE(ridged, 0.0);
        EXPECT_LE(ridged, 1.0);
    }
}

TEST(PictureFbm, ZeroOctavesGiveZero) {
    EXPECT_EQ(sumFbm({0.5, 0.5, 0.5}, kSeed, {0, 2.0, 0.5}), 0.0);
}

TEST(PictureCells, WithoutJitterFeaturesSitAtCellCentres) {
    const CellSample centre = sampleCells({0.5, 0.5, 0.5}, kSeed, 0.0);
    EXPECT_EQ(centre.nearest, 0.0);
    EXPECT_EQ(centre.second, 1.0); // the six face neighbours' centres are one cell away
    EXPECT_EQ(centre.cellId, hashLattice(0, 0, 0, kSeed));
    EXPECT_EQ(centre.feature.x, 0.5);

    // On the face between cells 0 and 1: both centres half a cell away, so no border width.
    const CellSample face = sampleCells({1.0, 0.5, 0.5}, kSeed, 0.0);
    EXPECT_EQ(face.nearest, 0.5);
    EXPECT_EQ(face.second, 0.5);

    // At (0.8, 0.5, 0.5): cell 0's centre 0.3 away, cell 1's 0.7 away.
    const CellSample inside = sampleCells({0.8, 0.5, 0.5}, kSeed, 0.0);
    EXPECT_NEAR(inside.nearest, 0.3, 1e-15);
    EXPECT_NEAR(inside.second, 0.7, 1e-15);
}

TEST(PictureCells, JitteredFeaturesStayInTheirCell) {
    for (int i = 0; i < 300; ++i) {
        const Vertex p{i * 0.37 - 50.0, i * 0.11, -i * 0.23};
        const CellSample cell = sampleCells(p, kSeed, 1.0);
        EXPECT_LE(cell.nearest, cell.second);
        // The nearest feature is at most one cell diagonal away: sqrt(3).
        EXPECT_LE(cell.nearest, std::sqrt(3.0));
        EXPECT_NEAR(cell.nearest, vertexLength(vertexSub(p, cell.feature)), 1e-12);
        const Vertex corner{std::floor(cell.feature.x), std::floor(cell.feature.y),
                            std::floor(cell.feature.z)};
        EXPECT_EQ(cell.cellId, hashLattice(static_cast<int>(corner.x), static_cast<int>(corner.y),
                                           static_cast<int>(corner.z), kSeed));
    }
}

} // namespace
