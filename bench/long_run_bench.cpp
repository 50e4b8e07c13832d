// How a long run looks in a filled view: for many seeds and an hour each at a fixed step, the
// share of frames with no sphere, at least three and all of them in view, the largest change
// of the view's scale from one frame to the next, and the scenes begun an hour. A plain program
// rather than a timed benchmark: it counts frames, it does not time them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/cli_args.h"
#include "sim/long_run.h"
#include "sim/random.h"
#include "sim/scene.h"
#include "sim/settings.h"
#include "sim/world.h"

namespace {

struct BenchOptions {
    unsigned long long seeds = 40;
    double minutes = 60.0;
    double dt = 0.025; // the step at 60 frames a second
    int width = 1920;
    int height = 1080;
    ViewMode view = ViewMode::Follow;
    RenewMode renew = RenewMode::Auto;
};

struct Tally {
    unsigned long long frames = 0;
    unsigned long long none = 0;
    unsigned long long atLeastThree = 0;
    unsigned long long all = 0;
    unsigned long long renewals = 0;
    double largestScaleChange = 0.0; // as a fraction of the scale before
};

bool parseOptions(int argc, char** argv, BenchOptions* options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const char* flag = argv[i];
        const char* value = argv[i + 1];
        bool ok = true;
        if (std::strcmp(flag, "--seeds") == 0) {
            ok = parseUnsignedArg(value, 100000, &options->seeds);
        } else if (std::strcmp(flag, "--minutes") == 0) {
            ok = parseFiniteArg(value, &options->minutes);
        } else if (std::strcmp(flag, "--dt") == 0) {
            ok = parseFiniteArg(value, &options->dt);
        } else if (std::strcmp(flag, "--size") == 0) {
            ok = parseSizeArg(value, 8192, &options->width, &options->height);
        } else if (std::strcmp(flag, "--view") == 0) {
            ok = viewModeFromName(value, &options->view);
        } else if (std::strcmp(flag, "--renew") == 0) {
            ok = renewModeFromName(value, &options->renew);
        } else {
            ok = false;
        }
        if (!ok) {
            return false;
        }
    }
    return argc % 2 == 1;
}

void runSeed(const BenchOptions& options, uint32_t seed, Tally* tally) {
    worldReset();
    simSettingsApply(SimSettings{});
    randomSeed(seed);
    createScene();
    LongRun run;
    const ViewFrustum base = viewFrustumFor(options.width, options.height, false);
    longRunStart(&run, options.view, options.renew, seed, base);
    const auto frames =
        static_cast<unsigned long long>(options.minutes * 60.0 / (options.dt / 1.5));
    double scale = longRunScale(run);
    for (unsigned long long frame = 0; frame < frames; frame++) {
        tally->renewals += longRunStep(&run, options.dt) ? 1 : 0;
        const double now = longRunScale(run);
        tally->largestScaleChange =
            std::max(tally->largestScaleChange, std::fabs(now / scale - 1.0));
        scale = now;
        const uint32_t seen = sceneViewBodiesSeen(base, now);
        tally->frames++;
        tally->none += seen == 0 ? 1 : 0;
        tally->atLeastThree += seen >= 3 ? 1 : 0;
        tally->all += seen == gravityListCount(&bodies) ? 1 : 0;
    }
    worldReset();
}

double percent(unsigned long long part, unsigned long long whole) {
    return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

} // namespace

int main(int argc, char** argv) {
    BenchOptions options;
    if (!parseOptions(argc, argv, &options)) {
        std::fputs("usage: long_run_bench [--seeds N] [--minutes M] [--dt D] [--size WxH] "
                   "[--view follow|fixed] [--renew auto|never]\n",
                   stderr);
        return 2;
    }
    Tally tally;
    for (unsigned long long s = 0; s < options.seeds; s++) {
        runSeed(options, static_cast<uint32_t>(1000 + s), &tally);
    }
    const double hours = static_cast<double>(options.seeds) * options.minutes / 60.0;
    std::printf("seeds %llu, %.0f min each at dt %g in %dx%d\n", options.seeds, options.minutes,
                options.dt, options.width, options.height);
    std::printf("no sphere in view      %8.3f %%\n", percent(tally.none, tally.frames));
    std::printf("at least three in view %8.3f %%\n", percent(tally.atLeastThree, tally.frames));
    std::printf("all in view            %8.3f %%\n", percent(tally.all, tally.frames));
    std::printf("largest scale change   %8.3f %% between frames\n",
                100.0 * tally.largestScaleChange);
    std::printf("renewals an hour       %8.2f\n", static_cast<double>(tally.renewals) / hours);
    return 0;
}
