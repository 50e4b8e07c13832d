// physicsStep and its parts: snapshot, pairwise collision and attraction, integration, contacts.
#include "sim/physics.h"

#include "sim/collision.h"
#include "sim/world.h"

Vector gravityForce(const GravityObject* a, const GravityObject* b) {
    Vector force = vectorFromVertex(vertexSub(a->position, b->position));
    force.mag = -(b->mass * (a->mass * kGravity));
    return force;
}

Vector forceToVelocityChange(Vector force, double mass, double dt) {
    return {force.dir, (force.mag / mass) * dt};
}

Vector advanceVelocity(Vector pull, Vector velocity, double dt) {
    return vectorAdd(velocity, vectorScale(pull, dt));
}

Vertex advancePosition(Vector velocity, Vertex position, double s) {
    return {(velocity.dir.x * velocity.mag) * s + position.x,
            (velocity.dir.y * velocity.mag) * s + position.y,
            (velocity.dir.z * velocity.mag) * s + position.z};
}

namespace {

void snapshotBodies() {
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        previousBodies[i] = *gravityListGet(&bodies, i);
    }
}

void gatherPairInteractions(double dt) {
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        GravityObject* body = gravityListGet(&bodies, i);
        setPull(body, Vector{});
        for (uint32_t j = 0; j < gravityListCount(&bodies); j++) {
            if (j == i) {
                continue;
            }
            collidePair(i, j);
            const Vector force = gravityForce(body, gravityListGet(&bodies, j));
            const Vector change = forceToVelocityChange(force, getMass(body), dt);
            setPull(body, vectorAdd(getPull(body), change));
        }
    }
}

void integrateBodies(double dt) {
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        GravityObject* body = gravityListGet(&bodies, i);
        setVelocity(body, advanceVelocity(getPull(body), getVelocity(body), dt));
        setPosition(body, advancePosition(getVelocity(body), getPosition(body), dt));
    }
}

void clearContacts() {
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        for (uint32_t j = 0; j < gravityListCount(&bodies); j++) {
            contactMatrix[i][j] = 0;
        }
    }
}

} // namespace

void physicsStep(double dt) {
    snapshotBodies();
    gatherPairInteractions(dt);
    integrateBodies(dt);
    clearContacts();
}
