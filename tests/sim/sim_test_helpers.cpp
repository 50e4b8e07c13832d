// Fresh scenes, hand-placed bodies and draw counting for the simulation tests.
#include "sim_test_helpers.h"

#include "sim/gravity_list.h"
#include "sim/random.h"

GravityObject* addBody(Vertex position, double radius, double mass, Vector velocity) {
    auto* body = new GravityObject{};
    body->position = position;
    body->radius = radius;
    body->mass = mass;
    body->velocity = velocity;
    EXPECT_EQ(gravityListPush(&bodies, body), 0);
    return body;
}

int referenceOutput(uint32_t seed, int index) {
    uint64_t state = seed;
    for (int step = 0; step <= index + 1; step++) {
        state = (state * 22695477u + 1u) % 4294967296u;
    }
    return static_cast<int>((state / 65536u) % 32768u);
}

int countDrawsTaken(uint32_t seed, const std::function<void()>& op) {
    randomSeed(seed);
    op();
    const int next = randomNext();
    for (int taken = 0; taken < 1000; taken++) {
        if (referenceOutput(seed, taken) == next) {
            return taken;
        }
    }
    return -1;
}

void expectVertexNear(Vertex actual, Vertex expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}
