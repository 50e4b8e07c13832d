// Construction of a body's place, size, mass and inertia.
#include "sim/body.h"

#include "sim/random.h"

namespace {

constexpr double kSpawnSpan = 10.0; // x and y start in [-5, 5]
constexpr double kSpawnOffset = 5.0;
constexpr double kSpawnDepth = -3.0; // every body starts in the plane z = -3
constexpr double kRadiusSpan = 0.4;  // radius in [0.1, 0.5]
constexpr double kMinRadius = 0.1;
constexpr double kSolidSphereInertia = 0.4;

} // namespace

void gravityObjectInit(GravityObject* body) {
    body->pull = {};
    body->velocity = {};
    body->position = {};
    body->spin = {};

    body->position.x = kSpawnSpan * randomUniform() - kSpawnOffset;
    body->position.y = kSpawnSpan * randomUniform() - kSpawnOffset;
    // The third draw once chose a depth; it is still taken so that every body consumes the same
    // draws, but it no longer has any effect.
    body->position.z = randomUniform() * 0.0 + kSpawnDepth;

    body->radius = kRadiusSpan * randomUniform() + kMinRadius;
    body->mass = ((kMassPerCubicRadius * body->radius) * body->radius) * body->radius;
    body->inertia = ((kSolidSphereInertia * body->mass) * body->radius) * body->radius;
    body->particleCount = 0;
}
