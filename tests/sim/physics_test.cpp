// The physics step: constant-strength pull, dt entering twice, semi-implicit integration.
#include <cmath>

#include <gtest/gtest.h>

#include "sim/physics.h"
#include "sim_test_helpers.h"

namespace {

// Masses of spheres of radius 0.3 and 0.2 (83.7758040957278 * r^3).
constexpr double kMassA = 2.2619467105846502;
constexpr double kMassB = 0.6702064327658226;

class PhysicsStep : public FreshWorld {};

TEST_F(PhysicsStep, TwoBodiesAtRestPullEachOtherByMassTimesDtSquared) {
    GravityObject* a = addBody({0, 0, -3}, 0.3, kMassA);
    GravityObject* b = addBody({2, 0, -3}, 0.2, kMassB);
    physicsStep(0.1);

    // a: kGravity * m_b * dt^2 towards b, stored as the scaled pull itself: dir from b to a,
    // negative mag (the short path of vectorAdd on a velocity at rest).
    EXPECT_EQ(a->velocity.dir.x, -1.0);
    EXPECT_EQ(a->velocity.mag, -0.004472019443273229);
    EXPECT_EQ(a->pull.mag, -0.044720194432732285);
    // ... and it moves kGravity * m_b * dt^3 towards b.
    EXPECT_EQ(a->position.x, 0.00044720194432732287);
    EXPECT_EQ(b->velocity.dir.x, 1.0);
    EXPECT_EQ(b->velocity.mag, -0.015093065621047137);
    EXPECT_EQ(b->position.x, 1.9984906934378952);
    EXPECT_EQ(a->position.y, 0.0);
    EXPECT_EQ(a->position.z, -3.0);
}

TEST_F(PhysicsStep, DistanceDoesNotWeakenThePull) {
    GravityObject* a = addBody({0, 0, -3}, 0.3, kMassA);
    addBody({4, 0, -3}, 0.2, kMassB);
    physicsStep(0.1);
    EXPECT_EQ(a->velocity.mag, -0.004472019443273229);
    EXPECT_EQ(a->position.x, 0.00044720194432732287);
}

TEST_F(PhysicsStep, ZeroDtMovesNothing) {
    GravityObject* a = addBody({-1, 2, -3}, 0.3, kMassA, Vector{{0, 1, 0}, 5});
    GravityObject* b = addBody({3, 1, -3}, 0.2, kMassB);
    physicsStep(0.0);
    EXPECT_EQ(a->position.x, -1.0);
    EXPECT_EQ(a->position.y, 2.0);
    EXPECT_EQ(b->position.x, 3.0);
    EXPECT_EQ(a->velocity.mag, 5.0);
    const Vertex pull = vectorToVertex(b->pull);
    EXPECT_EQ(pull.x, 0.0);
    EXPECT_EQ(pull.y, 0.0);
}

TEST_F(PhysicsStep, CoincidentCentresExertNoPull) {
    GravityObject* a = addBody({1, 1, -3}, 0.3, kMassA);
    GravityObject* b = addBody({1, 1, -3}, 0.2, kMassB);
    physicsStep(0.5);
    const Vertex va = vectorToVertex(a->velocity);
    EXPECT_EQ(va.x, 0.0);
    EXPECT_EQ(va.y, 0.0);
    EXPECT_EQ(a->position.x, 1.0);
    EXPECT_EQ(b->position.y, 1.0);
}

TEST_F(PhysicsStep, PullsOfThreeBodiesAreRenormalisedSums) {
    // Body 0 at the origin, 1 unit-mass neighbours along +x and +y: pull = kGravity * dt * (1, 1).
    GravityObject* centre = addBody({0, 0, -3}, 0.1, 1.0);
    addBody({5, 0, -3}, 0.1, 1.0);
    addBody({0, 7, -3}, 0.1, 1.0);
    physicsStep(0.2);
    const double each = 0.66726 * 0.2;
    EXPECT_GT(centre->pull.mag, 0.0);
    expectVertexNear(vectorToVertex(centre->pull), {each, each, 0});
    EXPECT_NEAR(vertexLength(centre->pull.dir), 1.0, 1e-15);
}

TEST_F(PhysicsStep, AllPullsUseStartOfStepPositions) {
    // Body 2's pull must come from where 0 and 1 stood, although they move before it is applied.
    addBody({0, 0, -3}, 0.1, 2.0, Vector{{1, 0, 0}, 50});
    addBody({0, 4, -3}, 0.1, 3.0, Vector{{0, -1, 0}, 50});
    GravityObject* third = addBody({4, 0, -3}, 0.1, 1.0);
    physicsStep(0.1);
    const double k = 0.66726 * 0.1;
    const double d = 1.0 / std::sqrt(2.0);
    // 2 * unit(-1, 0) + 3 * unit(-1, 1)
    expectVertexNear(vectorToVertex(third->pull), {k * (-2.0 - 3.0 * d), k * 3.0 * d, 0});
}

TEST_F(PhysicsStep, BodiesInOnePlaneStayInIt) {
    addBody({-2, 1, -3}, 0.4, 5.0, Vector{{0.6, 0.8, 0}, 1});
    addBody({2, -1, -3}, 0.3, 2.0);
    addBody({0, 3, -3}, 0.2, 1.0, Vector{{-1, 0, 0}, 2});
    for (int frame = 0; frame < 500; frame++) {
        physicsStep(0.02);
    }
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        EXPECT_EQ(gravityListGet(&bodies, i)->position.z, -3.0);
    }
}

TEST(PhysicsPieces, ForceToVelocityChangeDividesThenMultiplies) {
    const Vector change = forceToVelocityChange(Vector{{0, 1, 0}, -6}, 4, 0.5);
    EXPECT_EQ(change.dir.y, 1.0);
    EXPECT_EQ(change.mag, -0.75);
}

TEST(PhysicsPieces, GravityForcePointsFromOtherAndIgnoresDistance) {
    GravityObject a;
    a.position = {0, 0, 10};
    a.mass = 2;
    GravityObject b;
    b.position = {0, 0, 1};
    b.mass = 3;
    const Vector force = gravityForce(&a, &b);
    EXPECT_EQ(force.dir.z, 1.0);
    EXPECT_EQ(force.mag, -(3 * (2 * 0.66726)));
}

TEST(PhysicsPieces, AdvancePositionIsNotFused) {
    // (2/3 * 0.3) + 0.3 rounds to 0.5 when multiplied and added separately, and to
    // 0.49999999999999994 when fused into one multiply-add.
    const Vertex p = advancePosition(Vector{{1, 0, 0}, 2.0 / 3.0}, {0.3, 0, 0}, 0.3);
    EXPECT_EQ(p.x, 0.5);
}

TEST(PhysicsPieces, AdvanceVelocityFromRestTakesScaledPullAsIs) {
    const Vector v = advanceVelocity(Vector{{0, -1, 0}, -2}, Vector{{1, 0, 0}, 0}, 0.5);
    EXPECT_EQ(v.dir.y, -1.0);
    EXPECT_EQ(v.mag, -1.0);
}

} // namespace
