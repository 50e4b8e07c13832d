// backgroundModeFromName: the command-line names of the background modes.
#include "render/background_mode.h"

#include <cstring>

namespace {

struct ModeName {
    const char* name;
    BackgroundMode mode;
};

constexpr ModeName kModeNames[] = {
    {"fixed", BackgroundMode::Fixed},
    {"fill", BackgroundMode::Fill},
    {"none", BackgroundMode::None},
};

} // namespace

bool backgroundModeFromName(const char* name, BackgroundMode* mode) {
    for (const ModeName& entry : kModeNames) {
        if (name != nullptr && std::strcmp(name, entry.name) == 0) {
            *mode = entry.mode;
            return true;
        }
    }
    return false;
}
