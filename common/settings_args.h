// The simulation settings on a command line: --bodies, --speed and --spray, read the same way by
// the demo and by the tools.
#pragma once

#include <cstdint>

#include "sim/long_run.h"
#include "sim/settings.h"

// The three options as the usage lines show them.
inline constexpr const char* kSettingsUsage = "[--bodies N] [--speed X] [--spray N]";

// kMinBodies to kMaxBodies, plain decimal digits.
bool parseBodiesArg(const char* text, uint32_t* out);
// kMinSpeed to kMaxSpeed, a plain decimal number (see parseDecimalArg).
bool parseSpeedArg(const char* text, double* out);
// 0 to kMaxParticles, plain decimal digits.
bool parseSprayArg(const char* text, uint32_t* out);

enum class SettingsArg {
    NotASetting, // the name is none of the three
    Taken,
    Refused, // value missing, malformed or out of range, or the option given before
};

// For a tool's loop over its flags: when name is one of the three options, reads value into
// settings. *seen remembers which of them were given.
SettingsArg takeSettingsArg(const char* name, const char* value, SimSettings* settings,
                            uint32_t* seen);

// The long run's two options as the tools' usage lines show them.
inline constexpr const char* kLongRunUsage = "[--view follow|fixed] [--renew auto|never]";

// The same for --view and --renew; *seen may be the one takeSettingsArg keeps.
SettingsArg takeLongRunArg(const char* name, const char* value, ViewMode* view, RenewMode* renew,
                           uint32_t* seen);
