// The scene's shared state and its release.
#include "sim/world.h"

#include <cstring>

#include "sim/settings.h"

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

void worldReset() {
    freeBodies();
    simSettingsApply(SimSettings{});
    std::memset(contactMatrix, 0, sizeof contactMatrix);
    centerOfMass = {};
}
