// collidePair: the overlap test, the velocity change along the line of centres, the contact flag.
#include "sim/collision.h"

#include "sim/physics.h"
#include "sim/world.h"

namespace {

// A perfectly elastic collision reverses the relative velocity along the normal: factor -2.
constexpr double kRestitutionFactor = -2.0;

bool pairOverlapsAndApproaches(const GravityObject* a, const GravityObject* b) {
    const double distance = vertexLength(vertexSub(a->position, b->position));
    if (a->radius + b->radius < distance) {
        return false;
    }
    const Vertex aAhead = advancePosition(a->velocity, a->position, kContactLookahead);
    const Vertex bAhead = advancePosition(b->velocity, b->position, kContactLookahead);
    return vertexLength(vertexSub(aAhead, bAhead)) < distance;
}

} // namespace

Vector collisionResponse(const GravityObject* a, const GravityObject* b) {
    const Vertex normal = vertexNormalize(vertexSub(a->position, b->position));
    Vector relative = vectorSub(a->velocity, b->velocity);
    relative.mag = kRestitutionFactor * relative.mag;
    const double projected = vertexDot(vectorToVertex(relative), normal);
    const double impulse = projected / (1.0 / b->mass + 1.0 / a->mass);
    Vector change = vectorFromVertex(vertexScale(normal, impulse / a->mass));
    change.mag = change.mag + kCollisionNudge * b->mass;
    return change;
}

void collidePair(uint32_t i, uint32_t j) {
    const GravityObject* a = &previousBodies[i];
    const GravityObject* b = &previousBodies[j];
    if (contactMatrix[i][j] != 1) {
        if (!pairOverlapsAndApproaches(a, b)) {
            return;
        }
        contactMatrix[i][j] = 1;
        contactMatrix[j][i] = 1;
    }
    GravityObject* body = gravityListGet(&bodies, i);
    setVelocity(body, vectorAdd(getVelocity(body), collisionResponse(a, b)));
}
