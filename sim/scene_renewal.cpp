// The renewal's clock, its fade and the rebuilt scene.
#include "sim/scene_renewal.h"

#include <algorithm>

#include "sim/random.h"
#include "sim/scene.h"
#include "sim/settings.h"
#include "sim/world.h"

uint32_t sceneNextSeed(uint32_t seed) {
    // The golden-ratio step, then a 32-bit finaliser that spreads every bit over every other.
    uint32_t z = seed + 0x9E3779B9u;
    z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
    z = (z ^ (z >> 13)) * 0xC2B2AE35u;
    return z ^ (z >> 16);
}

void sceneRenewalStart(SceneRenewal* renewal, RenewMode mode, uint32_t seed) {
    *renewal = SceneRenewal{};
    renewal->mode = mode;
    renewal->seed = seed;
}

void sceneRebuild(uint32_t seed) {
    const SimSettings kept = simSettingsCurrent(); // worldReset puts the defaults back
    worldReset();
    simSettingsApply(kept);
    randomSeed(seed);
    createScene();
}

bool sceneRenewalStep(SceneRenewal* renewal, ViewFrustum base, double frameStep, double simStep) {
    if (renewal->mode == RenewMode::Never) {
        return false;
    }
    switch (renewal->phase) {
    case RenewalPhase::Running:
        if (sceneViewNeededScale(base) > kViewMaxScale) {
            renewal->lostTime += simStep;
        } else {
            renewal->lostTime = 0.0;
        }
        if (renewal->lostTime >= kRenewLostSeconds) {
            renewal->phase = RenewalPhase::Leaving;
            renewal->phaseTime = 0.0;
        }
        return false;
    case RenewalPhase::Leaving:
        renewal->phaseTime += frameStep;
        if (renewal->phaseTime < kRenewFadeSeconds) {
            return false;
        }
        renewal->seed = sceneNextSeed(renewal->seed);
        renewal->scenes++;
        renewal->lostTime = 0.0;
        renewal->phase = RenewalPhase::Arriving;
        renewal->phaseTime = 0.0;
        sceneRebuild(renewal->seed);
        return true;
    case RenewalPhase::Arriving:
        renewal->phaseTime += frameStep;
        if (renewal->phaseTime >= kRenewFadeSeconds) {
            renewal->phase = RenewalPhase::Running;
            renewal->phaseTime = 0.0;
        }
        return false;
    }
    return false;
}

double sceneRenewalVeil(const SceneRenewal& renewal) {
    const double part = std::clamp(renewal.phaseTime / kRenewFadeSeconds, 0.0, 1.0);
    switch (renewal.phase) {
    case RenewalPhase::Leaving:
        return part;
    case RenewalPhase::Arriving:
        return 1.0 - part;
    case RenewalPhase::Running:
        break;
    }
    return 0.0;
}
