// The demo's real start-up and frame loop in a window: time to the first frame, frame rate, and
// how fast simulated time runs against real time.
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/exit_handlers.h"
#include "app/frame_pacer.h"
#include "app/options.h"
#include "app/linux/linux_window.h"
#include "platform/platform.h"
#include "render/error_report.h"
#include "render/frame.h"
#include "render/gl.h"

namespace {

constexpr const char* kUsage =
    "usage: startup_bench [--started-at EPOCH_NANOSECONDS] [--seconds S] "
    "[-- DEMO OPTIONS]\n";
constexpr double kDefaultRunSeconds = 10.0;
constexpr double kNanosecondsPerSecond = 1e9;
constexpr int64_t kNanosecondsPerSecondInt = 1000000000;
constexpr double kFirstFrameTarget = 0.3; // seconds
constexpr double kSpeedTolerance = 0.02;  // relative to kTimeScale
constexpr double kPercent = 100.0;
constexpr double kMillisecondsPerSecond = 1000.0;
constexpr double kLateShare = 0.1; // the part of the run, at its end, timed on its own
// starttime is the 22nd field of /proc/self/stat, the 20th after the command name's ')'.
constexpr int kStartTimeFieldAfterName = 20;

struct BenchOptions {
    double startedAtEpoch = -1.0; // seconds since 1970 on CLOCK_REALTIME; negative when absent
    double runSeconds = kDefaultRunSeconds;
    DemoOptions demo;
};

bool parsePositive(const char* text, double* out) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value) || value <= 0.0) {
        return false;
    }
    *out = value;
    return true;
}

// The bench's own flags, then after "--" the demo's, parsed as the demo parses them.
bool parseOptions(int argc, char** argv, BenchOptions* options) {
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--") == 0) {
            argv[i] = argv[0]; // the demo's parser skips its first argument
            return parseDemoOptions(argc - i, argv + i, nullptr, &options->demo) ==
                   OptionsVerdict::Run;
        }
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        double number = 0.0;
        if (std::strcmp(argv[i], "--started-at") == 0 && parsePositive(value, &number)) {
            options->startedAtEpoch = number / kNanosecondsPerSecond;
        } else if (std::strcmp(argv[i], "--seconds") == 0 && parsePositive(value, &number)) {
            options->runSeconds = number;
        } else {
            return false;
        }
        i++;
    }
    return true;
}

double readClock(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) +
           static_cast<double>(now.tv_nsec) / kNanosecondsPerSecond;
}

// Seconds since this process started, from the kernel's start time in clock ticks since boot;
// negative when /proc cannot tell.
double secondsSinceProcessStart() {
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return -1.0;
    }
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    for (int i = 0; i < kStartTimeFieldAfterName && fields >> field; i++) {
    }
    const double ticks = std::strtod(field.c_str(), nullptr);
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    return readClock(CLOCK_BOOTTIME) - ticks / ticksPerSecond;
}

// The start-up's windowPaint: its start, where simulated time begins too, and its length.
double firstPaintStart = 0.0;
double firstPaintSeconds = 0.0;

// main.cpp's start-up, stopping after the first frame has been swapped. False on failure,
// already reported.
bool startDemo(const DemoOptions& demo) {
    installExitHandlers();
    if (!platformInit(demo.mode == WindowMode::Saver ? PlatformVideo::Hosted
                                                     : PlatformVideo::Display)) {
        reportError("Could not register window");
        return false;
    }
    if (!windowCreate(demo)) {
        reportError("Could not create window");
        return false;
    }
    platformShowWindow();
    if (demo.mode == WindowMode::SwitchedFullScreen &&
        !platformEnterDisplayMode(kScreenWidth, kScreenHeight)) {
        reportError("Could not change display settings");
        return false;
    }
    exitOnPendingSignal();
    firstPaintStart = readClock(CLOCK_MONOTONIC);
    windowPaint();
    firstPaintSeconds = readClock(CLOCK_MONOTONIC) - firstPaintStart;
    return true;
}

struct LoopFigures {
    long frames = 0;
    double realSeconds = 0.0;
    double simulatedSeconds = 0.0; // the sum of every frame's dt
    // The same sums over the run's last tenth: the running mean behind dt remembers the slow
    // first frame for a long time, so the late speed shows where it is heading.
    double lateRealSeconds = 0.0;
    double lateSimulatedSeconds = 0.0;
    double end = 0.0; // CLOCK_MONOTONIC seconds after the last frame
};

