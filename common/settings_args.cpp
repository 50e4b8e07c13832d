// Strict parsing of the three simulation settings, the long run's two, and their option names.
#include "common/settings_args.h"

#include <cstring>

#include "common/cli_args.h"

namespace {

constexpr uint32_t kSeenBodies = 1u << 0;
constexpr uint32_t kSeenSpeed = 1u << 1;
constexpr uint32_t kSeenSpray = 1u << 2;
constexpr uint32_t kSeenView = 1u << 3;
constexpr uint32_t kSeenRenew = 1u << 4;

SettingsArg taken(bool accepted, uint32_t flag, uint32_t* seen) {
    if (!accepted || (*seen & flag) != 0) {
        return SettingsArg::Refused;
    }
    *seen |= flag;
    return SettingsArg::Taken;
}

} // namespace

bool parseBodiesArg(const char* text, uint32_t* out) {
    return parseUint32Arg(text, kMinBodies, kMaxBodies, out);
}

bool parseSpeedArg(const char* text, double* out) {
    double speed = 0.0;
    if (!parseDecimalArg(text, &speed) || speed < kMinSpeed || speed > kMaxSpeed) {
        return false;
    }
    *out = speed;
    return true;
}

bool parseSprayArg(const char* text, uint32_t* out) {
    return parseUint32Arg(text, 0, kMaxParticles, out);
}

SettingsArg takeSettingsArg(const char* name, const char* value, SimSettings* settings,
                            uint32_t* seen) {
    if (std::strcmp(name, "--bodies") == 0) {
        return taken(parseBodiesArg(value, &settings->bodies), kSeenBodies, seen);
    }
    if (std::strcmp(name, "--speed") == 0) {
        return taken(parseSpeedArg(value, &settings->speed), kSeenSpeed, seen);
    }
    if (std::strcmp(name, "--spray") == 0) {
        return taken(parseSprayArg(value, &settings->spray), kSeenSpray, seen);
    }
    return SettingsArg::NotASetting;
}

SettingsArg takeLongRunArg(const char* name, const char* value, ViewMode* view, RenewMode* renew,
                           uint32_t* seen) {
    if (std::strcmp(name, "--view") == 0) {
        return taken(viewModeFromName(value, view), kSeenView, seen);
    }
    if (std::strcmp(name, "--renew") == 0) {
        return taken(renewModeFromName(value, renew), kSeenRenew, seen);
    }
    return SettingsArg::NotASetting;
}
