// The fixed-polynomial sine and the texel-to-sphere mapping of the sphere pictures.
#include <cmath>

#include <gtest/gtest.h>

#include "pictures/sphere_map.h"

namespace {

constexpr double kTight = 1e-9;

double measureDistance(Vertex a, Vertex b) {
    return vertexLength(vertexSub(a, b));
}

TEST(PictureTrig, SineOfWholeTurnFractions) {
    EXPECT_EQ(sinTurns(0.0), 0.0);
    EXPECT_NEAR(sinTurns(1.0 / 12.0), 0.5, kTight); // 30 degrees
    EXPECT_NEAR(sinTurns(0.125), std::sqrt(0.5), kTight);
    EXPECT_NEAR(sinTurns(0.25), 1.0, kTight);
    EXPECT_NEAR(sinTurns(0.5), 0.0, kTight);
    EXPECT_NEAR(sinTurns(0.75), -1.0, kTight);
    EXPECT_NEAR(sinTurns(-0.25), -1.0, kTight);
    EXPECT_NEAR(sinTurns(3.25), 1.0, kTight); // whole turns drop out
}

TEST(PictureTrig, CosineIsSineAQuarterTurnOn) {
    EXPECT_NEAR(cosTurns(0.0), 1.0, kTight);
    EXPECT_NEAR(cosTurns(1.0 / 6.0), 0.5, kTight); // 60 degrees
    EXPECT_NEAR(cosTurns(0.5), -1.0, kTight);
}

TEST(PictureTrig, MatchesTheLibraryAcrossTwoTurns) {
    constexpr double kTwoPi = 6.283185307179586;
    for (int i = -500; i <= 500; ++i) {
        const double turns = i * 0.002;
        EXPECT_NEAR(sinTurns(turns), std::sin(turns * kTwoPi), kTight) << turns;
    }
}

TEST(PictureSphereMap, TexelCentresOfAFourByTwoPicture) {
    // Texel (0, 0): u = 0.125, v = 0.25, i.e. 45 degrees round and 45 degrees down from north.
    const SphereTexel first = locateSphereTexel(0, 0, 4, 2);
    EXPECT_DOUBLE_EQ(first.u, 0.125);
    EXPECT_DOUBLE_EQ(first.v, 0.25);
    EXPECT_NEAR(first.point.x, 0.5, kTight); // sin 45 * cos 45
    EXPECT_NEAR(first.point.y, 0.5, kTight);
    EXPECT_NEAR(first.point.z, std::sqrt(0.5), kTight);
    // Texel (2, 1): u = 0.625 (225 degrees), v = 0.75: the southern hemisphere.
    const SphereTexel last = locateSphereTexel(2, 1, 4, 2);
    EXPECT_NEAR(last.point.x, -0.5, kTight);
    EXPECT_NEAR(last.point.y, -0.5, kTight);
    EXPECT_NEAR(last.point.z, -std::sqrt(0.5), kTight);
}

TEST(PictureSphereMap, EveryTexelLiesOnTheUnitSphere) {
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            EXPECT_NEAR(vertexLength(locateSphereTexel(x, y, 12, 10).point), 1.0, kTight);
        }
    }
}

TEST(PictureSphereMap, TopRowCirclesTheNorthPoleAndBottomRowTheSouth) {
    EXPECT_GT(locateSphereTexel(5, 0, 64, 64).point.z, 0.99);
    EXPECT_LT(locateSphereTexel(5, 63, 64, 64).point.z, -0.99);
}

TEST(PictureSphereMap, HasNoSeamWhereTheLastColumnMeetsTheFirst) {
    // Across the wrap the points are as close as any two neighbouring columns.
    constexpr int kWidth = 96;
    constexpr int kHeight = 80;
    for (int y = 0; y < kHeight; y += 7) {
        const double across =
            measureDistance(locateSphereTexel(kWidth - 1, y, kWidth, kHeight).point,
                            locateSphereTexel(0, y, kWidth, kHeight).point);
        const double neighbours = measureDistance(locateSphereTexel(0, y, kWidth, kHeight).point,
                                                  locateSphereTexel(1, y, kWidth, kHeight).point);
        EXPECT_NEAR(across, neighbours, kTight) << "row " << y;
    }
}

} // namespace
