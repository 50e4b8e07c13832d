// The command-line names of the view and renewal modes, and the long run's frame.
#include "sim/long_run.h"

#include <cstring>

#include "sim/settings.h"
#include "sim/world.h"

namespace {

template <typename Mode>
struct ModeName {
    const char* name;
    Mode mode;
};

constexpr ModeName<ViewMode> kViewNames[] = {{"fixed", ViewMode::Fixed},
                                             {"follow", ViewMode::Follow}};
constexpr ModeName<RenewMode> kRenewNames[] = {{"never", RenewMode::Never},
                                               {"auto", RenewMode::Auto}};

template <typename Mode, size_t N>
bool modeFromName(const ModeName<Mode> (&names)[N], const char* name, Mode* mode) {
    for (const ModeName<Mode>& entry : names) {
        if (name != nullptr && std::strcmp(name, entry.name) == 0) {
            *mode = entry.mode;
            return true;
        }
    }
    return false;
}

} // namespace

bool viewModeFromName(const char* name, ViewMode* mode) {
    return modeFromName(kViewNames, name, mode);
}

bool renewModeFromName(const char* name, RenewMode* mode) {
    return modeFromName(kRenewNames, name, mode);
}

void longRunStart(LongRun* run, ViewMode viewMode, RenewMode renewMode, uint32_t seed,
                  ViewFrustum base) {
    *run = LongRun{};
    run->viewMode = viewMode;
    sceneRenewalStart(&run->renewal, renewMode, seed);
    run->base = base;
}

void longRunResize(LongRun* run, ViewFrustum base) {
    run->base = base;
}

bool longRunRenew(LongRun* run, double step) {
    // The fade keeps to the frame's own time, so that it lasts as long at any speed.
    const double frameStep = step / simSettingsCurrent().speed;
    return sceneRenewalStep(&run->renewal, run->base, frameStep, step);
}

void longRunAdvance(LongRun* run, double step) {
    worldStep(step);
    if (run->viewMode == ViewMode::Follow) {
        sceneViewFollow(&run->view, run->base, step);
    }
}

bool longRunStep(LongRun* run, double step) {
    const bool renewed = longRunRenew(run, step);
    longRunAdvance(run, step);
    return renewed;
}

double longRunScale(const LongRun& run) {
    return run.viewMode == ViewMode::Follow ? run.view.scale : 1.0;
}
