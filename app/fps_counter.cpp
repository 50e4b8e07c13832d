// Frames-per-second figure for the on-screen counter.
#include "app/fps_counter.h"

#include <cstdio>

namespace {

constexpr int64_t kWindowNs = 1000000000; // renew the figure once a second
constexpr double kNanosecondsPerSecond = 1e9;

} // namespace

bool fpsCounterTick(FpsCounter* counter, int64_t nowNs) {
    if (!counter->started) {
        counter->started = true;
        counter->windowStartNs = nowNs;
        counter->framesInWindow = 0;
        return false;
    }
    counter->framesInWindow += 1;
    const int64_t elapsed = nowNs - counter->windowStartNs;
    if (elapsed < kWindowNs) {
        return false;
    }
    counter->framesPerSecond =
        counter->framesInWindow * kNanosecondsPerSecond / static_cast<double>(elapsed);
    counter->windowStartNs = nowNs;
    counter->framesInWindow = 0;
    return true;
}

void fpsCounterFormat(const FpsCounter& counter, char* text, int size) {
    if (counter.framesPerSecond == 0.0) {
        std::snprintf(text, static_cast<size_t>(size), "-- fps");
    } else {
        std::snprintf(text, static_cast<size_t>(size), "%.1f fps", counter.framesPerSecond);
    }
}
