// The scene's shared state and its release.
#include "sim/world.h"

#include <cstring>

#include "sim/physics.h"
#include "sim/settings.h"
#include "sim/spray.h"

GravityList bodies{0, kBodyCount, {}};
GravityObject previousBodies[kMaxBodies];
uint8_t contactMatrix[kMaxBodies][kMaxBodies];
Vertex centerOfMass;

void freeBodies() {
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        GravityObject* body = gravityListGet(&bodies, i);
        for (uint32_t k = 0; k < body->particleCount; k++) {
            delete body->particles[k];
        }
        delete body;
    }
}

void worldStep(double step) {
    physicsStep(step);
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        updateSpray(gravityListGet(&bodies, i), step);
    }
}

void worldReset() {
    freeBodies();
    simSettingsApply(SimSettings{});
    std::memset(contactMatrix, 0, sizeof contactMatrix);
    centerOfMass = {};
}