// main.cpp's message loop for the given real time; after each frame, the dt that frame used
// is kTimeScale times the mean it had just updated.
LoopFigures runFramesFor(double seconds, uint32_t maxFps) {
    LoopFigures figures;
    FramePacer pacer;
    framePacerInit(&pacer, maxFps, platformVsyncActive());
    const double start = readClock(CLOCK_MONOTONIC);
    const double lateStart = start + seconds * (1.0 - kLateShare);
    double now = start;
    while (now - start < seconds && windowServeEvents()) {
        const int64_t delay = framePacerDelay(
            &pacer, static_cast<int64_t>(readClock(CLOCK_MONOTONIC) * kNanosecondsPerSecond));
        if (delay > 0) {
            const timespec pause{static_cast<time_t>(delay / kNanosecondsPerSecondInt),
                                 static_cast<long>(delay % kNanosecondsPerSecondInt)};
            nanosleep(&pause, nullptr);
        }
        windowPaint();
        const double frameStart = now;
        figures.simulatedSeconds += kTimeScale * meanFrameTime;
        figures.frames++;
        now = readClock(CLOCK_MONOTONIC);
        if (frameStart >= lateStart) {
            figures.lateSimulatedSeconds += kTimeScale * meanFrameTime;
            figures.lateRealSeconds += now - frameStart;
        }
    }
    figures.realSeconds = now - start;
    figures.end = now;
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    BenchOptions options;
    if (!parseOptions(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return kUsageStatus;
    }
    const double startupStart = readClock(CLOCK_MONOTONIC);
    if (!startDemo(options.demo)) {
        return 1;
    }
    const double startupEnd = readClock(CLOCK_MONOTONIC);
    const double sinceProcessStart = secondsSinceProcessStart();
    const double sinceScriptStamp =
        options.startedAtEpoch > 0.0 ? readClock(CLOCK_REALTIME) - options.startedAtEpoch : -1.0;
    const double firstFrameDt = kTimeScale * meanFrameTime;
    if (options.demo.mode == WindowMode::SwitchedFullScreen ||
        options.demo.mode == WindowMode::Desktop) {
        platformHideCursor();
    }
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));

    const double cpuBefore = readClock(CLOCK_PROCESS_CPUTIME_ID);
    const uint32_t maxFps = effectiveMaxFps(options.demo, platformRefreshRate());
    LoopFigures loop = runFramesFor(options.runSeconds, maxFps);
    const double cpuSeconds = readClock(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore;
    // The first frame's clock reading starts the frame timing, so real time starts with it.
    const double speed = (loop.simulatedSeconds + firstFrameDt) / (loop.end - firstPaintStart);
    teardownGraphics();

    std::printf("gl renderer              %s\n", renderer != nullptr ? renderer : "?");
    std::printf("time to first frame      %.3f s   (from process start, /proc; target < %.1f s)\n",
                sinceProcessStart, kFirstFrameTarget);
    if (sinceScriptStamp >= 0.0) {
        std::printf("time to first frame      %.3f s   (from the caller's timestamp)\n",
                    sinceScriptStamp);
    }
    std::printf("start-up calls alone     %.3f s   (platformInit to first swap)\n",
                startupEnd - startupStart);
    std::printf("first frame alone        %.3f s\n", firstPaintSeconds);
    std::printf("frames                   %ld in %.3f s\n", loop.frames, loop.realSeconds);
    std::printf("frames per second        %.1f\n",
                static_cast<double>(loop.frames) / loop.realSeconds);
    std::printf("cpu per second           %.3f s   (%.3f ms of cpu per frame; frame cap %u)\n",
                cpuSeconds / loop.realSeconds,
                cpuSeconds / static_cast<double>(loop.frames) * kMillisecondsPerSecond, maxFps);
    std::printf(
        "simulation speed         %.4f   (sum of dt / real time; %.1f within %.0f %%: %s)\n", speed,
        kTimeScale, kSpeedTolerance * kPercent,
        std::fabs(speed / kTimeScale - 1.0) <= kSpeedTolerance ? "yes" : "no");
    std::printf("late simulation speed    %.4f   (over the last %.0f %% of the run)\n",
                loop.lateSimulatedSeconds / loop.lateRealSeconds, kLateShare * kPercent);
    return 0;
}
