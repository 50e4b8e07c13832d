// Cost of a drawn frame offscreen: the picture reader, the whole frame, its background, its
// physics.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "common/cli_args.h"
#include "platform/platform.h"
#include "render/background.h"
#include "render/bmp.h"
#include "render/body_looks.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/renderer.h"
#include "sim/physics.h"
#include "sim/random.h"
#include "sim/scene.h"
#include "sim/settings.h"
#include "sim/spray.h"
#include "sim/world.h"

namespace {

constexpr const char* kBuildDir = VELMORIN_BUILD_DIR; // holds the painted bitmap/ folder
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;
constexpr uint32_t kMaxSide = 8192;
constexpr uint32_t kSeed = 1234;
constexpr double kFrameDt = 0.015; // seconds, about the demo's dt at 100 frames a second
// The background's lower-left corner in the scene frame, as the frame code places it.
constexpr float kBackgroundRasterX = -3.0f;
constexpr float kBackgroundRasterY = -3.0f;
constexpr double kPercent = 100.0;

// A fresh seeded scene, pictures and spheres made, whose sprays are already full, as they are
// after the first seconds.
void createWarmScene(uint32_t bodyCount = kBodyCount) {
    worldReset();
    simSettingsApply(SimSettings{bodyCount, 1.0, kMaxParticles});
    randomSeed(kSeed);
    createScene();
    bodyLooksCreate();
    for (uint32_t frame = 0; frame < kMaxParticles; frame++) {
        physicsStep(kFrameDt);
        for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
            updateSpray(gravityListGet(&bodies, i), kFrameDt);
        }
    }
}

// Target: under 5 ms for the 800 by 600 background.
void BM_ReadBackgroundBmp(benchmark::State& state) {
    for (auto _ : state) {
        uint8_t* header = nullptr;
        ImageRecord record{};
        uint8_t* pixels = readBmp(kBackgroundFile, &header, &record);
        if (pixels == nullptr) {
            state.SkipWithError("background.bmp could not be read");
            break;
        }
        benchmark::DoNotOptimize(pixels);
        std::free(pixels);
        std::free(header);
    }
}
BENCHMARK(BM_ReadBackgroundBmp)->Unit(benchmark::kMillisecond);

