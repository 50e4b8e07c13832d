// Collisions: elastic exchange along the line of centres, the nudge, the approach test, flags.
#include <cstring>

#include <gtest/gtest.h>

#include "sim/collision.h"
#include "sim/physics.h"
#include "sim_test_helpers.h"

namespace {

constexpr double kNudge = 0.0037534;

class Collision : public FreshWorld {};

TEST_F(Collision, ExchangesSpeedsHeadOnWithEqualMasses) {
    GravityObject* a = addBody({0, 0, 0}, 0.3, 1.0, Vector{{1, 0, 0}, 1});
    GravityObject* b = addBody({0.5, 0, 0}, 0.3, 1.0);
    physicsStep(0.0); // no gravity, no motion: only the collision stage acts

    // a keeps only the nudge, pointing back; b takes a's speed plus the nudge.
    EXPECT_EQ(a->velocity.dir.x, -1.0);
    EXPECT_NEAR(a->velocity.mag, kNudge, 1e-15);
    EXPECT_EQ(b->velocity.dir.x, 1.0);
    EXPECT_EQ(b->velocity.mag, 1.0 + kNudge);
}

TEST_F(Collision, ResponseHeadOnIsWorkedImpulse) {
    GravityObject a;
    a.position = {0, 0, 0};
    a.velocity = {{1, 0, 0}, 1};
    a.mass = 2.0;
    GravityObject b;
    b.position = {0.5, 0, 0};
    b.mass = 2.0;
    const Vector r = collisionResponse(&a, &b);
    EXPECT_EQ(r.dir.x, -1.0);
    EXPECT_EQ(r.mag, 1.0 + kNudge * 2.0);
}

TEST_F(Collision, UnequalMassesShareTheImpulse) {
    // m_a = 1, m_b = 3: k = 2 / (1/3 + 1) = 1.5.
    GravityObject* a = addBody({0, 0, 0}, 0.3, 1.0, Vector{{1, 0, 0}, 1});
    GravityObject* b = addBody({0.5, 0, 0}, 0.3, 3.0);
    physicsStep(0.0);
    EXPECT_EQ(a->velocity.dir.x, -1.0);
    EXPECT_NEAR(a->velocity.mag, 0.5 + 3 * kNudge, 1e-15);
    EXPECT_EQ(b->velocity.dir.x, 1.0);
    EXPECT_NEAR(b->velocity.mag, 0.5 + kNudge, 1e-15);
}

TEST_F(Collision, OverlapAloneIsNotEnough) {
    // Deep overlap, but separating, side by side, or at rest: no bounce.
    GravityObject* apart = addBody({0, 0, 0}, 0.5, 1.0, Vector{{-1, 0, 0}, 1});
    addBody({0.25, 0, 0}, 0.5, 1.0);
    GravityObject* alongside = addBody({0, 3, 0}, 0.5, 1.0, Vector{{1, 0, 0}, 0.5});
    addBody({0.5, 3, 0}, 0.5, 1.0, Vector{{1, 0, 0}, 0.5});
    addBody({0, -3, 0}, 0.5, 1.0);
    physicsStep(0.0);
    EXPECT_EQ(apart->velocity.dir.x, -1.0);
    EXPECT_EQ(apart->velocity.mag, 1.0);
    EXPECT_EQ(alongside->velocity.mag, 0.5);
    EXPECT_EQ(contactMatrix[0][1], 0);
}

// The first visit of pair (i, j) on a snapshot of the bodies as they stand: does it find contact?
bool firstVisitFindsContact(uint32_t i, uint32_t j) {
    for (uint32_t k = 0; k < gravityListCount(&bodies); k++) {
        previousBodies[k] = *gravityListGet(&bodies, k);
    }
    collidePair(i, j);
    return contactMatrix[i][j] == 1;
}

TEST_F(Collision, OverlapWithoutApproachIsNoContactAtTheBoundary) {
    // Side by side, moving together across the line of centres: both centres shift by exactly
    // (0.0001, 0, 0), so the predicted distance is 0.5 again, bit for bit.
    addBody({0, 0, 0}, 0.3, 1.0, Vector{{1, 0, 0}, 1});
    addBody({0, 0.5, 0}, 0.3, 1.0, Vector{{1, 0, 0}, 1});
    // At rest against one drifting across at 1e-5: 0.25 + (1e-9)^2 rounds to 0.25, so the
    // predicted distance is 0.5 again although one body moves.
    addBody({5, 0, 0}, 0.3, 1.0);
    addBody({5.5, 0, 0}, 0.3, 1.0, Vector{{0, 1, 0}, 1e-5});
    EXPECT_FALSE(firstVisitFindsContact(0, 1));
    EXPECT_FALSE(firstVisitFindsContact(2, 3));
}

TEST_F(Collision, FastApproachWithoutOverlapDoesNotCollide) {
    GravityObject* a = addBody({0, 0, 0}, 0.3, 1.0, Vector{{1, 0, 0}, 1000});
    addBody({0.6000001, 0, 0}, 0.3, 1.0);
    physicsStep(0.0);
    EXPECT_EQ(a->velocity.mag, 1000.0);
}

TEST_F(Collision, TouchingExactlyCounts) {
    GravityObject* a = addBody({0, 0, 0}, 0.25, 1.0, Vector{{1, 0, 0}, 1});
    addBody({0.5, 0, 0}, 0.25, 1.0);
    physicsStep(0.0);
    EXPECT_EQ(a->velocity.dir.x, -1.0);
}

TEST_F(Collision, CoincidentCentresNeverCollide) {
    GravityObject* a = addBody({1, 1, 1}, 0.3, 1.0, Vector{{1, 0, 0}, 1});
    addBody({1, 1, 1}, 0.3, 1.0);
    physicsStep(0.0);
    EXPECT_EQ(a->velocity.dir.x, 1.0);
    EXPECT_EQ(a->velocity.mag, 1.0);
}

TEST_F(Collision, FlagsPassTheVerdictAndAreClearedAfterTheStep) {
    addBody({0, 0, 0}, 0.3, 1.0, Vector{{1, 0, 0}, 1});
    GravityObject* b = addBody({0.5, 0, 0}, 0.3, 1.0);
    previousBodies[0] = *gravityListGet(&bodies, 0);
    previousBodies[1] = *b;

    collidePair(0, 1);
    EXPECT_EQ(contactMatrix[0][1], 1);
    EXPECT_EQ(contactMatrix[1][0], 1);
    // From the higher index the flag alone decides, even though the live state no longer matters.
    collidePair(1, 0);
    EXPECT_EQ(b->velocity.mag, 1.0 + kNudge);

    std::memset(contactMatrix, 0, sizeof contactMatrix);
    physicsStep(0.01);
    for (uint32_t i = 0; i < kMaxBodies; i++) {
        for (uint32_t j = 0; j < kMaxBodies; j++) {
            EXPECT_EQ(contactMatrix[i][j], 0) << i << "," << j;
        }
    }
}

TEST_F(Collision, BodyHitFromBothSidesGainsBothShares) {
    addBody({-0.5, 0, 0}, 0.3, 1.0, Vector{{1, 0, 0}, 1});
    GravityObject* middle = addBody({0, 0, 0}, 0.3, 1.0);
    addBody({0.5, 0, 0}, 0.3, 1.0, Vector{{-1, 0, 0}, 1});
    physicsStep(0.0);
    // +(1 + nudge) from the left, -(1 + nudge) from the right: exactly nothing left.
    EXPECT_EQ(middle->velocity.mag, 0.0);
}

TEST_F(Collision, ResponseWithCoincidentCentresStandsForZero) {
    GravityObject a;
    a.velocity = {{1, 0, 0}, 1};
    a.mass = 1.0;
    GravityObject b;
    b.mass = 2.0;
    const Vector r = collisionResponse(&a, &b);
    EXPECT_EQ(r.dir.x, 0.0);
    EXPECT_EQ(r.mag, kNudge * 2.0);
}

} // namespace
