// velmorin-trace: runs the simulation headless from a seed and prints every body's state per frame.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "common/cli_args.h"
#include "common/settings_args.h"
#include "sim/long_run.h"
#include "sim/random.h"
#include "sim/scene.h"
#include "sim/settings.h"
#include "sim/world.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr const char* kUsage = "usage: velmorin-trace --seed S --frames N --dt D [--particles] "
                               "[--bodies N] [--speed X] [--spray N] [--size WxH] "
                               "[--view follow|fixed] [--renew auto|never]\n";
// The drawable whose filled view the view rows describe when no --size is given.
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;
// As the capture and the demo take it.
constexpr uint32_t kMaxSide = 8192;

struct TraceOptions {
    uint32_t seed = 0;
    unsigned long long frames = 0;
    double dt = 0.0;
    bool particles = false;
    SimSettings sim;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    ViewMode view = ViewMode::Fixed;
    RenewMode renew = RenewMode::Never;
};

bool parseOptions(int argc, char** argv, TraceOptions* options) {
    bool haveSeed = false;
    bool haveFrames = false;
    bool haveDt = false;
    uint32_t settingsSeen = 0;
    bool haveSize = false;
    for (int i = 1; i < argc; i++) {
        const char* flag = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        SettingsArg setting = takeSettingsArg(flag, value, &options->sim, &settingsSeen);
        if (setting == SettingsArg::NotASetting) {
            setting = takeLongRunArg(flag, value, &options->view, &options->renew, &settingsSeen);
        }
        if (setting == SettingsArg::Refused) {
            return false;
        }
        if (setting == SettingsArg::Taken) {
            i++;
        } else if (std::strcmp(flag, "--particles") == 0) {
            options->particles = true;
        } else if (std::strcmp(flag, "--seed") == 0 && !haveSeed) {
            if (!parseSeedArg(value, &options->seed)) {
                return false;
            }
            haveSeed = true;
            i++;
        } else if (std::strcmp(flag, "--frames") == 0 && !haveFrames) {
            if (!parseUnsignedArg(value, UINT64_MAX, &options->frames)) {
                return false;
            }
            haveFrames = true;
            i++;
        } else if (std::strcmp(flag, "--dt") == 0 && !haveDt) {
            if (!parseFiniteArg(value, &options->dt)) {
                return false;
            }
            haveDt = true;
            i++;
        } else if (std::strcmp(flag, "--size") == 0 && !haveSize) {
            if (!parseSizeArg(value, kMaxSide, &options->width, &options->height)) {
                return false;
            }
            haveSize = true;
            i++;
        } else {
            return false;
        }
    }
    return haveSeed && haveFrames && haveDt;
}

void printBodies() {
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* b = gravityListGet(&bodies, i);
        std::printf(
            "body\t%u\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%d\n",
            i, b->position.x, b->position.y, b->position.z, b->radius, b->mass, b->inertia,
            static_cast<double>(b->sprayColor[0]), static_cast<double>(b->sprayColor[1]),
            static_cast<double>(b->sprayColor[2]), static_cast<double>(b->sprayColor[3]),
            b->textureIndex);
    }
    std::printf("center\t%.17g\t%.17g\t%.17g\n", centerOfMass.x, centerOfMass.y, centerOfMass.z);
}

void printFrame(unsigned long long frame, bool withParticles) {
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* b = gravityListGet(&bodies, i);
        std::printf("state\t%llu\t%u\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\n", frame, i,
                    b->position.x, b->position.y, b->position.z, b->velocity.dir.x,
                    b->velocity.dir.y, b->velocity.dir.z, b->velocity.mag);
    }
    if (!withParticles) {
        return;
    }
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* b = gravityListGet(&bodies, i);
        for (uint32_t k = 0; k < b->particleCount; k++) {
            const Particle* p = b->particles[k];
            std::printf("particle\t%llu\t%u\t%u\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\n",
                        frame, i, k, p->position.x, p->position.y, p->position.z, p->velocity.dir.x,
                        p->velocity.dir.y, p->velocity.dir.z, p->velocity.mag);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // In text mode the C runtime writes every "\n" as "\r\n"; the trace must be the same bytes
    // on every system.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    TraceOptions options;
    if (!parseOptions(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return kUsageStatus;
    }

    randomSeed(options.seed);
    simSettingsApply(options.sim);
    createScene();
    printBodies();
    LongRun run;
    longRunStart(&run, options.view, options.renew, options.seed,
                 viewFrustumFor(options.width, options.height, false));
    const double step = simSettingsScaleStep(options.dt);
    for (unsigned long long frame = 1; frame <= options.frames; frame++) {
        if (longRunRenew(&run, step)) {
            std::printf("scene\t%llu\t%u\n", frame, run.renewal.seed);
            printBodies();
        }
        longRunAdvance(&run, step);
        printFrame(frame, options.particles);
        if (options.view == ViewMode::Follow) {
            std::printf("view\t%llu\t%.17g\n", frame, longRunScale(run));
        }
    }
    freeBodies();
    return std::fflush(stdout) == 0 ? 0 : 1;
}