// glFinish makes the frame's GL work, done by the driver's own threads, part of the time.
void BM_WholeFrame(benchmark::State& state) {
    createWarmScene();
    for (auto _ : state) {
        stepAndDrawFrame(kFrameDt);
        glFinish();
    }
}
BENCHMARK(BM_WholeFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// The largest scene: twenty spheres with full sprays. Target: at most 1.6 times the frame of five.
void BM_WholeFrameTwentyBodies(benchmark::State& state) {
    createWarmScene(kMaxBodies);
    for (auto _ : state) {
        stepAndDrawFrame(kFrameDt);
        glFinish();
    }
    worldReset();
}
BENCHMARK(BM_WholeFrameTwentyBodies)->Unit(benchmark::kMillisecond)->UseRealTime();

// The calls stepAndDrawFrame makes for the clear, the light and the fixed background, without
// bodies.
void BM_BackgroundOnlyFrame(benchmark::State& state) {
    for (auto _ : state) {
        rendererClear();
        rendererLoadIdentity();
        rendererPushMatrix();
        rendererUseLight(lightList);
        rendererTranslate(0.0f, 0.0f, static_cast<float>(-kCameraDistance));
        rendererPushMatrix();
        rendererDrawBackground(backgroundList, kBackgroundRasterX, kBackgroundRasterY);
        rendererPopMatrix();
        rendererPopMatrix();
        rendererFlush();
        glFinish();
    }
}
BENCHMARK(BM_BackgroundOnlyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// The frame's simulation share: the physics step and every spray update, nothing drawn.
void BM_SimulationShare(benchmark::State& state) {
    createWarmScene();
    for (auto _ : state) {
        physicsStep(kFrameDt);
        for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
            updateSpray(gravityListGet(&bodies, i), kFrameDt);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SimulationShare)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The console output as usual, and each benchmark's time per iteration in seconds kept for the
// summary: the median when repetitions give one, else the last run.
struct RecordingReporter : benchmark::ConsoleReporter {
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const bool isMedian =
                run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !isMedian) {
                continue;
            }
            const std::string& name = run.run_name.function_name;
            if (isMedian || medianSeen.count(name) == 0) {
                seconds[name] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
            if (isMedian) {
                medianSeen[name] = true;
            }
        }
    }
    std::map<std::string, double> seconds;
    std::map<std::string, bool> medianSeen;
};

void printSummary(const std::map<std::string, double>& seconds) {
    const auto find = [&](const char* name) {
        const auto it = seconds.find(name);
        return it == seconds.end() ? 0.0 : it->second;
    };
    const double read = find("BM_ReadBackgroundBmp");
    const double frame = find("BM_WholeFrame");
    const double twenty = find("BM_WholeFrameTwentyBodies");
    const double background = find("BM_BackgroundOnlyFrame");
    const double simulation = find("BM_SimulationShare");
    std::printf("\nsummary\n");
    std::printf("  readBmp background.bmp     %9.3f ms   (target < 5 ms)\n", read * 1e3);
    std::printf("  whole frame                %9.3f ms   (%.1f frames/s)\n", frame * 1e3,
                frame > 0.0 ? 1.0 / frame : 0.0);
    std::printf("  frame of twenty spheres    %9.3f ms   (%.2f times five; target <= 1.6)\n",
                twenty * 1e3, frame > 0.0 ? twenty / frame : 0.0);
    std::printf("  background-only frame      %9.3f ms\n", background * 1e3);
    std::printf("  simulation share           %9.3f us\n", simulation * 1e6);
    if (frame > 0.0 && background > 0.0) {
        std::printf("  whole / background         %9.2f    (spheres and sprays add %.0f %%)\n",
                    frame / background, (frame / background - 1.0) * kPercent);
        std::printf("  simulation / whole frame   %9.3f %%  (target < 1 %%)\n",
                    simulation / frame * kPercent);
    }
}

// Takes "NAME VALUE" out of argv, which Google Benchmark would refuse: the value, null when the
// option is not there, "" when its value is missing.
const char* takeOption(int* argc, char** argv, const char* name) {
    for (int i = 1; i < *argc; i++) {
        if (std::strcmp(argv[i], name) != 0) {
            continue;
        }
        if (i + 1 >= *argc) {
            return "";
        }
        const char* value = argv[i + 1];
        for (int j = i; j + 2 <= *argc; j++) {
            argv[j] = argv[j + 2];
        }
        *argc -= 2;
        return value;
    }
    return nullptr;
}

// The drawing set-up asked for: --renderer gl11|gles2, --size WxH, --background fixed|fill|none,
// and --painted: filling with a picture painted at the drawable's size, as the demo does once
// its own background has been painted, in place of the scaled one it shows until then.
struct BenchSetup {
    RendererKind renderer = rendererDefaultKind();
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    BackgroundMode background = BackgroundMode::Fixed;
    bool painted = false;
};

bool takeSetup(int* argc, char** argv, BenchSetup* setup) {
    const char* renderer = takeOption(argc, argv, "--renderer");
    const char* size = takeOption(argc, argv, "--size");
    const char* background = takeOption(argc, argv, "--background");
    for (int i = 1; i < *argc; i++) {
        if (std::strcmp(argv[i], "--painted") == 0) {
            setup->painted = true;
            std::copy(argv + i + 1, argv + *argc, argv + i);
            *argc -= 1;
            break;
        }
    }
    if (renderer != nullptr && !rendererKindFromName(renderer, &setup->renderer)) {
        return false;
    }
    if (background != nullptr && !backgroundModeFromName(background, &setup->background)) {
        return false;
    }
    if (size == nullptr) {
        return true;
    }
    return parseSizeArg(size, kMaxSide, &setup->width, &setup->height);
}

} // namespace

int main(int argc, char** argv) {
    BenchSetup setup;
    if (!takeSetup(&argc, argv, &setup) || !rendererSelect(setup.renderer)) {
        std::fputs("render_bench: takes --renderer gl11|gles2, --size WxH, "
                   "--background fixed|fill|none, --painted\n",
                   stderr);
        return 1;
    }
    const RendererKind renderer = setup.renderer;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (chdir(kBuildDir) != 0) {
        std::perror(kBuildDir);
        return 1;
    }
    if (access(kBackgroundFile, R_OK) != 0) {
        std::fprintf(stderr, "render_bench: no %s in %s: build the pictures target first\n",
                     kBackgroundFile, kBuildDir);
        return 1;
    }
    if (!platformInit(PlatformVideo::Offscreen) ||
        !platformCreateWindow("render_bench", setup.width, setup.height,
                              renderer == RendererKind::Gles2 ? PlatformGLFlavour::Es2
                                                              : PlatformGLFlavour::Compatibility)) {
        std::fputs("render_bench: no offscreen GL context\n", stderr);
        return 1;
    }
    backgroundSetMode(setup.background);
    setupGLWithSeed(kSeed);
    resizeViewport(setup.width, setup.height);
    if (setup.painted) {
        // What the painter made does not change the cost of showing it: any pixels will do.
        std::vector<uint8_t> rgb(static_cast<size_t>(setup.width) * setup.height * 3);
        for (size_t i = 0; i < rgb.size(); i++) {
            rgb[i] = static_cast<uint8_t>(i * 7);
        }
        backgroundSetExact(rgb.data(), setup.width, setup.height);
    }
    benchmark::AddCustomContext("renderer", renderer == RendererKind::Gles2 ? "gles2" : "gl11");
    benchmark::AddCustomContext("gl_renderer",
                                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter.seconds);

    worldReset();
    platformShutdown();
    benchmark::Shutdown();
    return 0;
}
