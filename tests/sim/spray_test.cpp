// Sprays: emission and recycling order, the launch kick, gravity that only turns the direction.
#include <algorithm>
#include <iterator>

#include <gtest/gtest.h>

#include "sim/physics.h"
#include "sim/random.h"
#include "sim/settings.h"
#include "sim/spray.h"
#include "sim_test_helpers.h"

namespace {

class Spray : public FreshWorld {};

TEST_F(Spray, FirstCallEmitsOneParticleInFront) {
    GravityObject* body = addBody({1, 2, -3}, 0.3, 1.0);
    updateSpray(body, 0.01);
    EXPECT_EQ(body->particleCount, 1u);
    ASSERT_NE(body->particles[0], nullptr);
}

TEST_F(Spray, HundredthCallFillsTheSprayThenRecyclingRotatesIt) {
    GravityObject* body = addBody({0, 0, -3}, 0.3, 1.0);
    for (int call = 0; call < 99; call++) {
        updateSpray(body, 0.01);
    }
    EXPECT_EQ(body->particleCount, 99u);
    Particle* firstBorn = body->particles[98];
    updateSpray(body, 0.01);
    EXPECT_EQ(body->particleCount, 100u);
    EXPECT_EQ(body->particles[99], firstBorn);

    Particle* before[kMaxParticles];
    std::copy(std::begin(body->particles), std::end(body->particles), before);
    updateSpray(body, 0.01);
    EXPECT_EQ(body->particleCount, 100u);
    EXPECT_EQ(body->particles[0], before[99]); // the oldest, relaunched
    for (uint32_t k = 1; k < kMaxParticles; k++) {
        EXPECT_EQ(body->particles[k], before[k - 1]);
    }
    // Relaunched from the top of the sphere and moved one step of 0.01 along its direction.
    EXPECT_NEAR(body->particles[0]->position.y, 0.3, 0.0100001);
}

TEST_F(Spray, ShorterSprayRecyclesItsOldestAndNoSprayTakesNoDraw) {
    struct Row {
        uint32_t spray;
        int calls;
        uint32_t count;
        int drawsPerCall;
    };
    for (const Row& row : {Row{37, 40, 37, 2}, Row{0, 3, 0, 0}}) {
        worldReset();
        simSettingsApply(SimSettings{kBodyCount, 1.0, row.spray});
        GravityObject* body = addBody({0, 0, -3}, 0.3, 1.0);
        for (int call = 1; call < row.calls; call++) {
            updateSpray(body, 0.01);
        }
        Particle* before[kMaxParticles];
        std::copy(std::begin(body->particles), std::end(body->particles), before);
        EXPECT_EQ(countDrawsTaken(5, [&] { updateSpray(body, 0.01); }), row.drawsPerCall);
        ASSERT_EQ(body->particleCount, row.count) << row.spray;
        if (row.count > 0) {
            EXPECT_EQ(body->particles[0], before[row.count - 1]); // the oldest, relaunched
            EXPECT_EQ(body->particles[row.count - 1], before[row.count - 2]);
        }
    }
}

// Turned down while running, the spray loses its oldest points at once; the bodies stay.
TEST_F(Spray, RetunedSprayDropsItsOldestAndKeepsTheBodies) {
    GravityObject* body = addBody({0, 0, -3}, 0.3, 1.0);
    for (int call = 0; call < 10; call++) {
        updateSpray(body, 0.01);
    }
    Particle* newest = body->particles[0];
    simSettingsRetune(2.0, 4);
    EXPECT_EQ(gravityListCount(&bodies), 1u);
    EXPECT_EQ(body->particleCount, 4u);
    EXPECT_EQ(body->particles[0], newest);
    EXPECT_EQ(simSettingsScaleStep(0.5), 1.0);
}

TEST_F(Spray, LaunchKickRisesWithSmallerSpheres) {
    // At rest, the upward kick is 4 * (0.6 - radius) before normalisation.
    GravityObject* small = addBody({0, 0, -3}, 0.1, 1.0);
    GravityObject* large = addBody({0, 0, -3}, 0.5, 1.0);
    Particle p;
    randomSeed(5);
    launchParticle(&p, small);
    EXPECT_DOUBLE_EQ(vectorToVertex(p.velocity).y, 2.0);
    EXPECT_EQ(p.position.y, 0.1);
    launchParticle(&p, large);
    EXPECT_DOUBLE_EQ(vectorToVertex(p.velocity).y, 0.4);
    EXPECT_EQ(p.position.y, 0.5);
}

TEST_F(Spray, LaunchAddsKickToBodyVelocity) {
    // Sideways kicks are u - 0.5 for x then z; the body's own velocity is added as a vector.
    GravityObject* body = addBody({2, 0, -3}, 0.2, 1.0, Vector{{0, 0.6, 0.8}, 5});
    Particle p;
    randomSeed(9);
    launchParticle(&p, body);
    const double ux = referenceOutput(9, 0) / 32767.0;
    const double uz = referenceOutput(9, 1) / 32767.0;
    const Vertex v = vectorToVertex(p.velocity);
    EXPECT_NEAR(v.x, ux - 0.5, 1e-12);
    EXPECT_NEAR(v.y, 1.6 + 3.0, 1e-12);
    EXPECT_NEAR(v.z, uz + 4.0 - 0.5, 1e-12);
    EXPECT_EQ(p.position.x, 2.0);
    EXPECT_EQ(p.position.y, 0.2);
}

TEST(SprayParticle, GravityTurnsButAdvanceIgnoresSpeed) {
    Particle p;
    p.position = {0, 0, 0};
    p.velocity = {{0, 1, 0}, 2};
    applyParticleGravity(&p, 0.1);
    EXPECT_EQ(p.velocity.dir.y, 1.0);
    EXPECT_DOUBLE_EQ(p.velocity.mag, 1.933274);
    advanceParticle(&p, 0.1);
    EXPECT_EQ(p.position.y, 0.1); // dt along dir, not dt * speed
}

TEST(SprayParticle, ParticleAtRestStartsFalling) {
    Particle p;
    p.position = {0, 1, 0};
    applyParticleGravity(&p, 0.1);
    EXPECT_EQ(p.velocity.dir.y, -1.0);
    EXPECT_DOUBLE_EQ(p.velocity.mag, 0.066726);
    advanceParticle(&p, 0.1);
    EXPECT_DOUBLE_EQ(p.position.y, 0.9);
}

TEST_F(Spray, ZeroDtStillEmitsButMovesNothing) {
    GravityObject* body = addBody({0, 0, -3}, 0.3, 1.0);
    updateSpray(body, 0.0);
    updateSpray(body, 0.0);
    EXPECT_EQ(body->particleCount, 2u);
    for (uint32_t k = 0; k < 2; k++) {
        EXPECT_EQ(body->particles[k]->position.y, 0.3);
    }
}

TEST_F(Spray, EveryCallTakesTwoDraws) {
    GravityObject* body = addBody({0, 0, -3}, 0.3, 1.0);
    EXPECT_EQ(countDrawsTaken(3, [&] { updateSpray(body, 0.02); }), 2);
    for (int call = 0; call < 120; call++) {
        updateSpray(body, 0.02);
    }
    EXPECT_EQ(countDrawsTaken(3, [&] { updateSpray(body, 0.02); }), 2); // recycling too
}

TEST(SprayPush, PushFrontShiftsOnlyValidEntries) {
    GravityObject body;
    Particle a;
    Particle b;
    Particle c;
    body.particleCount = 1;
    pushFrontParticle(&a, &body);
    EXPECT_EQ(body.particles[0], &a);
    body.particleCount = 2;
    pushFrontParticle(&b, &body);
    EXPECT_EQ(body.particles[0], &b);
    EXPECT_EQ(body.particles[1], &a);
    body.particleCount = 3;
    pushFrontParticle(&c, &body);
    EXPECT_EQ(body.particles[0], &c);
    EXPECT_EQ(body.particles[1], &b);
    EXPECT_EQ(body.particles[2], &a);
}

} // namespace
