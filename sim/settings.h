// The run's settings: how many spheres, how fast the simulation runs, how far each spray grows.
#pragma once

#include <cstdint>

#include "sim/body.h"

inline constexpr uint32_t kMinBodies = 1;
inline constexpr double kMinSpeed = 0.25;
inline constexpr double kMaxSpeed = 4.0;

struct SimSettings {
    uint32_t bodies = kBodyCount;   // kMinBodies to kMaxBodies: the capacity the scene fills
    double speed = 1.0;             // kMinSpeed to kMaxSpeed: the factor on every step
    uint32_t spray = kMaxParticles; // 0 to kMaxParticles: points per body before recycling
};

// Puts the settings in force for the scene built next: the empty body list takes the capacity
// createScene fills, and updateSpray and the steps follow the rest. A spray above
// kMaxParticles is cut down to it.
void simSettingsApply(const SimSettings& settings);
// The speed and spray of settings in force at once, for the scene running now; its bodies stay
// (another count needs a new scene). A smaller spray drops each body's oldest points at once.
void simSettingsRetune(double speed, uint32_t spray);
const SimSettings& simSettingsCurrent();
// One step of the simulation for a base step: speed times it, in double. At speed 1 the step is
// the base step to the last bit.
double simSettingsScaleStep(double baseStep);
