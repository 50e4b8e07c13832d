// The settings in force and what applying them changes.
#include "sim/settings.h"

#include "sim/gravity_list.h"
#include "sim/world.h"

namespace {

SimSettings current;

} // namespace

void simSettingsApply(const SimSettings& settings) {
    current = settings;
    if (current.spray > kMaxParticles) {
        current.spray = kMaxParticles; // the particle array has no room for more
    }
    gravityListInit(&bodies, current.bodies);
}

void simSettingsRetune(double speed, uint32_t spray) {
    current.speed = speed;
    current.spray = spray < kMaxParticles ? spray : kMaxParticles;
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        GravityObject* body = gravityListGet(&bodies, i);
        // Newest first: the points past the new count are the oldest.
        for (uint32_t k = current.spray; k < body->particleCount; k++) {
            delete body->particles[k];
            body->particles[k] = nullptr;
        }
        if (body->particleCount > current.spray) {
            body->particleCount = current.spray;
        }
    }
}

const SimSettings& simSettingsCurrent() {
    return current;
}

double simSettingsScaleStep(double baseStep) {
    return current.speed * baseStep;
}
