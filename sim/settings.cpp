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

const SimSettings& simSettingsCurrent() {
    return current;
}

double simSettingsScaleStep(double baseStep) {
    return current.speed * baseStep;
}
