// Body construction and release: the four draws, the plane z = -3, mass and inertia.
#include <gtest/gtest.h>

#include "sim/random.h"
#include "sim_test_helpers.h"

namespace {

TEST(Body, ConstructionTakesFourDrawsInOrder) {
    GravityObject body;
    EXPECT_EQ(countDrawsTaken(42, [&] { gravityObjectInit(&body); }), 4);

    // Seed 42 gives 24056, 29925, 21512 (ignored) and 18870 as its first four outputs.
    const double u1 = referenceOutput(42, 0) / 32767.0;
    const double u2 = referenceOutput(42, 1) / 32767.0;
    const double u4 = referenceOutput(42, 3) / 32767.0;
    EXPECT_EQ(body.position.x, 10 * u1 - 5);
    EXPECT_EQ(body.position.y, 10 * u2 - 5);
    EXPECT_EQ(body.position.z, -3.0);
    EXPECT_EQ(body.radius, 0.4 * u4 + 0.1);
}

TEST(Body, StartsAtRestInThePlaneOfTheScene) {
    randomSeed(2024);
    for (int i = 0; i < 200; i++) {
        GravityObject body;
        body.velocity = Vector{{1, 0, 0}, 3};
        body.particleCount = 7;
        gravityObjectInit(&body);
        EXPECT_EQ(body.position.z, -3.0);
        EXPECT_GE(body.position.x, -5.0);
        EXPECT_LE(body.position.x, 5.0);
        EXPECT_GE(body.position.y, -5.0);
        EXPECT_LE(body.position.y, 5.0);
        EXPECT_GE(body.radius, 0.1);
        EXPECT_LE(body.radius, 0.5);
        EXPECT_EQ(body.velocity.mag, 0.0);
        EXPECT_EQ(body.pull.mag, 0.0);
        EXPECT_EQ(body.particleCount, 0u);
    }
}

TEST(Body, LargestSphereHasWorkedMassAndInertia) {
    // A last draw of 32767 gives radius 0.5: mass 83.7758040957278 / 8, inertia 0.1 * mass.
    // Find a seed whose fourth output is 32767 so the construction itself produces it.
    uint32_t seed = 0;
    while (referenceOutput(seed, 3) != 32767) {
        seed++;
    }
    GravityObject body;
    randomSeed(seed);
    gravityObjectInit(&body);
    EXPECT_EQ(body.radius, 0.5);
    EXPECT_EQ(body.mass, 10.471975511965976);
    EXPECT_EQ(body.inertia, 0.4 * 10.471975511965976 * 0.25);
}

} // namespace
