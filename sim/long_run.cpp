// The command-line names of the view and renewal modes.
#include "sim/long_run.h"

#include <cstring>

namespace {

template <typename Mode> struct ModeName {
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
